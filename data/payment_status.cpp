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
    return QStringLiteral("coalesce((select round(A.AMOUNT, 2) from DOC_AMOUNTS A where "
                          "A.KODDOCS = D.KOD), 0)");
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
    // The same order of rules as paymentStatus, in one subquery over the document's stored
    // amount and due date (V: what it comes to, S) and its payments (W: what was paid, taken
    // off V), so that each is read once per document.
    return QStringLiteral(
               "(select case when sum(X.V) <= -0.005 then 3 "
               "when sum(X.V) < 0.005 and sum(X.W) >= 0.005 then 2 "
               "when max(X.S) < :%1 and sum(X.V) >= 0.005 then 4 "
               "when sum(X.W) >= 0.005 then 1 else 0 end from ("
               "select A.AMOUNT as V, 0 as W, A.SROK as S from DOC_AMOUNTS A "
               "where A.KODDOCS = D.KOD "
               "union all select -P.AMOUNT, P.AMOUNT, cast(null as date) from PAYMENTS P "
               "where P.KODDOCS = D.KOD) X)")
        .arg(QString::fromLatin1(kDateParameter));
}

QString documentsSelect()
{
    return QStringLiteral("select D.*, %1 as OPLACHENO, %2 as STATUS from DOCS D ")
        .arg(paid(), status());
}

} // namespace payment_sql
