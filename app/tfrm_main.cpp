#include "tfrm_main.h"

#include "ui/application_title.h"
#include "ui/command.h"
#include "ui/dataset_commands.h"
#include "ui/date_edit.h"
#include "ui/db_grid.h"
#include "ui/id_marks.h"
#include "ui/prompt_service.h"
#include "ui/radio_group.h"
#include "core/document_copy.h"
#include "core/invoice_date_span.h"
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

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kTitleSuffix = u' ' + zarnik::programTitle();
const QString kConstantsHint = QStringLiteral("Просмотр и изменение констант");
const QString kKod = QStringLiteral("KOD");
const QString kArchive = QStringLiteral("KODARCHIV");
// Off until the user turns it on: a paper form is signed and stamped by hand.
const QString kStampsSetting = QStringLiteral("printing/stampAndSignatures");

// The printing commands and the form each prints.
struct PrintButton {
    const char *name;
    const char *caption;
    QRect geometry;
    PrintForm form;
};
const PrintButton kPrintButtons[] = {
    {"btnSch", "Счет", {6, 185, 140, 33}, PrintForm::Invoice},
    {"btnSchFac", "Счет фактура", {6, 218, 140, 33}, PrintForm::VatInvoice},
    {"btnActVyp", "Акт работ", {6, 251, 107, 33}, PrintForm::Act},
    {"btnRasxNakl", "Расх.накл.", {6, 284, 107, 33}, PrintForm::Waybill},
    {"btnPrixKas", "Прих. кас. ордер", {6, 317, 140, 33}, PrintForm::CashReceipt},
    {"btnDov", "Доверенность", {6, 350, 140, 33}, PrintForm::PowerOfAttorney},
    {"btnPlat", "Плат. поручение", {6, 383, 140, 33}, PrintForm::PaymentOrder}};

QSettings programSettings()
{
    return QSettings(database::settingsOrganisation(), database::settingsApplication());
}

} // namespace

TfrmMain::TfrmMain(TDM &dm, PromptService &prompts, QWidget *parent)
    : QMainWindow(parent), m_dm(dm), m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(zarnik::programTitle());
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8, QFont::Bold));
    setMinimumSize(740, 640);

    auto *client = new QWidget(this);
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(createTopStrip());
    auto *lower = new QHBoxLayout;
    lower->setSpacing(0);
    lower->addWidget(createCentre(), 1);
    lower->addWidget(createCommandColumn());
    layout->addLayout(lower, 1);
    setCentralWidget(client);

    // Restored from maximised, the window stands in the middle of the screen.
    resize(1000, 700);
    move(screen()->availableGeometry().center() - rect().center());

    arrangeCommands(RegisterView::Current);
    setDocumentEditor({});
    btnClearClick();
    RefreshMain();
}

TfrmMain::~TfrmMain()
{
    FormDestroy();
}

QPushButton *TfrmMain::addButton(QWidget *parent, const char *name, const QString &caption,
                                 const QRect &geometry)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    if (geometry.isValid())
        button->setGeometry(geometry);
    return button;
}

QWidget *TfrmMain::createTopStrip()
{
    auto *strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("pnlTop"));
    strip->setFixedHeight(119);
    auto *layout = new QVBoxLayout(strip);
    layout->setContentsMargins(4, 4, 4, 3);
    layout->setSpacing(3);

    auto *books = new QHBoxLayout;
    books->setSpacing(4);
    const struct {
        const char *name;
        const char *caption;
    } bookButtons[] = {{"btnRekviz", "Реквизиты"},
                       {"btnTovUsl", "Товары(услуги)"},
                       {"btnOrg", "Организации"},
                       {"BitBtn3", "Справочник КНП"}};
    for (const auto &b : bookButtons) {
        QPushButton *button = addButton(strip, b.name, QString::fromUtf8(b.caption), {});
        button->setToolTip(kConstantsHint);
        button->setFixedSize(130, 25);
        books->addWidget(button);
    }
    books->addStretch();
    // The database's own commands (where it is, its copies and checks) gather in one menu,
    // beside the reference books rather than among the document commands.
    QPushButton *service = addButton(strip, "btnService", QStringLiteral("Сервис"), {});
    service->setFixedSize(130, 25);
    m_serviceMenu = new QMenu(service);
    m_serviceMenu->setObjectName(QStringLiteral("serviceMenu"));
    service->setMenu(m_serviceMenu);
    books->addWidget(service);
    QPushButton *about = addButton(strip, "BitBtn1", QStringLiteral("О программе"), {});
    about->setFixedSize(130, 25);
    about->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    about->setIconSize(QSize(16, 16));
    books->addWidget(about);
    layout->addLayout(books);

    auto *filters = new QHBoxLayout;
    filters->setSpacing(6);
    m_rgrTipDocs = new RadioGroup(
        QStringLiteral("Показывать документы"),
        {QStringLiteral("Текущие"), QStringLiteral("Архивные"), QStringLiteral("Все записи")}, 1,
        strip);
    m_rgrTipDocs->setObjectName(QStringLiteral("rgrTipDocs"));
    m_rgrTipDocs->setFixedWidth(170);
    m_rgrTipDocs->setItemIndex(0);
    filters->addWidget(m_rgrTipDocs);

    auto *criteria = new QGroupBox(QStringLiteral("Критерии отбора записей"), strip);
    criteria->setObjectName(QStringLiteral("grbCriteria"));
    auto *criteriaLayout = new QHBoxLayout(criteria);
    criteriaLayout->setContentsMargins(6, 2, 6, 4);
    criteriaLayout->setSpacing(6);

    auto *period = new QGroupBox(QStringLiteral("Период по дате счета"), criteria);
    period->setObjectName(QStringLiteral("grbPeriod"));
    auto *periodLayout = new QHBoxLayout(period);
    periodLayout->setContentsMargins(6, 2, 6, 4);
    auto makeDate = [period](const char *name) {
        auto *date = new DateEdit(period);
        date->setObjectName(QString::fromLatin1(name));
        date->setFixedWidth(110);
        return date;
    };
    m_date1 = makeDate("date1");
    m_date2 = makeDate("date2");
    periodLayout->addWidget(new QLabel(QStringLiteral("С:"), period));
    periodLayout->addWidget(m_date1);
    periodLayout->addSpacing(6);
    periodLayout->addWidget(new QLabel(QStringLiteral("По:"), period));
    periodLayout->addWidget(m_date2);
    criteriaLayout->addWidget(period);

    auto *client = new QGroupBox(QStringLiteral("Организация"), criteria);
    client->setObjectName(QStringLiteral("grbOrg"));
    auto *clientLayout = new QHBoxLayout(client);
    clientLayout->setContentsMargins(6, 2, 6, 4);
    clientLayout->setSpacing(2);
    m_edOrg = new QLineEdit(client);
    m_edOrg->setObjectName(QStringLiteral("edOrg"));
    // A longer text can never be part of a client's name.
    m_edOrg->setMaxLength(256);
    clientLayout->addWidget(m_edOrg, 1);
    QPushButton *pick = addButton(client, "btnZapOrg", QStringLiteral("..."), {});
    pick->setFixedSize(23, 23);
    clientLayout->addWidget(pick);
    criteriaLayout->addWidget(client, 1);

    auto *queryButtons = new QVBoxLayout;
    queryButtons->setSpacing(3);
    QPushButton *query = addButton(criteria, "btnZapros", QStringLiteral("Запрос"), {});
    QPushButton *clear = addButton(criteria, "btnClear", QStringLiteral("Очистить"), {});
    for (QPushButton *b : {query, clear}) {
        b->setFixedSize(90, 25);
        queryButtons->addWidget(b);
    }
    criteriaLayout->addLayout(queryButtons);
    filters->addWidget(criteria, 1);
    layout->addLayout(filters, 1);

    connectCommand(m_rgrTipDocs, &RadioGroup::itemClicked, this, m_prompts,
                   [this] { rgrTipDocsClick(); });
    connectCommand(query, this, m_prompts, [this] { btnZaprosClick(); });
    // Enter in the client box asks, as in a search box.
    connect(m_edOrg, &QLineEdit::returnPressed, query, &QPushButton::click);
    connectCommand(clear, this, m_prompts, [this] { btnClearClick(); });
    connectCommand(findChild<QPushButton *>(QStringLiteral("btnRekviz")), this, m_prompts,
                   [this] { btnRekvizClick(); });
    connectCommand(about, this, m_prompts, [this] { BitBtn1Click(); });
    connectCommand(findChild<QPushButton *>(QStringLiteral("btnTovUsl")), this, m_prompts,
                   [this] { btnTovUslClick(); });
    connectCommand(findChild<QPushButton *>(QStringLiteral("btnOrg")), this, m_prompts,
                   [this] { btnOrgClick(); });
    connectCommand(findChild<QPushButton *>(QStringLiteral("BitBtn3")), this, m_prompts,
                   [this] { BitBtn3Click(); });
    connectCommand(pick, this, m_prompts, [this] { btnZapOrgClick(); });
    return strip;
}

QWidget *TfrmMain::createCentre()
{
    auto *centre = new QWidget(this);
    auto *layout = new QVBoxLayout(centre);
    layout->setContentsMargins(4, 0, 2, 4);
    layout->setSpacing(2);

    auto *documents = new QGroupBox(QStringLiteral("Текущие документы"), centre);
    documents->setObjectName(QStringLiteral("grbAkts"));
    auto *documentsLayout = new QVBoxLayout(documents);
    documentsLayout->setContentsMargins(4, 2, 4, 4);
    m_dbgrSchets = new DbGrid(documents);
    m_dbgrSchets->setObjectName(QStringLiteral("dbgrSchets"));
    m_dbgrSchets->setPrompts(m_prompts);
    m_dbgrSchets->setDataset(m_dm.DSetDocs,
                             {{QStringLiteral("NUMSCH"), QStringLiteral("№счета"), 50},
                              {QStringLiteral("NUMSCHF"), QStringLiteral("№ сч-ф"), 50},
                              {QStringLiteral("NUMACT"), QStringLiteral("№ акта"), 50},
                              {QStringLiteral("NUMNAKL"), QStringLiteral("№ накл"), 50},
                              {QStringLiteral("NUMPRIX"), QStringLiteral("№ прих"), 50},
                              {QStringLiteral("NUMDOV"), QStringLiteral("№ дов"), 50},
                              {QStringLiteral("NUMPLAT"), QStringLiteral("№ плат"), 50},
                              {QStringLiteral("NAMEORG"), {}, 200},
                              {QStringLiteral("DATASCH"), {}, 70},
                              {QStringLiteral("DATASCHF"), QStringLiteral("Дата сч-ф"), 70},
                              {QStringLiteral("DATAACT"), QStringLiteral("Дата акта"), 70},
                              {QStringLiteral("DATANAKL"), QStringLiteral("Дата накл"), 70},
                              {QStringLiteral("DATAPRIX"), QStringLiteral("Дата прих"), 70},
                              {QStringLiteral("DATADOV"), QStringLiteral("Дата дов"), 70},
                              {QStringLiteral("DATAPLAT"), {}, 70}});
    documentsLayout->addWidget(m_dbgrSchets);
    layout->addWidget(documents, 1);

    auto *lines = new QGroupBox(QStringLiteral("Табличная часть документа"), centre);
    lines->setObjectName(QStringLiteral("grbDetail"));
    lines->setFixedHeight(190);
    auto *linesLayout = new QVBoxLayout(lines);
    linesLayout->setContentsMargins(4, 2, 4, 4);
    m_DBGrid1 = new DbGrid(lines);
    m_DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    m_DBGrid1->setPrompts(m_prompts);
    m_DBGrid1->setDataset(m_dm.DSetDetail);
    linesLayout->addWidget(m_DBGrid1);
    layout->addWidget(lines);

    connectCommand(m_dbgrSchets, &DbGrid::titleClicked, this, m_prompts,
                   [this](int column) { dbgrSchetsTitleClick(column); });
    connectCommand(m_dbgrSchets, &DbGrid::gridDoubleClicked, this, m_prompts,
                   [this] { dbgrSchetsDblClick(); });
    return centre;
}

QWidget *TfrmMain::createCommandColumn()
{
    auto *column = new QWidget(this);
    column->setObjectName(QStringLiteral("pnlCtrl"));
    column->setFixedWidth(154);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->setSpacing(0);

    auto *commands = new QWidget(column);
    commands->setFixedHeight(444);
    m_btnAdd = addButton(commands, "btnAdd", QStringLiteral("Добавить"), {6, 20, 140, 33});
    m_btnEdit = addButton(commands, "btnEdit", QStringLiteral("Изменить"), {6, 53, 140, 33});
    m_btnUse = addButton(commands, "btnUse", QStringLiteral("Копировать"), {6, 86, 140, 33});
    m_btnDel = addButton(commands, "btnDel", QStringLiteral("Удалить"), {6, 119, 140, 33});
    m_btnVArchiv = addButton(commands, "btnVArchiv", QStringLiteral("В Архив"), {6, 152, 140, 33});
    m_btnVernut = addButton(commands, "btnVernut", QStringLiteral("Вернуть"), {6, 53, 140, 33});
    m_btnVernut->hide();

    // The printing commands, in regular weight.
    QFont printFont = font();
    printFont.setBold(false);
    std::vector<QPushButton *> printing;
    for (const PrintButton &b : kPrintButtons) {
        QPushButton *button = addButton(commands, b.name, QString::fromUtf8(b.caption), b.geometry);
        button->setFont(printFont);
        printing.push_back(button);
        connectCommand(button, this, m_prompts, [this, button] { btnSchClick(button); });
    }
    findChild<QPushButton *>(QStringLiteral("btnActVyp"))
        ->setToolTip(QStringLiteral("Распечатать акт выполненных работ"));

    m_btnActKn = addButton(commands, "btnActKn", {}, {113, 251, 33, 33});
    m_btnActAlb = addButton(commands, "btnActAlb", {}, {113, 251, 33, 33});
    m_btnRasxKn = addButton(commands, "btnRasxKn", {}, {113, 284, 33, 33});
    m_btnRasxAlb = addButton(commands, "btnRasxAlb", {}, {113, 284, 33, 33});
    for (QPushButton *landscape : {m_btnActKn, m_btnRasxKn}) {
        landscape->setIcon(landscapePageIcon());
        landscape->setToolTip(QStringLiteral("Альбомная ориентация"));
    }
    for (QPushButton *portrait : {m_btnActAlb, m_btnRasxAlb}) {
        portrait->setIcon(portraitPageIcon());
        portrait->setToolTip(QStringLiteral("Книжная ориентация"));
        portrait->hide();
    }
    for (QPushButton *toggle : {m_btnActKn, m_btnActAlb, m_btnRasxKn, m_btnRasxAlb})
        toggle->setIconSize(QSize(24, 24));

    m_chkPechatPodpisi = new QCheckBox(QStringLiteral("Печать и подписи"), commands);
    m_chkPechatPodpisi->setObjectName(QStringLiteral("chkPechatPodpisi"));
    m_chkPechatPodpisi->setFont(printFont);
    m_chkPechatPodpisi->setGeometry(10, 419, 136, 22);
    m_chkPechatPodpisi->setToolTip(
        QStringLiteral("Печатать на бланках логотип, печать и подписи из реквизитов компании"));
    m_chkPechatPodpisi->setChecked(programSettings().value(kStampsSetting, false).toBool());
    connect(m_chkPechatPodpisi, &QCheckBox::toggled, this,
            [](bool on) { programSettings().setValue(kStampsSetting, on); });
    layout->addWidget(commands);
    layout->addStretch();

    QPushButton *close = addButton(column, "btnClose", QStringLiteral("Выход"), {});
    close->setToolTip(QStringLiteral("Выйти из программы"));
    close->setFixedSize(140, 33);
    auto *closeRow = new QHBoxLayout;
    closeRow->setContentsMargins(6, 0, 0, 0);
    closeRow->addWidget(close);
    closeRow->addStretch();
    layout->addLayout(closeRow);

    m_documentCommands = {m_btnEdit, m_btnVernut, m_btnUse, m_btnDel};
    m_documentCommands.insert(m_documentCommands.end(), printing.begin(), printing.end());
    m_documentCommands.push_back(m_btnVArchiv);

    connectCommand(m_btnAdd, this, m_prompts, [this] { btnAddClick(); });
    connectCommand(m_btnEdit, this, m_prompts, [this] { btnEditClick(); });
    connectCommand(m_btnUse, this, m_prompts, [this] { btnUseClick(); });
    connectCommand(m_btnDel, this, m_prompts, [this] { btnDelClick(); });
    connectCommand(m_btnVArchiv, this, m_prompts, [this] { btnVArchivClick(); });
    connectCommand(m_btnVernut, this, m_prompts, [this] { btnVernutClick(); });
    connectCommand(m_btnActKn, this, m_prompts, [this] { btnActKnClick(); });
    connectCommand(m_btnActAlb, this, m_prompts, [this] { btnActAlbClick(); });
    connectCommand(m_btnRasxKn, this, m_prompts, [this] { btnRasxKnClick(); });
    connectCommand(m_btnRasxAlb, this, m_prompts, [this] { btnRasxAlbClick(); });
    connectCommand(close, this, m_prompts, [this] { btnCloseClick(); });
    return column;
}

void TfrmMain::setDocumentEditor(DocumentEditor editor)
{
    m_editor = std::move(editor);
    m_btnAdd->setEnabled(bool(m_editor));
    enableDocumentCommands();
}

RegisterView TfrmMain::view() const
{
    return RegisterView(m_rgrTipDocs->itemIndex());
}

void TfrmMain::RefreshMain()
{
    Dataset *docs = m_dm.DSetDocs;
    const bool hadCurrent = docs->isActive() && !docs->isEmpty();
    const qint64 kod = docs->asInteger(kKod);
    if (m_dm.TsnRW.isActive())
        m_dm.TsnRW.commit();
    m_dm.closeAllDatasets();
    if (!m_dm.TsnRW.isActive())
        m_dm.TsnRW.start();
    for (Dataset *dataset : m_dm.mainDatasets())
        dataset->open();
    // A register given a new statement starts at its first row: looking for no document there
    // would read every row, over the network on a server.
    if (hadCurrent)
        docs->locate(kod);
    enableDocumentCommands();
    const QString title = m_dm.DSetRekvizity->asString(QStringLiteral("NAMEORG")) + kTitleSuffix;
    setWindowTitle(title);
    setApplicationTitle(title);
}

void TfrmMain::enableDocumentCommands()
{
    const bool listed = m_dm.DSetDocs->isActive() && !m_dm.DSetDocs->isEmpty();
    for (QPushButton *button : m_documentCommands) {
        const bool needsEditor = button == m_btnEdit || button == m_btnUse;
        button->setEnabled(listed && (!needsEditor || m_editor));
    }
}

void TfrmMain::arrangeCommands(RegisterView view)
{
    const bool current = view == RegisterView::Current;
    const bool archived = view == RegisterView::Archived;
    m_btnAdd->setVisible(current);
    m_btnEdit->setVisible(!archived);
    m_btnUse->setVisible(true);
    m_btnDel->setVisible(!archived);
    m_btnVArchiv->setVisible(current);
    // Restoring takes the place of editing, which the archive does not offer.
    m_btnVernut->setGeometry(m_btnEdit->geometry());
    m_btnVernut->setVisible(archived);
}

void TfrmMain::replaceDocumentsStatement(const SelectStatement &statement)
{
    // RefreshMain, which follows, opens the register: opening it here as well would read its
    // first rows twice.
    Dataset &docs = *m_dm.DSetDocs;
    if (docs.isEditing())
        docs.post();
    docs.close();
    docs.setSelectSql(statement.sql, statement.parameters);
}

void TfrmMain::showView(RegisterView view)
{
    m_rgrTipDocs->setItemIndex(int(view));
    replaceDocumentsStatement(viewStatement(view));
    arrangeCommands(view);
    RefreshMain();
}

void TfrmMain::rgrTipDocsClick()
{
    showView(view());
}

void TfrmMain::btnZaprosClick()
{
    replaceDocumentsStatement(
        queryStatement(view(), m_edOrg->text(), m_date1->date(), m_date2->date()));
    RefreshMain();
}

void TfrmMain::sortBy(const QString &column)
{
    const SelectStatement statement = sortStatement(view(), m_edOrg->text(), column);
    reopenAtSameRow(*m_dm.DSetDocs, statement.sql, statement.parameters);
}

void TfrmMain::dbgrSchetsTitleClick(int column)
{
    sortBy(m_dbgrSchets->fieldName(column));
}

void TfrmMain::btnClearClick()
{
    Dataset *docs = m_dm.DSetDocs;
    if (docs->isEditing())
        docs->post();
    m_edOrg->clear();
    const InvoiceDateSpan span = invoiceDateSpan(m_dm.TsnRW, view(), QString());
    m_date1->setDate(span.first.date());
    m_date2->setDate(span.last.date());
    // In number order, resting on the earliest document.
    replaceDocumentsStatement(sortStatement(view(), QString(), QStringLiteral("NUMSCH")));
    RefreshMain();
    if (span.firstKod != 0)
        docs->locate(span.firstKod);
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
    RefreshMain();
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
    RefreshMain();
}

void TfrmMain::btnUseClick()
{
    if (!m_editor || !m_prompts.confirm(this, QStringLiteral("Скопировать выделенную запись?")))
        return;
    const qint64 copy = copyCurrentDocument(m_dm);
    if (m_editor(this, EditorMode::Copy) == QDialog::Accepted) {
        m_dm.DSetDocs->post();
        showView(RegisterView::Current);
        m_dm.DSetDocs->locate(copy);
        RefreshMain();
    } else {
        m_dm.DSetDocs->cancel();
    }
}

void TfrmMain::btnDelClick()
{
    confirmDelete(m_prompts, this, *m_dm.DSetDocs, [this] { m_dm.deleteDocument(); });
    RefreshMain();
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
    const qint64 kod = docs->asInteger(kKod);
    showView(to);
    docs->locate(kod);
    RefreshMain();
}

void TfrmMain::dbgrSchetsDblClick()
{
    if (view() == RegisterView::Archived)
        return;
    if (m_dm.DSetDocs->isEmpty())
        btnAddClick();
    else
        btnEditClick();
}

void TfrmMain::btnRekvizClick()
{
    TfrmConst requisites(m_dm, m_prompts, this);
    m_runDialog(requisites);
    RefreshMain();
}

RefbookContext TfrmMain::refbookContext()
{
    return {m_dm, m_prompts, m_runDialog, m_showReport};
}

void TfrmMain::btnTovUslClick()
{
    {
        TfrmNomenkl goods(refbookContext(), this);
        m_runDialog(goods);
    }
    RefreshMain();
}

void TfrmMain::btnOrgClick()
{
    {
        TfrmOrg clients(refbookContext(), this);
        m_runDialog(clients);
    }
    RefreshMain();
}

void TfrmMain::BitBtn3Click()
{
    {
        TfrmKNP codes(refbookContext(), this);
        m_runDialog(codes);
    }
    RefreshMain();
}

void TfrmMain::btnZapOrgClick()
{
    TfrmOrg clients(refbookContext(), this, ClientPick::RegisterFilter);
    clients.setClientFilterBox(m_edOrg);
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
    RefreshMain();
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
    FormImagesReader readImages;
    if (m_chkPechatPodpisi->isChecked()) {
        readImages = [this](const QSet<QString> &names) {
            FormImages stored = readFormImages(m_dm.ZNDB, names);
            if (!stored.problem.isEmpty())
                m_prompts.inform(this, stored.problem);
            return stored.images;
        };
    }
    const QString problem =
        printCurrentDocument(m_dm, button->form, !m_btnActAlb->isHidden(),
                             !m_btnRasxAlb->isHidden(), readImages, m_showReport);
    if (!problem.isEmpty())
        reportError(m_prompts, this, problem);
}

void TfrmMain::btnActKnClick()
{
    m_btnActKn->hide();
    m_btnActAlb->show();
}

void TfrmMain::btnActAlbClick()
{
    m_btnActAlb->hide();
    m_btnActKn->show();
}

void TfrmMain::btnRasxKnClick()
{
    m_btnRasxKn->hide();
    m_btnRasxAlb->show();
}

void TfrmMain::btnRasxAlbClick()
{
    m_btnRasxAlb->hide();
    m_btnRasxKn->show();
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    Q_EMIT closed();
}

void TfrmMain::FormDestroy()
{
    try {
        if (m_dm.TsnRW.isActive())
            m_dm.TsnRW.commit();
    } catch (const DbError &e) {
        m_prompts.error(nullptr, e.message(), applicationTitle());
    }
}
