#include "tfrm_vypiska.h"

#include "tfrm_sopostavlenie.h"

#include "core/work_session.h"
#include "data/tdm.h"
#include "statements/open_documents.h"
#include "statements/statement_checks.h"
#include "statements/statement_reader.h"
#include "ui/command.h"
#include "ui/prompt_service.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("Выписка банка");
const QColor kUnmatched(255, 214, 214);

enum Column { Date, Number, Amount, Payer, BinIin, Purpose, Match, ColumnCount };

QString day(QDate date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

TfrmVypiska::TfrmVypiska(WorkSession &session, PromptService &prompts, DialogRunner runDialog,
                         QWidget *parent)
    : QDialog(parent), m_session(session), m_prompts(prompts), m_runDialog(std::move(runDialog))
{
    setObjectName(QStringLiteral("frmVypiska"));
    setWindowTitle(kCaption);
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    auto *fileButton = new QPushButton(QStringLiteral("Открыть выписку..."), this);
    fileButton->setObjectName(QStringLiteral("btnFile"));
    top->addWidget(fileButton);
    m_statementLabel = new QLabel(this);
    m_statementLabel->setObjectName(QStringLiteral("lblVypiska"));
    top->addWidget(m_statementLabel, 1);
    layout->addLayout(top);
    m_totalsLabel = new QLabel(this);
    m_totalsLabel->setObjectName(QStringLiteral("lblItogi"));
    m_totalsLabel->setWordWrap(true);
    layout->addWidget(m_totalsLabel);

    m_grid = new QTableWidget(0, ColumnCount, this);
    m_grid->setObjectName(QStringLiteral("dbgrOperacii"));
    m_grid->setHorizontalHeaderLabels(
        {QStringLiteral("Дата"), QStringLiteral("№"), QStringLiteral("Сумма"),
         QStringLiteral("Плательщик"), QStringLiteral("БИН/ИИН"),
         QStringLiteral("Назначение платежа"), QStringLiteral("Сопоставлено")});
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_grid, 1);

    auto *bottom = new QHBoxLayout;
    m_matchButton = new QPushButton(QStringLiteral("Сопоставление"), this);
    m_matchButton->setObjectName(QStringLiteral("btnSopostavlenie"));
    m_loadButton = new QPushButton(QStringLiteral("Загрузить"), this);
    m_loadButton->setObjectName(QStringLiteral("btnZagruzit"));
    auto *closeButton = new QPushButton(QStringLiteral("Закрыть"), this);
    closeButton->setObjectName(QStringLiteral("btnClose"));
    bottom->addWidget(m_matchButton);
    bottom->addStretch(1);
    bottom->addWidget(m_loadButton);
    bottom->addWidget(closeButton);
    layout->addLayout(bottom);
    m_matchButton->setEnabled(false);
    m_loadButton->setEnabled(false);

    connectCommand(fileButton, this, m_prompts, [this] { btnFileClick(); });
    connectCommand(m_matchButton, this, m_prompts, [this] { btnSopostavlenieClick(); });
    connect(m_grid, &QTableWidget::cellDoubleClicked, m_matchButton, &QPushButton::click);
    connectCommand(m_loadButton, this, m_prompts, [this] { btnZagruzitClick(); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    resize(1000, 560);
}

void TfrmVypiska::btnFileClick()
{
    const QString path = m_prompts.chooseFile(
        this, kCaption, QString(), QStringLiteral("Выписки банка (*.txt *.TXT);;Все файлы (*)"));
    if (!path.isEmpty())
        loadFile(path);
}

bool TfrmVypiska::loadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_prompts.error(
            this, QStringLiteral("Не удалось открыть файл %1: %2").arg(path, file.errorString()),
            kCaption);
        return false;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    FbTransaction &transaction = m_session.dm().TsnRW;
    if (!transaction.isActive())
        transaction.start();
    const QStringList own = ownAccounts(transaction);
    auto read = readStatement(bytes, own);
    if (const StatementRefusal *refusal = std::get_if<StatementRefusal>(&read)) {
        m_prompts.error(this, QStringLiteral("Выписка не загружена: %1").arg(refusal->text()),
                        kCaption);
        return false;
    }
    Statement &statement = std::get<Statement>(read);
    if (const QStringList foreign = foreignAccounts(statement, own);
        !foreign.isEmpty() && !m_prompts.confirm(this, foreignAccountQuestion(foreign)))
        return false;
    m_plan.emplace(planImport(transaction, statement));
    m_statement = std::move(statement);

    QStringList accounts(m_statement->accounts.begin(), m_statement->accounts.end());
    m_statementLabel->setText(QStringLiteral("Период: %1 – %2. Счет: %3")
                                  .arg(day(m_statement->from), day(m_statement->to),
                                       accounts.join(QStringLiteral(", "))));
    const QStringList mismatches = totalsMismatches(*m_statement);
    if (m_statement->sections.empty())
        m_totalsLabel->setText(QStringLiteral("Итогов по счету в выписке нет"));
    else if (mismatches.isEmpty())
        m_totalsLabel->setText(QStringLiteral("Итоги выписки сходятся с ее документами"));
    else
        m_totalsLabel->setText(QStringLiteral("Итоги выписки не сходятся с ее документами:\n") +
                               mismatches.join(QLatin1Char('\n')));
    m_totalsLabel->setStyleSheet(mismatches.isEmpty() ? QString()
                                                      : QStringLiteral("color: #b00000"));
    fillGrid();
    return true;
}

QString TfrmVypiska::matchText(const PlannedOperation &planned) const
{
    if (planned.alreadyImported)
        return QStringLiteral("уже загружено");
    if (planned.match.document)
        return QStringLiteral("счет № %1").arg(planned.match.invoiceNumber);
    switch (planned.choice.kind) {
    case OperationChoice::Kind::Leave:
        return QStringLiteral("не сопоставлено");
    case OperationChoice::Kind::Advance:
        return QStringLiteral("аванс");
    case OperationChoice::Kind::Ignore:
        return QStringLiteral("не учитывать");
    case OperationChoice::Kind::Documents:
        break;
    }
    QStringList parts;
    const QLocale locale;
    const std::vector<OpenDocument> documents =
        m_plan->matcher.documentsOf(planned.operation.payer.biniin);
    for (const DocumentShare &share : planned.choice.shares) {
        const auto d = std::find_if(documents.begin(), documents.end(),
                                    [&](const OpenDocument &o) { return o.kod == share.document; });
        parts << QStringLiteral("счет № %1: %2")
                     .arg(d == documents.end() ? share.document : d->invoiceNumber)
                     .arg(locale.toString(share.amount, 'f', 2));
    }
    return parts.join(QStringLiteral("; "));
}

void TfrmVypiska::fillGrid()
{
    const QLocale locale;
    const int current = m_grid->currentRow();
    m_grid->setRowCount(int(m_plan->operations.size()));
    bool anythingToLoad = false;
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        const PlannedOperation &planned = m_plan->operations[size_t(row)];
        const StatementOperation &op = planned.operation;
        const QStringList texts = {
            day(op.paymentDate()), op.number,       locale.toString(op.amount, 'f', 2),
            op.payer.name,         op.payer.biniin, op.purpose,
            matchText(planned)};
        const bool waiting = !planned.alreadyImported && !planned.match.document &&
                             planned.choice.kind == OperationChoice::Kind::Leave;
        anythingToLoad = anythingToLoad || (!planned.alreadyImported && !waiting);
        for (int column = 0; column < ColumnCount; ++column) {
            auto *item = new QTableWidgetItem(texts[column]);
            if (column == Amount)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (waiting)
                item->setBackground(kUnmatched);
            m_grid->setItem(row, column, item);
        }
    }
    m_grid->resizeColumnsToContents();
    if (m_grid->rowCount() > 0)
        m_grid->setCurrentCell(std::clamp(current, 0, m_grid->rowCount() - 1), 0);
    m_matchButton->setEnabled(m_grid->rowCount() > 0);
    m_loadButton->setEnabled(anythingToLoad);
}

void TfrmVypiska::btnSopostavlenieClick()
{
    const int row = m_grid->currentRow();
    if (!m_plan || row < 0 || row >= int(m_plan->operations.size()))
        return;
    PlannedOperation &planned = m_plan->operations[size_t(row)];
    if (planned.alreadyImported) {
        m_prompts.inform(this, QStringLiteral("Эта операция уже загружена"));
        return;
    }
    if (planned.match.document) {
        m_prompts.inform(this, QStringLiteral("Операция сопоставлена со счетом № %1")
                                   .arg(planned.match.invoiceNumber));
        return;
    }
    TfrmSopostavlenie dialog(planned, m_plan->matcher.documentsOf(planned.operation.payer.biniin),
                             m_prompts, this);
    if (m_runDialog(dialog) != QDialog::Accepted)
        return;
    planned.choice = dialog.choice();
    fillGrid();
}

void TfrmVypiska::btnZagruzitClick()
{
    const ImportCounts counts = recordImport(m_session.dm().TsnRW, m_plan->operations);
    m_session.refresh();
    m_prompts.inform(this, QStringLiteral("Загружено операций: %1. Без сопоставления: %2. "
                                          "Были загружены раньше: %3.")
                               .arg(counts.recorded)
                               .arg(counts.unmatched)
                               .arg(counts.alreadyImported));
    FbTransaction &transaction = m_session.dm().TsnRW;
    if (!transaction.isActive())
        transaction.start();
    m_plan.emplace(planImport(transaction, *m_statement));
    fillGrid();
}

void addBankStatementCommand(QMenu &menu, WorkSession &session, PromptService &prompts,
                             QWidget *parent)
{
    QAction *action = menu.addAction(QStringLiteral("Выписка банка..."));
    action->setObjectName(QStringLiteral("actVypiska"));
    connectCommand(action, &QAction::triggered, parent, prompts, [&session, &prompts, parent] {
        TfrmVypiska window(session, prompts, execDialog, parent);
        execDialog(window);
    });
}
