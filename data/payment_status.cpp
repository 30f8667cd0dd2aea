#include "payment_status.h"

#include <QVariant>

namespace {

// Amounts closer than half a tiyn are one amount: the sums of stored doubles carry noise.
constexpr double kHalfTiyn = 0.005;

} // namespace

PaymentStatus paymentStatus(double amount, double paid, std::optional<QDate> due, QDate at)
{
    if (paid - amount >= kHalfTiyn)
        return PaymentStatus::Overpaid;
    if (amount - paid < kHalfTiyn && paid >= kHalfTiyn)
        return PaymentStatus::Paid;
    if (due && due->isValid() && *due < at && amount - paid >= kHalfTiyn)
        return PaymentStatus::Overdue;
    return paid >= kHalfTiyn ? PaymentStatus::Partial : PaymentStatus::Unpaid;
}

QString paymentStatusText(PaymentStatus status)
{
    switch (status) {
    case PaymentStatus::Unpaid:
        return QStringLiteral("не оплачен");
    case PaymentStatus::Partial:
        return QStringLiteral("оплачен частично");
    case PaymentStatus::Paid:
        return QStringLiteral("оплачен");
    case PaymentStatus::Overpaid:
        return QStringLiteral("переплата");
    case PaymentStatus::Overdue:
        return QStringLiteral("просрочен");
    }
    return {};
}

QString paymentStatusText(const QVariant &code)
{
    bool ok = false;
    const int value = code.toInt(&ok);
    if (code.isNull() || !ok || value < int(PaymentStatus::Unpaid) ||
        value > int(PaymentStatus::Overdue))
        return {};
    return paymentStatusText(PaymentStatus(value));
}

namespace payment_sql {

QString amount()
{
    return QStringLiteral(
        "(select round(coalesce(sum(L.STREALIZ), 0), 2) from DETAILDOCS L where L.KODDOCS = D.KOD)");
}

QString paid()
{
    return QStringLiteral(
        "(select round(coalesce(sum(P.AMOUNT), 0), 2) from PAYMENTS P where P.KODDOCS = D.KOD)");
}

QString dueDate()
{
    return QStringLiteral("(select S.SROK from DUEDATES S where S.KODDOCS = D.KOD)");
}

QString status()
{
    // The same order of rules as paymentStatus.
    const QString a = amount();
    const QString p = paid();
    return QStringLiteral("(case when %2 - %1 >= 0.005 then 3 "
                          "when %1 - %2 < 0.005 and %2 >= 0.005 then 2 "
                          "when %3 < :%4 and %1 - %2 >= 0.005 then 4 "
                          "when %2 >= 0.005 then 1 else 0 end)")
        .arg(a, p, dueDate(), QString::fromLatin1(kDateParameter));
}

} // namespace payment_sql
