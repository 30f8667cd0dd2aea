#include "register_statements.h"

#include "data/date_time.h"
#include "data/payment_status.h"

#include <QStringList>

namespace {

// Containment by position rather than by a pattern: a "%" or "_" in the client text is a
// character to find like any other, and the comparison of the single-byte texts is
// case-sensitive.
const QString kClientFilter = QStringLiteral(" position(:ORG in nameorg) > 0 ");
const QString kClientParameter = QStringLiteral("ORG");

QString paymentCondition(PaymentFilter filter)
{
    switch (filter) {
    case PaymentFilter::All:
        break;
    case PaymentFilter::Unpaid:
        return QStringLiteral(" %1 in (0, 1, 4) ").arg(payment_sql::status());
    case PaymentFilter::Overdue:
        return QStringLiteral(" %1 = 4 ").arg(payment_sql::status());
    }
    return {};
}

// Binds today to the status of statements that compute or filter by it.
void bindToday(SelectStatement &statement)
{
    if (statement.sql.contains(QLatin1Char(':') + QString::fromLatin1(payment_sql::kDateParameter)))
        statement.parameters[QString::fromLatin1(payment_sql::kDateParameter)] = datetime::today();
}

QString archiveCondition(RegisterView view)
{
    switch (view) {
    case RegisterView::Current:
        return QStringLiteral(" KODARCHIV=0 ");
    case RegisterView::Archived:
        return QStringLiteral(" KODARCHIV=1 ");
    case RegisterView::All:
        break;
    }
    return QStringLiteral(" ");
}

} // namespace

SelectStatement viewStatement(RegisterView view, PaymentFilter filter)
{
    QStringList conditions;
    if (view != RegisterView::All)
        conditions << archiveCondition(view);
    if (filter != PaymentFilter::All)
        conditions << paymentCondition(filter);
    const QString where = conditions.isEmpty() ? QStringLiteral(" ")
                                               : QStringLiteral(" where") + conditions.join(u"and");
    SelectStatement result{
        payment_sql::documentsSelect() + where + QStringLiteral(" order by NUMSCH"), {}};
    bindToday(result);
    return result;
}

SelectStatement queryStatement(RegisterView view, const QString &client, QDate from, QDate to,
                               PaymentFilter filter)
{
    SelectStatement result;
    QString archive = view == RegisterView::All ? QStringLiteral(" ")
                                                : archiveCondition(view) + QStringLiteral("and");
    if (filter != PaymentFilter::All)
        archive += paymentCondition(filter) + QStringLiteral("and");
    QString name = QStringLiteral(" ");
    if (!client.isEmpty()) {
        name = kClientFilter + QStringLiteral("and ");
        result.parameters[kClientParameter] = client;
    }
    const QString dates = QStringLiteral(" datasch between :DATE1 and :DATE2");
    result.parameters[QStringLiteral("DATE1")] = datetime::make(from);
    result.parameters[QStringLiteral("DATE2")] = datetime::make(to);
    result.sql = payment_sql::documentsSelect() + QStringLiteral("where ") + archive + name +
                 dates + QStringLiteral(" order by ") + QStringLiteral("NUMSCH");
    bindToday(result);
    return result;
}

namespace {

// The documents of a view whose name contains client, no date filter: what follows "from DOCS".
SelectStatement viewAndClient(RegisterView view, const QString &client, PaymentFilter filter)
{
    SelectStatement result;
    QStringList conditions;
    if (view != RegisterView::All)
        conditions << archiveCondition(view);
    if (filter != PaymentFilter::All)
        conditions << paymentCondition(filter);
    if (!client.isEmpty()) {
        conditions << kClientFilter;
        result.parameters[kClientParameter] = client;
    }
    result.sql =
        conditions.isEmpty() ? QString() : QStringLiteral(" where") + conditions.join(u"and");
    return result;
}

} // namespace

SelectStatement sortStatement(RegisterView view, const QString &client, const QString &column,
                              PaymentFilter filter)
{
    SelectStatement result = viewAndClient(view, client, filter);
    result.sql =
        payment_sql::documentsSelect() + result.sql + QStringLiteral(" order by ") + column;
    bindToday(result);
    return result;
}

SelectStatement earliestDocumentStatement(RegisterView view, const QString &client,
                                          PaymentFilter filter)
{
    SelectStatement result = viewAndClient(view, client, filter);
    result.sql = QStringLiteral("select first 1 KOD, DATASCH from DOCS D") + result.sql +
                 QStringLiteral(" order by DATASCH");
    bindToday(result);
    return result;
}

SelectStatement latestInvoiceDateStatement(RegisterView view, const QString &client,
                                           PaymentFilter filter)
{
    SelectStatement result = viewAndClient(view, client, filter);
    result.sql = QStringLiteral("select max(DATASCH) from DOCS D") + result.sql;
    bindToday(result);
    return result;
}
