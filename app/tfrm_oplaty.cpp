#include "tfrm_oplaty.h"

#include "payment_dialog.h"

#include "data/fb_connection.h"
#include "data/tdm.h"
#include "ui/command.h"
#include "ui/prompt_service.h"
#include "ui/role_limits.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Amounts within half a tiyn are one amount.
constexpr double kHalfTiyn = 0.005;

QString money(double amount)
{
    return QLocale().toString(amount, 'f', 2);
}

QPushButton *button(const char *name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QLabel *label(const char *name, QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

} // namespace

const char *const TfrmOplaty::kOverpayQuestion =
    "С этой оплатой оплачено %1 при сумме документа %2: переплата %3. Записать оплату?";
const char *const TfrmOplaty::kDeleteQuestion = "Удалить оплату %1 от %2?";

TfrmOplaty::TfrmOplaty(TDM &dm, PromptService &prompts, int document, QWidget *parent)
    : QDialog(parent), m_dm(dm), m_prompts(prompts), m_document(document)
{
    setObjectName(QStringLiteral("frmOplaty"));
    setWindowTitle(QStringLiteral("Оплаты"));

    m_grid = new QTableWidget(0, 4, this);
    m_grid->setObjectName(QStringLiteral("dbgrOplaty"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Дата"), QStringLiteral("Сумма"),
                                       QStringLiteral("Вид"), QStringLiteral("Примечание")});
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setColumnWidth(0, 90);
    m_grid->setColumnWidth(1, 110);
    m_grid->setColumnWidth(2, 70);

    m_lblAmount = label("lblSumma", this);
    m_lblPaid = label("lblOplacheno", this);
    m_lblDue = label("lblOstatok", this);
    auto *amounts = new QHBoxLayout;
    amounts->setSpacing(24);
    for (QLabel *l : {m_lblAmount, m_lblPaid, m_lblDue})
        amounts->addWidget(l);
    amounts->addStretch();

    QPushButton *btnAdd = button("btnAdd", QStringLiteral("Добавить..."), this);
    m_btnEdit = button("btnEdit", QStringLiteral("Изменить..."), this);
    m_btnDel = button("btnDel", QStringLiteral("Удалить"), this);
    m_btnPolnostyu = button("btnPolnostyu", QStringLiteral("Оплачен полностью"), this);
    QPushButton *btnClose = button("btnClose", QStringLiteral("Закрыть"), this);
    auto *commands = new QVBoxLayout;
    for (QPushButton *b : {btnAdd, m_btnEdit, m_btnDel, m_btnPolnostyu})
        commands->addWidget(b);
    commands->addStretch();
    commands->addWidget(btnClose);

    auto *upper = new QHBoxLayout;
    upper->addWidget(m_grid, 1);
    upper->addLayout(commands);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(upper, 1);
    layout->addLayout(amounts);

    connectCommand(btnAdd, this, m_prompts, [this] { btnAddClick(); });
    connectCommand(m_btnEdit, this, m_prompts, [this] { btnEditClick(); });
    connectCommand(m_btnDel, this, m_prompts, [this] { btnDelClick(); });
    connectCommand(m_btnPolnostyu, this, m_prompts, [this] { btnPolnostyuClick(); });
    connectCommand(m_grid, &QTableWidget::cellDoubleClicked, this, m_prompts, [this] {
        if (m_btnEdit->isEnabled())
            btnEditClick();
    });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_grid, &QTableWidget::itemSelectionChanged, this, [this] {
        m_btnEdit->setEnabled(selectedPayment());
        m_btnDel->setEnabled(selectedPayment());
    });

    const QString refusal = roleRefusal(m_dm.role(), RoleWork::Change);
    for (QPushButton *b : {btnAdd, m_btnEdit, m_btnDel, m_btnPolnostyu})
        setRoleLimit(b, refusal);

    resize(620, 360);
    runCommand(m_prompts, this, [this] { reread(); });
}

void TfrmOplaty::reread()
{
    const int selected = selectedPayment() ? selectedPayment()->kod : 0;
    // Read in a transaction of its own: what another user committed since shows.
    FbTransaction reading(m_dm.ZNDB);
    reading.start();
    m_payments = payments::of(reading, m_document);
    m_amount = payments::documentAmount(reading, m_document);
    m_paid = payments::paidAmount(reading, m_document);
    reading.commit();

    m_grid->setRowCount(0);
    m_grid->setRowCount(int(m_payments.size()));
    for (int row = 0; row < int(m_payments.size()); ++row) {
        const Payment &p = m_payments[size_t(row)];
        auto *amount = new QTableWidgetItem(money(p.amount));
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_grid->setItem(row, 0,
                        new QTableWidgetItem(p.date.toString(QStringLiteral("dd.MM.yyyy"))));
        m_grid->setItem(row, 1, amount);
        m_grid->setItem(row, 2, new QTableWidgetItem(paymentKindText(p.kind)));
        m_grid->setItem(row, 3, new QTableWidgetItem(p.note));
        const QString recorded = auditLines(p.audit).join(u'\n');
        for (int column = 0; column < m_grid->columnCount(); ++column)
            m_grid->item(row, column)->setToolTip(recorded);
        if (p.kod == selected)
            m_grid->selectRow(row);
    }
    if (!selectedPayment() && !m_payments.empty())
        m_grid->selectRow(int(m_payments.size()) - 1);

    const double due = m_amount - m_paid;
    m_lblAmount->setText(QStringLiteral("Сумма документа: %1").arg(money(m_amount)));
    m_lblPaid->setText(QStringLiteral("Оплачено: %1").arg(money(m_paid)));
    m_lblDue->setText(due <= -kHalfTiyn
                          ? QStringLiteral("Переплата: %1").arg(money(-due))
                          : QStringLiteral("Осталось оплатить: %1").arg(money(std::max(due, 0.0))));
    m_btnEdit->setEnabled(selectedPayment());
    m_btnDel->setEnabled(selectedPayment());
    m_btnPolnostyu->setEnabled(due >= kHalfTiyn);
}

const Payment *TfrmOplaty::selectedPayment() const
{
    const QList<QTableWidgetItem *> items = m_grid->selectedItems();
    if (items.isEmpty())
        return nullptr;
    const int row = items.first()->row();
    return row < int(m_payments.size()) ? &m_payments[size_t(row)] : nullptr;
}

bool TfrmOplaty::enter(Payment &payment)
{
    PaymentDialog entry(m_prompts, payment, this);
    if (m_runDialog(entry) != QDialog::Accepted)
        return false;
    payment = entry.payment();
    return true;
}

bool TfrmOplaty::acceptOverpayment(const Payment &payment, int replaced)
{
    double paid = m_paid + payment.amount;
    for (const Payment &p : m_payments) {
        if (p.kod == replaced)
            paid -= p.amount;
    }
    if (paid - m_amount < kHalfTiyn)
        return true;
    return m_prompts.confirm(this, QString::fromUtf8(kOverpayQuestion)
                                       .arg(money(paid), money(m_amount), money(paid - m_amount)));
}

void TfrmOplaty::store(const std::function<void(FbTransaction &)> &change)
{
    {
        // Its own transaction, committed at once: rolled back, with nothing of the change
        // stored, when a step throws.
        FbTransaction writing(m_dm.ZNDB);
        writing.start();
        change(writing);
        writing.commit();
    }
    reread();
}

void TfrmOplaty::btnAddClick()
{
    Payment payment;
    payment.document = m_document;
    payment.date = QDate::currentDate();
    if (!enter(payment) || !acceptOverpayment(payment, 0))
        return;
    store([&](FbTransaction &t) { payments::add(t, payment); });
}

void TfrmOplaty::btnEditClick()
{
    const Payment *selected = selectedPayment();
    if (!selected)
        return;
    Payment payment = *selected;
    if (!enter(payment) || !acceptOverpayment(payment, payment.kod))
        return;
    store([&](FbTransaction &t) { payments::change(t, payment); });
}

void TfrmOplaty::btnDelClick()
{
    const Payment *selected = selectedPayment();
    if (!selected)
        return;
    const Payment payment = *selected;
    if (!m_prompts.confirm(this, QString::fromUtf8(kDeleteQuestion)
                                     .arg(money(payment.amount),
                                          payment.date.toString(QStringLiteral("dd.MM.yyyy")))))
        return;
    store([&](FbTransaction &t) { payments::remove(t, payment.kod); });
}

void TfrmOplaty::btnPolnostyuClick()
{
    Payment payment;
    payment.document = m_document;
    payment.date = QDate::currentDate();
    payment.kind = PaymentKind::Bank;
    // The remainder as stored now: another user's payment since the window read it counts.
    store([&](FbTransaction &t) {
        payment.amount =
            payments::documentAmount(t, m_document) - payments::paidAmount(t, m_document);
        if (payment.amount >= kHalfTiyn)
            payments::add(t, payment);
    });
}
