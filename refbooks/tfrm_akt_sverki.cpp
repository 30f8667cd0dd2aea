#include "tfrm_akt_sverki.h"

#include "data/tdm.h"
#include "printing/form_template.h"
#include "printing/reconciliation_rows.h"
#include "ui/command.h"
#include "ui/date_edit.h"
#include "ui/prompt_service.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>

#include <algorithm>
#include <iterator>

namespace {

FbTransaction &readingTransaction(TDM &dm)
{
    if (!dm.TsnRW.isActive())
        dm.TsnRW.start();
    return dm.TsnRW;
}

} // namespace

TfrmAktSverki::TfrmAktSverki(const RefbookContext &context, const ActClient &client,
                             QWidget *parent)
    : QDialog(parent), m_context(context), m_client(new QComboBox(this)),
      m_from(new DateEdit(this)), m_to(new DateEdit(this)), m_ground(new QComboBox(this)),
      m_mirror(new QCheckBox(QStringLiteral("Заполнить данные контрагента"), this))
{
    setObjectName(QStringLiteral("frmAktSverki"));
    setWindowTitle(QStringLiteral("Акт сверки"));
    m_client->setObjectName(QStringLiteral("cmbClient"));
    m_from->setObjectName(QStringLiteral("dtpFrom"));
    m_to->setObjectName(QStringLiteral("dtpTo"));
    m_ground->setObjectName(QStringLiteral("cmbOsnovanie"));
    m_mirror->setObjectName(QStringLiteral("chkMirror"));
    // A ground may also be typed: a contract not kept in the grounds list.
    m_ground->setEditable(true);
    m_client->setEditable(true);
    m_client->setInsertPolicy(QComboBox::NoInsert);
    m_client->setMinimumContentsLength(40);
    for (DateEdit *date : {m_from, m_to})
        date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));

    auto *quick = new QHBoxLayout;
    const std::pair<const char *, std::pair<const char *, ActPeriod>> quickChoices[] = {
        {"btnThisQuarter", {"Этот квартал", ActPeriod::ThisQuarter}},
        {"btnLastQuarter", {"Прошлый квартал", ActPeriod::LastQuarter}},
        {"btnThisYear", {"Этот год", ActPeriod::ThisYear}},
    };
    for (const auto &[name, choice] : quickChoices) {
        auto *button = new QPushButton(QString::fromUtf8(choice.first), this);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        const ActPeriod period = choice.second;
        connect(button, &QPushButton::clicked, this, [this, period] { setPeriod(period); });
        quick->addWidget(button);
    }
    auto *dates = new QHBoxLayout;
    dates->addWidget(m_from);
    dates->addWidget(m_to);
    dates->addStretch();

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    QPushButton *cancel =
        buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));

    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Клиент:"), m_client);
    form->addRow(QStringLiteral("Период с / по:"), dates);
    form->addRow(QString(), quick);
    form->addRow(QStringLiteral("Основание:"), m_ground);
    form->addRow(QString(), m_mirror);
    form->addRow(buttons);

    m_choices = actClientChoices(readingTransaction(m_context.dm));
    // The same name and BIN/IIN first; else, for a renamed client, the same BIN/IIN.
    auto initial = std::find_if(m_choices.begin(), m_choices.end(), [&client](const auto &c) {
        return c.client.name == client.name && c.client.biniin == client.biniin;
    });
    if (initial == m_choices.end() && !client.biniin.isEmpty())
        initial = std::find_if(m_choices.begin(), m_choices.end(), [&client](const auto &c) {
            return c.client.biniin == client.biniin;
        });
    // A client known only from its documents (the debtors list them so) is offered as well.
    if (initial == m_choices.end() && !client.name.isEmpty()) {
        m_choices.push_back({0, client});
        initial = std::prev(m_choices.end());
    }
    for (const ActClientChoice &choice : m_choices)
        m_client->addItem(
            choice.client.biniin.isEmpty()
                ? choice.client.name
                : QStringLiteral("%1 (%2)").arg(choice.client.name, choice.client.biniin));
    m_client->setCurrentIndex(initial == m_choices.end() ? 0 : int(initial - m_choices.begin()));
    clientChanged();
    setPeriod(ActPeriod::ThisQuarter);

    connectCommand(m_client, &QComboBox::currentIndexChanged, this, m_context.prompts,
                   [this] { clientChanged(); });
    connectCommand(ok, &QPushButton::clicked, this, m_context.prompts, [this] { btnOKClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmAktSverki::setPeriod(ActPeriod period)
{
    const auto [from, to] = actPeriod(period, QDate::currentDate());
    m_from->setDate(from);
    m_to->setDate(to);
}

void TfrmAktSverki::clientChanged()
{
    m_ground->clear();
    m_ground->addItem(QString());
    const int index = m_client->currentIndex();
    if (index < 0 || m_choices[size_t(index)].kod == 0)
        return;
    for (const QString &ground :
         clientGrounds(readingTransaction(m_context.dm), m_choices[size_t(index)].kod))
        m_ground->addItem(ground);
}

void TfrmAktSverki::btnOKClick()
{
    PromptService &prompts = m_context.prompts;
    if (m_client->currentIndex() < 0 ||
        m_client->currentText() != m_client->itemText(m_client->currentIndex())) {
        prompts.inform(this, QStringLiteral("Выберите клиента из списка."));
        m_client->setFocus();
        return;
    }
    if (m_from->date() > m_to->date()) {
        prompts.inform(this, QStringLiteral("Начало периода позже его конца."));
        m_from->setFocus();
        return;
    }
    const ReconciliationAct act = reconciliationAct(
        readingTransaction(m_context.dm), m_choices[size_t(m_client->currentIndex())].client,
        m_from->date(), m_to->date());
    const ReportShower show =
        m_context.showReport ? m_context.showReport : [](const auto &, const auto &) {};
    if (const QString error =
            showReconciliationAct(m_context.dm, act, m_ground->currentText().trimmed(),
                                  m_mirror->isChecked(), m_context.readImages, show,
                                  [&](const QString &warning) { prompts.inform(this, warning); });
        !error.isEmpty()) {
        reportError(prompts, this, error);
        return;
    }
    accept();
}

void openReconciliationAct(QWidget *parent, const RefbookContext &context, const ActClient &client)
{
    TfrmAktSverki dialog(context, client, parent);
    context.runDialog(dialog);
}

void openReconciliationAct(QWidget *parent, const RefbookContext &context, int clientKod)
{
    openReconciliationAct(
        parent, context,
        actClient(readingTransaction(context.dm), clientKod).value_or(ActClient{}));
}
