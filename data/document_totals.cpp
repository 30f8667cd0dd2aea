#include "document_totals.h"

const QStringList &documentTotalsColumns()
{
    static const QStringList columns{QStringLiteral("STNDS"),     QStringLiteral("STREALIZSUM"),
                                     QStringLiteral("SUMBEZNDS"), QStringLiteral("VTNDS"),
                                     QStringLiteral("SUMTOV"),    QStringLiteral("SUMPROPIS")};
    return columns;
}
