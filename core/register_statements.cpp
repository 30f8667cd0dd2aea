#include "register_statements.h"

#include "data/date_time.h"

#include <QStringList>

namespace {

// Containment by position rather than by a pattern: a "%" or "_" in the client text is a
// character to find like any other, and the comparison of the single-byte texts is
// case-sensitive.
const QString kClientFilter = QStringLiteral(" position(:ORG in nameorg) > 0 ");
const QString kClientParameter = QStringLiteral("ORG");

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

SelectStatement viewStatement(RegisterView view)
{
    const QString where = view == RegisterView::All
                              ? QStringLiteral(" ")
                              : QStringLiteral(" where") + archiveCondition(view);
    return {QStringLiteral("select * from DOCS ") + where + QStringLiteral(" order by NUMSCH"), {}};
}

SelectStatement queryStatement(RegisterView view, const QString &client, QDate from, QDate to)
{
    SelectStatement result;
    const QString archive = view == RegisterView::All
                                ? QStringLiteral(" ")
                                : archiveCondition(view) + QStringLiteral("and");
    QString name = QStringLiteral(" ");
    if (!client.isEmpty()) {
        name = kClientFilter + QStringLiteral("and ");
        result.parameters[kClientParameter] = client;
    }
    const QString dates = QStringLiteral(" datasch between :DATE1 and :DATE2");
    result.parameters[QStringLiteral("DATE1")] = datetime::make(from);
    result.parameters[QStringLiteral("DATE2")] = datetime::make(to);
    result.sql = QStringLiteral("select * from DOCS where ") + archive + name + dates +
                 QStringLiteral(" order by ") + QStringLiteral("NUMSCH");
    return result;
}

namespace {

// The documents of a view whose name contains client, no date filter: what follows "from DOCS".
SelectStatement viewAndClient(RegisterView view, const QString &client)
{
    SelectStatement result;
    QStringList conditions;
    if (view != RegisterView::All)
        conditions << archiveCondition(view);
    if (!client.isEmpty()) {
        conditions << kClientFilter;
        result.parameters[kClientParameter] = client;
    }
    result.sql =
        conditions.isEmpty() ? QString() : QStringLiteral(" where") + conditions.join(u"and");
    return result;
}

} // namespace

SelectStatement sortStatement(RegisterView view, const QString &client, const QString &column)
{
    SelectStatement result = viewAndClient(view, client);
    result.sql =
        QStringLiteral("select * from DOCS") + result.sql + QStringLiteral(" order by ") + column;
    return result;
}

SelectStatement earliestDocumentStatement(RegisterView view, const QString &client)
{
    SelectStatement result = viewAndClient(view, client);
    result.sql = QStringLiteral("select first 1 KOD, DATASCH from DOCS") + result.sql +
                 QStringLiteral(" order by DATASCH");
    return result;
}

SelectStatement latestInvoiceDateStatement(RegisterView view, const QString &client)
{
    SelectStatement result = viewAndClient(view, client);
    result.sql = QStringLiteral("select max(DATASCH) from DOCS") + result.sql;
    return result;
}
