#include "tfrm_schet.h"

#include "core/auto_number.h"
#include "core/number_check.h"
#include "data/date_time.h"
#include "data/db_error.h"
#include "data/document_audit.h"
#include "data/payments.h"
#include "data/tdm.h"
#include "mail_sendings_list.h"
#include "ui/command.h"
#include "ui/dataset_commands.h"
#include "ui/date_edit.h"
#include "ui/db_grid.h"
#include "ui/dialog_centring.h"
#include "ui/field_links.h"
#include "ui/prompt_service.h"
#include "ui_tfrm_schet.h"

#include <QCheckBox>
#include <QLabel>
#include <QShowEvent>
#include <QSignalBlocker>

namespace {

const QString kPaspSeparator = QStringLiteral("$|$");
constexpr int kPaspWidth = 256;
constexpr int kInvoicePage = 1;

// The line columns that only the VAT invoice needs.
const char *const kVatColumns[] = {"CENASUMBEZNDS", "STNDS", "SUMNDS", "STAKCIZ", "SUMAKCIZ"};

const struct {
    const char *button;
    NumberKind kind;
} kNumberButtons[] = {
    {"btnNumSch", NumberInvoice},       {"btnNumSchF", NumberVatInvoice},
    {"btnNumAct", NumberAct},           {"btnNumNakl", NumberWaybill},
    {"btnNumPrix", NumberCashReceipt},  {"btnNumDov", NumberPowerOfAttorney},
    {"btnNumPlat", NumberPaymentOrder},
};

const char *const kClientButtons[] = {"btnOrg",       "SpeedButton11", "SpeedButton14",
                                      "SpeedButton8", "SpeedButton9",  "SpeedButton1",
                                      "SpeedButton3"};
const char *const kGroundButtons[] = {"btnOsn", "SpeedButton12", "SpeedButton15", "SpeedButton7",
                                      "SpeedButton13"};
const char *const kKnpButtons[] = {"btnKNP", "btnKNP2"};

// Buttons shaped tabs, as tall as the editor's tab strip has always been.
const QString kTabStyle = QStringLiteral(
    "QTabWidget::pane { border: 1px solid palette(mid); top: -1px; }"
    "QTabBar::tab { height: 40px; padding: 0 6px; margin: 0 2px 3px 0;"
    " border: 1px solid palette(dark); border-radius: 2px; background: palette(button); }"
    "QTabBar::tab:selected { background: palette(midlight); border: 2px inset palette(dark); }");

} // namespace

TfrmSchet::TfrmSchet(TDM &dm, PromptService &prompts, DocumentPickers pickers, EditorMode mode,
                     QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmSchet>()), m_dm(dm), m_prompts(prompts),
      m_pickers(std::move(pickers)), m_mode(mode),
      m_links(new FieldLinks(dm.DSetDocs, prompts, this))
{
    ui->setupUi(this);
    // The face the pages were laid out for: in it the seven tabs fit side by side.
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    ui->pgCtrl->setStyleSheet(kTabStyle);
    ui->pgCtrl->setCurrentIndex(0);
    centreOnParentWindow(*this);

    // Every box named db<COLUMN>_<page> edits that column of the document.
    for (QLineEdit *box : findChildren<QLineEdit *>()) {
        const QString name = box->objectName();
        if (name.startsWith(QLatin1String("db")))
            m_links->bind(box, name.mid(2, name.lastIndexOf(QLatin1Char('_')) - 2));
    }
    // The order in which the pickers are written into the record: the payment order's
    // value date has the last word on DATADOV, though the two always agree.
    m_dates = {{ui->dateSchet, QStringLiteral("DATASCH")},
               {ui->dateSchetFac, QStringLiteral("DATASCHF")},
               {ui->dateAct, QStringLiteral("DATAACT")},
               {ui->dateRasx, QStringLiteral("DATANAKL")},
               {ui->datePrix, QStringLiteral("DATAPRIX")},
               {ui->dateDover, QStringLiteral("DATADOV")},
               {ui->dateDeistv, QStringLiteral("DEISTVDO")},
               {ui->datePlat, QStringLiteral("DATAPLAT")},
               {ui->datevalut_dov, QStringLiteral("DATADOV")}};

    ui->DBGrid1->setPrompts(prompts);
    ui->DBGrid1->setEditable(true);
    ui->DBGrid1->setDataset(dm.DSetDetail);
    // A double click adds or replaces a line; it must not also open the cell under it,
    // whose editor would write the old value back over the replaced line.
    ui->DBGrid1->setEditTriggers(QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::AnyKeyPressed);

    for (const auto &b : kNumberButtons) {
        const QString name = QString::fromLatin1(b.button);
        connect(findChild<QToolButton *>(name), &QToolButton::clicked, this,
                [this, name] { btnNumClick(name); });
    }
    connectPickers();
    // The invoice's page, under its client, tells where the document went by e-mail.
    m_sendings = new MailSendingsList(ui->tbShet);
    auto *sendingsLabel = new QLabel(QStringLiteral("Отправлено по почте:"), ui->tbShet);
    sendingsLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    ui->grid_tbShet->removeItem(ui->sp_tbShet);
    ui->grid_tbShet->addWidget(sendingsLabel, 5, 0);
    ui->grid_tbShet->addWidget(m_sendings, 5, 1);
    ui->grid_tbShet->addItem(ui->sp_tbShet, 6, 0);
    connect(ui->pgCtrl, &QTabWidget::currentChanged, this, [this] {
        command([this] {
            TabSheetShow();
            pgCtrlChange();
        });
    });
    connect(ui->dateDover, &QDateEdit::dateChanged, this, &TfrmSchet::dateDoverChange);
    connect(ui->datevalut_dov, &QDateEdit::dateChanged, this, &TfrmSchet::datevalut_dovChange);
    connect(ui->dateSchet, &QDateEdit::dateChanged, this, &TfrmSchet::dateSchetChange);
    connect(ui->dtpOplatitDo, &QDateEdit::dateChanged, this, &TfrmSchet::dueDateTouched);
    connect(ui->chkOplatitDo, &QCheckBox::toggled, this, [this](bool on) {
        ui->dtpOplatitDo->setEnabled(on);
        dueDateTouched();
    });
    connect(ui->btnAdd, &QPushButton::clicked, this, &TfrmSchet::btnAddClick);
    connect(ui->btnEdit, &QPushButton::clicked, this, &TfrmSchet::btnEditClick);
    connect(ui->btnDel, &QPushButton::clicked, this, &TfrmSchet::btnDelClick);
    connect(ui->DBGrid1, &DbGrid::gridDoubleClicked, this, &TfrmSchet::DBGrid1DblClick);
    connect(ui->btnOk, &QPushButton::clicked, this, &TfrmSchet::btnOkClick);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmSchet::reject);

    FormCreate();
}

TfrmSchet::~TfrmSchet() = default;

void TfrmSchet::connectPickers()
{
    const auto each = [this](const auto &names, bool available, auto slot) {
        for (const char *name : names) {
            auto *button = findChild<QToolButton *>(QString::fromLatin1(name));
            button->setEnabled(available);
            connect(button, &QToolButton::clicked, this, slot);
        }
    };
    each(kClientButtons, bool(m_pickers.client),
         [this] { pickClient(ClientPick::DocumentClient); });
    each(kGroundButtons, bool(m_pickers.ground), [this] { pickGround(); });
    each(kKnpButtons, bool(m_pickers.knp), [this] { pickKnp(); });
    ui->btnKomu->setEnabled(bool(m_pickers.client));
    connect(ui->btnKomu, &QToolButton::clicked, this, &TfrmSchet::btnKomuClick);
    ui->btnAdd->setEnabled(bool(m_pickers.goods));
    ui->btnEdit->setEnabled(bool(m_pickers.goods));
}

std::function<void()> TfrmSchet::typedWork(const std::function<void()> &work, Typed typed)
{
    return [this, &work, typed] {
        // What was typed into a box reaches its field before a command works on the record.
        if (typed == Typed::Take)
            m_links->updateRecord();
        work();
    };
}

bool TfrmSchet::command(const std::function<void()> &work, Typed typed)
{
    return runCommand(m_prompts, this, typedWork(work, typed));
}

bool TfrmSchet::closingCommand(const std::function<void()> &work, Typed typed)
{
    return runClosingCommand(m_prompts, this, typedWork(work, typed));
}

void TfrmSchet::FormCreate()
{
    Dataset *docs = m_dm.DSetDocs;
    if (m_mode == EditorMode::New) {
        const QDate today = datetime::today().date();
        for (const auto &[picker, column] : m_dates)
            picker->setDate(today);
        docs->insert();
    } else {
        for (const auto &[picker, column] : m_dates)
            picker->setDate(docs->asDateTime(column).date());
    }
    if (m_mode == EditorMode::Current) {
        m_numbersAtOpen = documentNumbers(m_dm);
        m_sendings->load(m_dm.TsnRW, int(docs->asInteger(QStringLiteral("KOD"))));
    }
    loadDocumentHalves();
    loadDueDate();
    showAudit();
}

void TfrmSchet::showAudit()
{
    if (m_mode != EditorMode::Current)
        return;
    try {
        const auto audit =
            document_audit::of(m_dm.TsnRW, m_dm.DSetDocs->asInteger(QStringLiteral("KOD")));
        if (audit)
            ui->lblAudit->setText(auditLines(*audit).join(QStringLiteral("; ")));
    } catch (const DbError &) {
        // Without the record (a database not yet upgraded) the document is edited all the same.
    }
}

void TfrmSchet::loadDueDate()
{
    m_termDays = payments::termDays(m_dm.TsnRW);
    if (m_mode == EditorMode::Current) {
        showDueDate(
            payments::dueDate(m_dm.TsnRW, int(m_dm.DSetDocs->asInteger(QStringLiteral("KOD")))));
    } else {
        showDueDate(ui->dateSchet->date().addDays(m_termDays));
        m_dueFollowsInvoiceDate = true;
    }
}

void TfrmSchet::showDueDate(std::optional<QDate> due)
{
    const QSignalBlocker quietDate(ui->dtpOplatitDo);
    const QSignalBlocker quietCheck(ui->chkOplatitDo);
    ui->chkOplatitDo->setChecked(due.has_value());
    ui->dtpOplatitDo->setEnabled(due.has_value());
    ui->dtpOplatitDo->setDate(due.value_or(ui->dateSchet->date().addDays(m_termDays)));
}

std::optional<QDate> TfrmSchet::dueDate() const
{
    if (!ui->chkOplatitDo->isChecked())
        return std::nullopt;
    return ui->dtpOplatitDo->date();
}

void TfrmSchet::dateSchetChange()
{
    if (m_dueFollowsInvoiceDate)
        showDueDate(ui->dateSchet->date().addDays(m_termDays));
}

void TfrmSchet::dueDateTouched()
{
    m_dueFollowsInvoiceDate = false;
}

void TfrmSchet::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown || event->spontaneous())
        return;
    m_shown = true;
    command([this] {
        FormShow();
        TabSheetShow();
    });
}

void TfrmSchet::FormShow()
{
    pgCtrlChange();
    // The pickers hold dates only: what they store is at midnight.
    loadDocumentHalves();
}

void TfrmSchet::loadDocumentHalves()
{
    ui->edKBK->setText(m_dm.DSetDocs->asString(QStringLiteral("KBK")));
    ui->edDocum->setText(m_dm.DSetDocs->asString(QStringLiteral("Docum")));
}

void TfrmSchet::postEditedLine()
{
    if (m_dm.DSetDetail->isEditing())
        m_dm.DSetDetail->post();
}

void TfrmSchet::TabSheetShow()
{
    postEditedLine();
    Dataset *docs = m_dm.DSetDocs;
    ensureEditing(*docs);
    docs->setValue(QStringLiteral("PASPVYD"),
                   (ui->edDocum->text() + kPaspSeparator + ui->edKBK->text()).left(kPaspWidth));
}

void TfrmSchet::pgCtrlChange()
{
    const bool invoice = ui->pgCtrl->currentIndex() == kInvoicePage;
    for (const char *column : kVatColumns)
        m_dm.DSetDetail->setFieldVisible(QString::fromLatin1(column), invoice);
}

void TfrmSchet::dateDoverChange()
{
    if (ui->datevalut_dov->date() != ui->dateDover->date())
        ui->datevalut_dov->setDate(ui->dateDover->date());
}

void TfrmSchet::datevalut_dovChange()
{
    if (ui->dateDover->date() != ui->datevalut_dov->date())
        ui->dateDover->setDate(ui->datevalut_dov->date());
}

void TfrmSchet::btnNumClick(const QString &buttonName)
{
    for (const auto &b : kNumberButtons) {
        if (buttonName == QLatin1String(b.button))
            command([this, kind = b.kind] { AutoNumber(m_dm, kind); });
    }
}

void TfrmSchet::pickClient(ClientPick mode)
{
    command([this, mode] { m_pickers.client(this, mode); });
}

void TfrmSchet::btnKomuClick()
{
    pickClient(ClientPick::AttorneyHolder);
    // The client list wrote the holder's document into PASPVYD; the box shows it.
    loadDocumentHalves();
}

void TfrmSchet::pickGround()
{
    command([this] { m_pickers.ground(this); });
}

void TfrmSchet::pickKnp()
{
    command([this] { m_pickers.knp(this); });
}

void TfrmSchet::openGoods(GoodsPick mode)
{
    if (!m_pickers.goods)
        return;
    postEditedLine();
    m_pickers.goods(this, mode);
}

void TfrmSchet::btnAddClick()
{
    command([this] { openGoods(GoodsPick::AddLine); });
}

void TfrmSchet::btnEditClick()
{
    command([this] { openGoods(GoodsPick::ReplaceItem); });
}

void TfrmSchet::btnDelClick()
{
    command([this] { confirmDelete(m_prompts, this, *m_dm.DSetDetail); });
}

void TfrmSchet::DBGrid1DblClick()
{
    if (m_dm.DSetDetail->isEmpty())
        btnAddClick();
    else
        btnEditClick();
}

void TfrmSchet::btnOkClick()
{
    const bool posted = command([this] {
        postEditedLine();
        Dataset *docs = m_dm.DSetDocs;
        ensureEditing(*docs);
        for (const auto &[picker, column] : m_dates)
            docs->setValue(column, datetime::make(picker->date()));
        // Another user may have stored one of these numbers since the number button gave it.
        storeNumberedAsking(m_dm, m_numbersAtOpen, [this](const NumberClash &clash) {
            return m_prompts.confirm(this, clashQuestion(clash));
        });
        // In the document's transaction: the work session commits both together.
        payments::setDueDate(m_dm.TsnRW, int(docs->asInteger(QStringLiteral("KOD"))), dueDate());
    });
    if (posted)
        accept();
}

bool TfrmSchet::btnCancelClick()
{
    return closingCommand(
        [this] {
            // The lines were stored as they were added; they go with the document, and a
            // copy was stored whole.
            if (m_mode == EditorMode::Copy && !m_documentRemoved) {
                m_dm.deleteDocument();
                m_documentRemoved = true;
            } else if (m_mode == EditorMode::New || m_mode == EditorMode::Copy) {
                m_dm.DSetDetail->removeAll();
            }
        },
        Typed::Drop);
}

void TfrmSchet::reject()
{
    if (btnCancelClick())
        done(Rejected);
}

void TfrmSchet::done(int result)
{
    // Closing returns to the first page, which stores the two halves of PASPVYD once more
    // and hides the VAT columns of the lines again.
    const auto close = [this] {
        if (ui->pgCtrl->currentIndex() != 0) {
            const QSignalBlocker quiet(ui->pgCtrl);
            ui->pgCtrl->setCurrentIndex(0);
            if (!m_documentRemoved)
                TabSheetShow();
        }
        pgCtrlChange();
    };
    // Without "ОК" whatever was typed is dropped with the document's changes.
    if (closingCommand(close, result == Accepted ? Typed::Take : Typed::Drop))
        QDialog::done(result);
}
