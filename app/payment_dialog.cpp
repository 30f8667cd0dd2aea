#include "payment_dialog.h"

#include "ui/date_edit.h"
#include "ui/prompt_service.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

#include <cmath>

const char *const PaymentDialog::kBadAmount =
    "Сумма оплаты должна быть числом не меньше 0,01, например 1500,50";

std::optional<double> parseTypedAmount(const QString &text)
{
    QString plain = text.trimmed();
    plain.remove(QLatin1Char(' ')).remove(QChar(0x00A0)).remove(QChar(0x202F));
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = QLocale::c().toDouble(plain, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

PaymentDialog::PaymentDialog(PromptService &prompts, const Payment &payment, QWidget *parent)
    : QDialog(parent), m_prompts(prompts), m_payment(payment)
{
    setObjectName(QStringLiteral("frmPayment"));
    setWindowTitle(payment.kod ? QStringLiteral("Изменить оплату")
                               : QStringLiteral("Добавить оплату"));

    m_date = new DateEdit(this);
    m_date->setObjectName(QStringLiteral("dateOpl"));
    m_date->setDate(payment.date.isValid() ? payment.date : QDate::currentDate());
    m_amount = new QLineEdit(this);
    m_amount->setObjectName(QStringLiteral("edSumma"));
    if (payment.amount != 0)
        m_amount->setText(QLocale().toString(payment.amount, 'f', 2));
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("cbVid"));
    for (PaymentKind kind : {PaymentKind::Bank, PaymentKind::Cash, PaymentKind::Other})
        m_kind->addItem(paymentKindText(kind), int(kind));
    m_kind->setCurrentIndex(m_kind->findData(int(payment.kind)));
    m_note = new QLineEdit(payment.note, this);
    m_note->setObjectName(QStringLiteral("edPrim"));
    m_note->setMaxLength(256);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    QPushButton *cancel =
        buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    // "OK" checks before it closes: the box's accepted() is left unconnected.
    connect(ok, &QPushButton::clicked, this, &PaymentDialog::btnOkClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Дата:"), m_date);
    form->addRow(QStringLiteral("Сумма:"), m_amount);
    form->addRow(QStringLiteral("Вид:"), m_kind);
    form->addRow(QStringLiteral("Примечание:"), m_note);
    form->addRow(buttons);
    resize(360, sizeHint().height());
}

Payment PaymentDialog::payment() const
{
    Payment result = m_payment;
    result.date = m_date->date();
    result.amount = parseTypedAmount(m_amount->text()).value_or(0);
    result.kind = PaymentKind(m_kind->currentData().toInt());
    result.note = m_note->text().trimmed();
    return result;
}

void PaymentDialog::btnOkClick()
{
    const std::optional<double> amount = parseTypedAmount(m_amount->text());
    if (!amount || *amount < 0.005) {
        m_prompts.inform(this, QString::fromUtf8(kBadAmount));
        m_amount->setFocus();
        m_amount->selectAll();
        return;
    }
    accept();
}
