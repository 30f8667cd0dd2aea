#include "tfrm_sopostavlenie.h"

#include "imports/value_parsing.h"
#include "ui/prompt_service.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { InvoiceNumber, VatInvoiceNumber, Due, Share };

QTableWidgetItem *readOnlyItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

} // namespace

TfrmSopostavlenie::TfrmSopostavlenie(const PlannedOperation &planned,
                                     std::vector<OpenDocument> documents, PromptService &prompts,
                                     QWidget *parent)
    : QDialog(parent), m_planned(planned), m_documents(std::move(documents)), m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmSopostavlenie"));
    setWindowTitle(QStringLiteral("Сопоставление"));
    const StatementOperation &op = planned.operation;
    const QLocale locale;
    auto *layout = new QVBoxLayout(this);
    auto *operation = new QLabel(
        QStringLiteral("Платежное поручение № %1 от %2 на сумму %3\n%4 (БИН/ИИН %5)\n%6")
            .arg(op.number, op.documentDate.toString(QStringLiteral("dd.MM.yyyy")),
                 locale.toString(op.amount, 'f', 2), op.payer.name, op.payer.biniin, op.purpose),
        this);
    operation->setObjectName(QStringLiteral("lblOperacia"));
    operation->setWordWrap(true);
    layout->addWidget(operation);

    m_documentsButton = new QRadioButton(QStringLiteral("Оплата документов клиента:"), this);
    m_documentsButton->setObjectName(QStringLiteral("rbDocs"));
    layout->addWidget(m_documentsButton);
    m_grid = new QTableWidget(int(m_documents.size()), 4, this);
    m_grid->setObjectName(QStringLiteral("dbgrDocs"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("№ счета"), QStringLiteral("№ счет-фактуры"),
                                       QStringLiteral("К оплате"), QStringLiteral("Сумма оплаты")});
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->hide();
    for (int row = 0; row < int(m_documents.size()); ++row) {
        const OpenDocument &d = m_documents[size_t(row)];
        m_grid->setItem(row, InvoiceNumber, readOnlyItem(QString::number(d.invoiceNumber)));
        m_grid->setItem(
            row, VatInvoiceNumber,
            readOnlyItem(d.vatInvoiceNumber ? QString::number(d.vatInvoiceNumber) : QString()));
        m_grid->setItem(row, Due, readOnlyItem(locale.toString(d.due, 'f', 2)));
        m_grid->setItem(row, Share, new QTableWidgetItem());
    }
    layout->addWidget(m_grid);
    m_advanceButton = new QRadioButton(QStringLiteral("Аванс: оставить на счете клиента"), this);
    m_advanceButton->setObjectName(QStringLiteral("rbAvans"));
    m_ignoreButton = new QRadioButton(QStringLiteral("Не учитывать"), this);
    m_ignoreButton->setObjectName(QStringLiteral("rbIgnore"));
    m_leaveButton = new QRadioButton(QStringLiteral("Оставить без сопоставления"), this);
    m_leaveButton->setObjectName(QStringLiteral("rbLeave"));
    for (QRadioButton *button : {m_advanceButton, m_ignoreButton, m_leaveButton})
        layout->addWidget(button);
    switch (planned.choice.kind) {
    case OperationChoice::Kind::Documents:
        m_documentsButton->setChecked(true);
        for (const DocumentShare &share : planned.choice.shares) {
            for (int row = 0; row < int(m_documents.size()); ++row) {
                if (m_documents[size_t(row)].kod == share.document)
                    m_grid->item(row, Share)->setText(locale.toString(share.amount, 'f', 2));
            }
        }
        break;
    case OperationChoice::Kind::Advance:
        m_advanceButton->setChecked(true);
        break;
    case OperationChoice::Kind::Ignore:
        m_ignoreButton->setChecked(true);
        break;
    case OperationChoice::Kind::Leave:
        (m_documents.empty() ? m_leaveButton : m_documentsButton)->setChecked(true);
        break;
    }
    m_documentsButton->setEnabled(!m_documents.empty());
    // Typing an amount chooses the documents.
    connect(m_grid, &QTableWidget::itemChanged, this,
            [this] { m_documentsButton->setChecked(true); });

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOk"));
    QPushButton *cancel =
        buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(ok, &QPushButton::clicked, this, &TfrmSopostavlenie::btnOkClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(640, 420);
}

std::optional<OperationChoice> TfrmSopostavlenie::shownChoice()
{
    OperationChoice choice;
    if (m_advanceButton->isChecked())
        choice.kind = OperationChoice::Kind::Advance;
    else if (m_ignoreButton->isChecked())
        choice.kind = OperationChoice::Kind::Ignore;
    else if (m_documentsButton->isChecked())
        choice.kind = OperationChoice::Kind::Documents;
    if (choice.kind != OperationChoice::Kind::Documents)
        return choice;
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        const QString text = m_grid->item(row, Share)->text().trimmed();
        if (text.isEmpty())
            continue;
        const std::optional<double> amount = parseNumber(text);
        if (!amount) {
            m_prompts.inform(this, QStringLiteral("Сумма оплаты «%1» не число").arg(text));
            return std::nullopt;
        }
        if (*amount != 0)
            choice.shares.push_back({m_documents[size_t(row)].kod, *amount});
    }
    return choice;
}

void TfrmSopostavlenie::btnOkClick()
{
    const std::optional<OperationChoice> choice = shownChoice();
    if (!choice)
        return;
    PlannedOperation planned = m_planned;
    planned.choice = *choice;
    if (const QString problem = choiceProblem(planned); !problem.isEmpty()) {
        m_prompts.inform(this, problem);
        return;
    }
    m_choice = *choice;
    accept();
}
