#include "tfrm_main.h"

#include "core/document_copy.h"
#include "core/invoice_date_span.h"
#include "core/register_tooltip.h"
#include "core/work_session.h"
#include "data/database_location.h"
#include "data/db_error.h"
#include "data/tdm.h"
#include "page_icons.h"
#include "printing/document_ids.h"
#include "printing/print_job.h"
#include "program_version.h"
#include "refbooks/tfrm_const.h"
#include "refbooks/tfrm_knp.h"
#include "refbooks/tfrm_nomenkl.h"
#include "refbooks/tfrm_org.h"
#include "tfrm_about.h"
#include "tfrm_oplaty.h"
#include "ui/application_title.h"
#include "ui/cash_receipt_payment.h"
#include "ui/command.h"
#include "ui/dataset_commands.h"
#include "ui/date_edit.h"
#include "ui/db_grid.h"
#include "ui/id_marks.h"
#include "ui/overdue_rows.h"
#include "ui/prompt_service.h"
#include "ui/radio_group.h"
#include "ui/role_limits.h"
#include "ui/row_tooltips.h"
#include "ui_tfrm_main.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStyle>

#include <algorithm>

namespace {

const QString kTitleSuffix = u' ' + zarnik::programTitle();
const QString kArchive = QStringLiteral("KODARCHIV");
// Off until the user turns it on: a paper form is signed and stamped by hand.
const QString kStampsSetting = QStringLiteral("printing/stampAndSignatures");

// The printing commands and the form each prints.
struct PrintButton {
    const char *name;
    PrintForm form;
};
const PrintButton kPrintButtons[] = {
    {"btnSch", PrintForm::Invoice},         {"btnSchFac", PrintForm::VatInvoice},
    {"btnActVyp", PrintForm::Act},          {"btnRasxNakl", PrintForm::Waybill},
    {"btnPrixKas", PrintForm::CashReceipt}, {"btnDov", PrintForm::PowerOfAttorney},
    {"btnPlat", PrintForm::PaymentOrder}};

QSettings programSettings()
{
    return QSettings(database::settingsOrganisation(), database::settingsApplication());
}

} // namespace

TfrmMain::TfrmMain(WorkSession &session, PromptService &prompts, QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TfrmMain>()), m_session(session),
      m_dm(session.dm()), m_prompts(prompts)
{
    ui->setupUi(this);
    setWindowTitle(zarnik::programTitle());
    ui->BitBtn1->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    for (QPushButton *landscape : {ui->btnActKn, ui->btnRasxKn})
        landscape->setIcon(landscapePageIcon());
    for (QPushButton *portrait : {ui->btnActAlb, ui->btnRasxAlb}) {
        portrait->setIcon(portraitPageIcon());
        portrait->hide();
    }
    ui->btnVernut->hide();
    ui->rgrTipDocs->setItemIndex(0);
    ui->rgrOplata->setItemIndex(int(PaymentFilter::All));
    // The database's own commands (where it is, its copies and checks) gather in one menu,
    // beside the reference books rather than among the document commands.
    m_serviceMenu = new QMenu(ui->btnService);
    m_serviceMenu->setObjectName(QStringLiteral("serviceMenu"));
    ui->btnService->setMenu(m_serviceMenu);
    connect(m_serviceMenu, &QMenu::aboutToShow, this, &TfrmMain::limitServiceCommandsToRole);
    ui->chkPechatPodpisi->setChecked(programSettings().value(kStampsSetting, false).toBool());

    ui->dbgrSchets->setPrompts(m_prompts);
    ui->dbgrSchets->setDataset(m_dm.DSetDocs,
                               {{QStringLiteral("NUMSCH"), QStringLiteral("№счета"), 50},
                                {QStringLiteral("NUMSCHF"), QStringLiteral("№ сч-ф"), 50},
                                {QStringLiteral("NUMACT"), QStringLiteral("№ акта"), 50},
                                {QStringLiteral("NUMNAKL"), QStringLiteral("№ накл"), 50},
                                {QStringLiteral("NUMPRIX"), QStringLiteral("№ прих"), 50},
                                {QStringLiteral("NUMDOV"), QStringLiteral("№ дов"), 50},
                                {QStringLiteral("NUMPLAT"), QStringLiteral("№ плат"), 50},
                                {QStringLiteral("NAMEORG"), {}, 200},
                                {QStringLiteral("DATASCH"), {}, 70},
                                {QStringLiteral("OPLACHENO"), {}, 80},
                                {QStringLiteral("STATUSTEXT"), {}, 125},
                                {QStringLiteral("DATASCHF"), QStringLiteral("Дата сч-ф"), 70},
                                {QStringLiteral("DATAACT"), QStringLiteral("Дата акта"), 70},
                                {QStringLiteral("DATANAKL"), QStringLiteral("Дата накл"), 70},
                                {QStringLiteral("DATAPRIX"), QStringLiteral("Дата прих"), 70},
                                {QStringLiteral("DATADOV"), QStringLiteral("Дата дов"), 70},
                                {QStringLiteral("DATAPLAT"), {}, 70}});
    showOverdueRowsInRed(*ui->dbgrSchets->datasetModel());
    // What the columns do not show (who made and changed the document, when it was sent by
    // e-mail) is read for the row the pointer rests on only, so painting the register never
    // asks the database.
    setRowToolTips(ui->dbgrSchets, [this](int row) {
        const int kod = m_dm.DSetDocs->fieldIndex(QStringLiteral("KOD"));
        if (kod < 0)
            return QString();
        return documentToolTipLines(m_dm.TsnRW, m_dm.DSetDocs->valueAt(row, kod).toLongLong())
            .join(u'\n');
    });
    // The payments of a document are its most frequent errand: also at hand on its row.
    m_paymentsAction = new QAction(ui->btnOplaty->text(), ui->dbgrSchets);
    m_paymentsAction->setObjectName(QStringLiteral("actOplaty"));
    connect(m_paymentsAction, &QAction::triggered, ui->btnOplaty, &QPushButton::click);
    ui->dbgrSchets->addAction(m_paymentsAction);
    ui->dbgrSchets->setContextMenuPolicy(Qt::ActionsContextMenu);
    ui->DBGrid1->setPrompts(m_prompts);
    ui->DBGrid1->setDataset(m_dm.DSetDetail);

    m_documentCommands = {ui->btnEdit, ui->btnVernut, ui->btnUse, ui->btnDel};
    for (const PrintButton &b : kPrintButtons)
        m_documentCommands.push_back(findChild<QPushButton *>(QLatin1String(b.name)));
    m_documentCommands.push_back(ui->btnVArchiv);
    m_documentCommands.push_back(ui->btnOplaty);
    connectCommands();
    connect(&m_session, &WorkSession::reopened, this, &TfrmMain::dataReopened);

    // Restored from maximised, the window stands in the middle of the screen.
    resize(1000, 700);
    move(screen()->availableGeometry().center() - rect().center());

    arrangeCommands(RegisterView::Current);
    setDocumentEditor({});
    btnClearClick();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::connectCommands()
{
    connectCommand(ui->rgrTipDocs, &RadioGroup::itemClicked, this, m_prompts,
                   [this] { rgrTipDocsClick(); });
    connectCommand(ui->rgrOplata, &RadioGroup::itemClicked, this, m_prompts,
                   [this] { rgrOplataClick(); });
    connectCommand(ui->btnZapros, this, m_prompts, [this] { btnZaprosClick(); });
    // Enter in the client box asks, as in a search box.
    connect(ui->edOrg, &QLineEdit::returnPressed, ui->btnZapros, &QPushButton::click);
    connectCommand(ui->btnClear, this, m_prompts, [this] { btnClearClick(); });
    connectCommand(ui->btnRekviz, this, m_prompts, [this] { btnRekvizClick(); });
    connectCommand(ui->BitBtn1, this, m_prompts, [this] { BitBtn1Click(); });
    connectCommand(ui->btnTovUsl, this, m_prompts, [this] { btnTovUslClick(); });
    connectCommand(ui->btnOrg, this, m_prompts, [this] { btnOrgClick(); });
    connectCommand(ui->BitBtn3, this, m_prompts, [this] { BitBtn3Click(); });
    connectCommand(ui->btnZapOrg, this, m_prompts, [this] { btnZapOrgClick(); });
    connectCommand(ui->dbgrSchets, &DbGrid::titleClicked, this, m_prompts,
                   [this](int column) { dbgrSchetsTitleClick(column); });
    connectCommand(ui->dbgrSchets, &DbGrid::gridDoubleClicked, this, m_prompts,
                   [this] { dbgrSchetsDblClick(); });
    for (const PrintButton &b : kPrintButtons) {
        QPushButton *button = findChild<QPushButton *>(QLatin1String(b.name));
        connectCommand(button, this, m_prompts, [this, button] { btnSchClick(button); });
    }
    connect(ui->chkPechatPodpisi, &QCheckBox::toggled, this,
            [](bool on) { programSettings().setValue(kStampsSetting, on); });
    connectCommand(ui->btnAdd, this, m_prompts, [this] { btnAddClick(); });
    connectCommand(ui->btnEdit, this, m_prompts, [this] { btnEditClick(); });
    connectCommand(ui->btnUse, this, m_prompts, [this] { btnUseClick(); });
    connectCommand(ui->btnDel, this, m_prompts, [this] { btnDelClick(); });
    connectCommand(ui->btnVArchiv, this, m_prompts, [this] { btnVArchivClick(); });
    connectCommand(ui->btnVernut, this, m_prompts, [this] { btnVernutClick(); });
    connectCommand(ui->btnOplaty, this, m_prompts, [this] { btnOplatyClick(); });
    connectCommand(ui->btnActKn, this, m_prompts, [this] { btnActKnClick(); });
    connectCommand(ui->btnActAlb, this, m_prompts, [this] { btnActAlbClick(); });
    connectCommand(ui->btnRasxKn, this, m_prompts, [this] { btnRasxKnClick(); });
    connectCommand(ui->btnRasxAlb, this, m_prompts, [this] { btnRasxAlbClick(); });
    connectCommand(ui->btnClose, this, m_prompts, [this] { btnCloseClick(); });
}

void TfrmMain::setDocumentEditor(DocumentEditor editor)
{
    m_editor = std::move(editor);
    ui->btnAdd->setEnabled(bool(m_editor));
    enableDocumentCommands();
}

RegisterView TfrmMain::view() const
{
    return RegisterView(ui->rgrTipDocs->itemIndex());
}

PaymentFilter TfrmMain::paymentFilter() const
{
    return PaymentFilter(ui->rgrOplata->itemIndex());
}

void TfrmMain::dataReopened()
{
    limitToRole();
    enableDocumentCommands();
    const QString title = m_dm.DSetRekvizity->asString(QStringLiteral("NAMEORG")) + kTitleSuffix;
    setWindowTitle(title);
    setApplicationTitle(title);
}

void TfrmMain::limitToRole()
{
    // Another database, opened from the connection window, may come with another role.
    const QString change = roleRefusal(m_dm.role(), RoleWork::Change);
    for (QPushButton *button : {ui->btnAdd, ui->btnEdit, ui->btnUse, ui->btnVArchiv, ui->btnVernut})
        setRoleLimit(button, change);
    setRoleLimit(ui->btnDel, roleRefusal(m_dm.role(), RoleWork::DeleteDocuments));
}

void TfrmMain::limitServiceCommandsToRole()
{
    // The commands that store what they read: a statement's payments, a message sent.
    const QString change = roleRefusal(m_dm.role(), RoleWork::Change);
    for (const char *name : {"actVypiska", "actSendMail"}) {
        if (auto *action = m_serviceMenu->findChild<QAction *>(QLatin1String(name)))
            setRoleLimit(action, change);
    }
}

void TfrmMain::enableDocumentCommands()
{
    const bool listed = m_dm.DSetDocs->isActive() && !m_dm.DSetDocs->isEmpty();
    for (QPushButton *button : m_documentCommands) {
        const bool needsEditor = button == ui->btnEdit || button == ui->btnUse;
        button->setEnabled(listed && (!needsEditor || m_editor));
    }
    m_paymentsAction->setEnabled(listed);
}

void TfrmMain::arrangeCommands(RegisterView view)
{
    const bool current = view == RegisterView::Current;
    const bool archived = view == RegisterView::Archived;
    ui->btnAdd->setVisible(current);
    ui->btnEdit->setVisible(!archived);
    ui->btnUse->setVisible(true);
    ui->btnDel->setVisible(!archived);
    ui->btnVArchiv->setVisible(current);
    // Restoring takes the place of editing, which the archive does not offer.
    ui->btnVernut->setGeometry(ui->btnEdit->geometry());
    ui->btnVernut->setVisible(archived);
}

void TfrmMain::replaceDocumentsStatement(const SelectStatement &statement)
{
    // The session's refresh, which follows, opens the register: opening it here as well would read
    // its first rows twice.
    Dataset &docs = *m_dm.DSetDocs;
    if (docs.isEditing())
        docs.post();
    docs.close();
    docs.setSelectSql(statement.sql, statement.parameters);
}

void TfrmMain::showView(RegisterView view, std::optional<qint64> kod)
{
    ui->rgrTipDocs->setItemIndex(int(view));
    replaceDocumentsStatement(viewStatement(view, paymentFilter()));
    arrangeCommands(view);
    if (kod)
        m_session.refresh(*kod);
    else
        m_session.refresh();
}

void TfrmMain::rgrTipDocsClick()
{
    showView(view());
}

void TfrmMain::rgrOplataClick()
{
    showView(view());
}

void TfrmMain::btnZaprosClick()
{
    replaceDocumentsStatement(queryStatement(view(), ui->edOrg->text(), ui->date1->date(),
                                             ui->date2->date(), paymentFilter()));
    m_session.refresh();
}

void TfrmMain::sortBy(const QString &column)
{
    const SelectStatement statement =
        sortStatement(view(), ui->edOrg->text(), column, paymentFilter());
    reopenAtSameRow(*m_dm.DSetDocs, statement.sql, statement.parameters);
}

void TfrmMain::dbgrSchetsTitleClick(int column)
{
    sortBy(ui->dbgrSchets->fieldName(column));
}

void TfrmMain::btnClearClick()
{
    Dataset *docs = m_dm.DSetDocs;
    if (docs->isEditing())
        docs->post();
    ui->edOrg->clear();
    const InvoiceDateSpan span = invoiceDateSpan(m_dm.TsnRW, view(), QString(), paymentFilter());
    ui->date1->setDate(span.first.date());
    ui->date2->setDate(span.last.date());
    // In number order, resting on the earliest document.
    replaceDocumentsStatement(
        sortStatement(view(), QString(), QStringLiteral("NUMSCH"), paymentFilter()));
    if (span.firstKod != 0)
        m_session.refresh(span.firstKod);
    else
        m_session.refresh();
}

void TfrmMain::btnAddClick()
{
    if (!m_editor)
        return;
    btnClearClick();
    if (m_editor(this, EditorMode::New) == QDialog::Accepted)
        m_dm.DSetDocs->post();
    else
        m_dm.DSetDocs->cancel();
    m_session.refresh();
}

void TfrmMain::btnEditClick()
{
    if (!m_editor)
        return;
    // Another user may have changed the document since the register was read: the editor
    // starts from that change, so that storing it does not undo it.
    m_dm.DSetDocs->refreshCurrentRow();
    if (m_editor(this, EditorMode::Current) != QDialog::Accepted) {
        m_dm.DSetDocs->cancel();
        return;
    }
    if (m_dm.DSetDocs->isEditing())
        m_dm.DSetDocs->post();
    // Committed at once, so that the document is not held from the other users until the
    // next query, and they see the change.
    m_session.refresh();
}

void TfrmMain::btnUseClick()
{
    if (!m_editor || !m_prompts.confirm(this, QStringLiteral("Скопировать выделенную запись?")))
        return;
    const qint64 copy = copyCurrentDocument(m_dm);
    if (m_editor(this, EditorMode::Copy) == QDialog::Accepted) {
        m_dm.DSetDocs->post();
        showView(RegisterView::Current, copy);
    } else {
        m_dm.DSetDocs->cancel();
    }
}

void TfrmMain::btnDelClick()
{
    confirmDelete(m_prompts, this, *m_dm.DSetDocs, [this] { m_dm.deleteDocument(); });
    m_session.refresh();
}

void TfrmMain::btnVArchivClick()
{
    moveDocument(RegisterView::Archived,
                 QStringLiteral("Вы уверены что хотите переместить выделенную запись в архив?"));
}

void TfrmMain::btnVernutClick()
{
    moveDocument(
        RegisterView::Current,
        QStringLiteral("Вы уверены что хотите вернуть выделенную запись в текущие записи?"));
}

void TfrmMain::moveDocument(RegisterView to, const QString &question)
{
    if (!m_prompts.confirm(this, question))
        return;
    Dataset *docs = m_dm.DSetDocs;
    docs->edit();
    docs->setValue(kArchive, to == RegisterView::Archived ? 1 : 0);
    docs->post();
    showView(to, docs->asInteger(QStringLiteral("KOD")));
}

void TfrmMain::btnOplatyClick()
{
    Dataset &docs = *m_dm.DSetDocs;
    if (docs.isEditing())
        docs.post();
    const qint64 kod = docs.asInteger(QStringLiteral("KOD"));
    {
        TfrmOplaty payments(m_dm, m_prompts, int(kod), this);
        payments.setWindowTitle(QStringLiteral("Оплаты счета № %1 — %2")
                                    .arg(docs.displayText(QStringLiteral("NUMSCH")),
                                         docs.displayText(QStringLiteral("NAMEORG"))));
        payments.setDialogRunner(m_runDialog);
        m_runDialog(payments);
    }
    // What was paid and the status of the document as stored now.
    m_session.refresh(kod);
}

void TfrmMain::dbgrSchetsDblClick()
{
    if (view() == RegisterView::Archived)
        return;
    // As the command it stands for: not where the role may not change documents.
    if (m_dm.DSetDocs->isEmpty()) {
        if (ui->btnAdd->isEnabled())
            btnAddClick();
    } else if (ui->btnEdit->isEnabled()) {
        btnEditClick();
    }
}

void TfrmMain::btnRekvizClick()
{
    TfrmConst requisites(m_dm, m_prompts, this);
    m_runDialog(requisites);
    m_session.refresh();
}

RefbookContext TfrmMain::refbookContext()
{
    RefbookContext context{m_dm, m_prompts, m_runDialog, m_showReport};
    context.readImages = formImagesReader();
    return context;
}

FormImagesReader TfrmMain::formImagesReader()
{
    if (!ui->chkPechatPodpisi->isChecked())
        return {};
    return [this](const QSet<QString> &names) {
        FormImages stored = readFormImages(m_dm.ZNDB, names);
        if (!stored.problem.isEmpty())
            m_prompts.inform(this, stored.problem);
        return stored.images;
    };
}

void TfrmMain::btnTovUslClick()
{
    {
        TfrmNomenkl goods(refbookContext(), this);
        m_runDialog(goods);
    }
    m_session.refresh();
}

void TfrmMain::btnOrgClick()
{
    {
        TfrmOrg clients(refbookContext(), this);
        m_runDialog(clients);
    }
    m_session.refresh();
}

void TfrmMain::BitBtn3Click()
{
    {
        TfrmKNP codes(refbookContext(), this);
        m_runDialog(codes);
    }
    m_session.refresh();
}

void TfrmMain::btnZapOrgClick()
{
    TfrmOrg clients(refbookContext(), this, ClientPick::RegisterFilter);
    clients.setClientFilterBox(ui->edOrg);
    m_runDialog(clients);
}

void TfrmMain::BitBtn1Click()
{
    if (m_about) {
        m_runDialog(*m_about);
    } else {
        TfrmAbout about(this);
        m_runDialog(about);
    }
    m_session.refresh();
}

void TfrmMain::btnCloseClick()
{
    close();
}

void TfrmMain::btnSchClick(QObject *sender)
{
    const auto button = std::find_if(
        std::begin(kPrintButtons), std::end(kPrintButtons),
        [sender](const PrintButton &b) { return sender->objectName() == QLatin1String(b.name); });
    if (button == std::end(kPrintButtons))
        return;
    if (!m_showReport) {
        reportError(m_prompts, this, QStringLiteral("Просмотр отчетов недоступен"));
        return;
    }
    if (!confirmDespiteIdProblems(m_prompts, this, documentIdProblems(m_dm),
                                  QStringLiteral("Печатать всё равно?")))
        return;
    const QString problem =
        printCurrentDocument(m_dm, button->form, !ui->btnActAlb->isHidden(),
                             !ui->btnRasxAlb->isHidden(), formImagesReader(), m_showReport,
                             [this](const QString &warning) { m_prompts.inform(this, warning); });
    if (!problem.isEmpty()) {
        reportError(m_prompts, this, problem);
        return;
    }
    if (button->form == PrintForm::CashReceipt &&
        roleRefusal(m_dm.role(), RoleWork::Change).isEmpty())
        offerPaymentAfterCashReceipt();
}

void TfrmMain::offerPaymentAfterCashReceipt()
{
    const qint64 kod = m_dm.DSetDocs->asInteger(QStringLiteral("KOD"));
    try {
        if (offerCashReceiptPayment(this, m_dm, m_prompts))
            m_session.refresh(kod);
    } catch (const DbError &e) {
        reportError(m_prompts, this, e.message());
    }
}

void TfrmMain::btnActKnClick()
{
    ui->btnActKn->hide();
    ui->btnActAlb->show();
}

void TfrmMain::btnActAlbClick()
{
    ui->btnActAlb->hide();
    ui->btnActKn->show();
}

void TfrmMain::btnRasxKnClick()
{
    ui->btnRasxKn->hide();
    ui->btnRasxAlb->show();
}

void TfrmMain::btnRasxAlbClick()
{
    ui->btnRasxAlb->hide();
    ui->btnRasxKn->show();
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    FormClose();
    QMainWindow::closeEvent(event);
    Q_EMIT closed();
}

void TfrmMain::FormClose()
{
    try {
        m_session.commit();
    } catch (const DbError &e) {
        m_prompts.error(this, e.message(), applicationTitle());
    }
}
