#include "tfrm_dolzhniki.h"

#include "core/register_tooltip.h"
#include "data/debts.h"
#include "data/tdm.h"
#include "debtors_models.h"
#include "printing/debtors_listing.h"
#include "printing/form_template.h"
#include "ui/command.h"
#include "ui/date_edit.h"
#include "ui/prompt_service.h"
#include "ui/row_tooltips.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QTableView *makeGrid(const char *name, QAbstractItemModel *model, QWidget *parent)
{
    auto *grid = new QTableView(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    return grid;
}

QPushButton *makeButton(const char *name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

// Enter on a client opens its documents, as the double click does.
class EnterOpens : public QObject {
public:
    EnterOpens(QObject *parent, std::function<void()> open) : QObject(parent), m_open(open) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        m_open();
        return true;
    }

private:
    std::function<void()> m_open;
};

} // namespace

TfrmDolzhniki::TfrmDolzhniki(TDM &dm, PromptService &prompts, ReportShower showReport,
                             QWidget *parent)
    : QDialog(parent), m_dm(dm), m_prompts(prompts), m_showReport(std::move(showReport)),
      m_clientsModel(new DebtorsModel(this)), m_documentsModel(new DebtorDocumentsModel(this))
{
    setObjectName(QStringLiteral("frmDolzhniki"));
    setWindowTitle(QStringLiteral("Должники"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(1100, 600);

    auto *dateLabel = new QLabel(QStringLiteral("на дату:"), this);
    m_date = new DateEdit(this);
    m_date->setObjectName(QStringLiteral("dtpNaDatu"));
    m_date->setCalendarPopup(true);
    // The figures are read again once a typed date is complete, not at each digit of it.
    m_date->setKeyboardTracking(false);
    dateLabel->setBuddy(m_date);
    auto *top = new QHBoxLayout;
    top->addWidget(dateLabel);
    top->addWidget(m_date);
    top->addStretch();

    m_clients = makeGrid("dbgrDolzhniki", m_clientsModel, this);
    // The figures keep their whole width at any date; the names take what is left.
    m_clients->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_clients->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_documents = makeGrid("dbgrDokumenty", m_documentsModel, this);
    m_documents->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    setRowToolTips(m_documents, [this](int row) {
        const std::vector<DocumentDebt> &documents = m_documentsModel->documents();
        if (row >= int(documents.size()))
            return QString();
        return documentToolTipLines(readTransaction(), documents[size_t(row)].kod).join(u'\n');
    });
    auto *documentsTitle = new QLabel(QStringLiteral("Документы клиента с долгом:"), this);
    auto *documentsPane = new QWidget(this);
    auto *documentsLayout = new QVBoxLayout(documentsPane);
    documentsLayout->setContentsMargins(0, 0, 0, 0);
    documentsLayout->addWidget(documentsTitle);
    documentsLayout->addWidget(m_documents);
    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_clients);
    splitter->addWidget(documentsPane);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    QPushButton *print = makeButton("btnPrint", QStringLiteral("Печать"), this);
    m_aktSverki = makeButton("btnAktSverki", QStringLiteral("Акт сверки..."), this);
    QPushButton *close = makeButton("btnClose", QStringLiteral("Закрыть"), this);
    auto *commands = new QHBoxLayout;
    commands->addWidget(print);
    commands->addWidget(m_aktSverki);
    commands->addStretch();
    commands->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(splitter, 1);
    layout->addLayout(commands);

    // The figures are read before the date's signal is connected, so that a failure to read
    // them is the opener's to report, and the window is not shown empty.
    m_date->setDate(QDate::currentDate());
    m_clientsModel->setDebts(clientDebts(readTransaction(), m_date->date()));

    connectCommand(m_date, &QDateEdit::dateChanged, this, m_prompts, [this] { dtpNaDatuChange(); });
    connectCommand(m_clients->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                   m_prompts, [this] { dbgrDolzhnikiRowChange(); });
    connectCommand(m_clients, &QTableView::doubleClicked, this, m_prompts,
                   [this] { dbgrDolzhnikiDblClick(); });
    m_clients->installEventFilter(new EnterOpens(
        m_clients, [this] { runCommand(m_prompts, this, [this] { dbgrDolzhnikiDblClick(); }); }));
    connectCommand(print, this, m_prompts, [this] { btnPrintClick(); });
    connectCommand(m_aktSverki, this, m_prompts, [this] { btnAktSverkiClick(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    if (m_clientsModel->client(0))
        m_clients->selectRow(0);
    updateCommands();
}

TfrmDolzhniki::~TfrmDolzhniki() = default;

void TfrmDolzhniki::setReconciliationAct(ReconciliationAct act)
{
    m_reconciliationAct = std::move(act);
    updateCommands();
}

void TfrmDolzhniki::setDate(QDate at)
{
    m_date->setDate(at);
}

FbTransaction &TfrmDolzhniki::readTransaction()
{
    if (!m_dm.TsnRW.isActive())
        m_dm.TsnRW.start();
    return m_dm.TsnRW;
}

const ClientDebt *TfrmDolzhniki::currentClient() const
{
    return m_clientsModel->client(m_clients->currentIndex().row());
}

void TfrmDolzhniki::updateCommands()
{
    m_aktSverki->setEnabled(m_reconciliationAct && currentClient());
}

void TfrmDolzhniki::dtpNaDatuChange()
{
    // The same client stays chosen at the new date, when it still owes.
    const ClientDebt *before = currentClient();
    const QString name = before ? before->name : QString();
    const QString biniin = before ? before->biniin : QString();
    m_documentsModel->setDocuments({});
    m_clientsModel->setDebts(clientDebts(readTransaction(), m_date->date()));
    int row = 0;
    for (size_t i = 0; i < m_clientsModel->debts().clients.size(); ++i) {
        const ClientDebt &client = m_clientsModel->debts().clients[i];
        if (client.name == name && client.biniin == biniin)
            row = int(i);
    }
    if (m_clientsModel->client(row))
        m_clients->selectRow(row);
    dbgrDolzhnikiRowChange();
}

void TfrmDolzhniki::dbgrDolzhnikiRowChange()
{
    const ClientDebt *client = currentClient();
    m_documentsModel->setDocuments(client ? client->dueDocuments : std::vector<DocumentDebt>());
    updateCommands();
}

void TfrmDolzhniki::dbgrDolzhnikiDblClick()
{
    if (!currentClient())
        return;
    m_documents->setFocus();
    if (m_documentsModel->rowCount() > 0)
        m_documents->selectRow(0);
}

void TfrmDolzhniki::btnPrintClick()
{
    const FormTemplate loaded = loadFormTemplate(m_dm, QString::fromLatin1(kDebtorsTemplate));
    if (!loaded.report) {
        reportError(m_prompts, this, loaded.error);
        return;
    }
    if (!m_showReport)
        return;
    if (!loaded.warning.isEmpty())
        m_prompts.inform(this, loaded.warning);
    zreport::TfrxReport &report = *loaded.report;
    report.documentTitle = QStringLiteral("Должники на ") + m_date->date().toString(u"dd.MM.yyyy");
    const DebtorsListingRows rows(m_clientsModel->debts(), m_date->date());
    m_showReport(report, rows.sources());
}

void TfrmDolzhniki::btnAktSverkiClick()
{
    if (const ClientDebt *client = currentClient(); client && m_reconciliationAct)
        m_reconciliationAct(this, *client, m_date->date());
}
