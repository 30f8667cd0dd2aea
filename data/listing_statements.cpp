#include "listing_statements.h"

QString clientsOfKindSql(int kind, const QString &orderColumn)
{
    return QStringLiteral("select * from CLIENTS where tip=%1 order by %2")
        .arg(kind)
        .arg(orderColumn);
}

QString nomenklOfKindSql(int kind, const QString &orderColumn)
{
    return QStringLiteral("select * from NOMENKLOTURA where tip=%1 order by %2")
        .arg(kind)
        .arg(orderColumn);
}
