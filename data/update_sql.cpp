#include "update_sql.h"

#include "tables.h"

#include <QStringList>

#include <algorithm>

namespace {

// "update TABLE set C = :C, ... where KOD = :OLD_KOD" over columns.
QString updateSqlOf(const QString &table, const QStringList &columns)
{
    QStringList assignments;
    for (const QString &column : columns)
        assignments << QStringLiteral("  %1 = :%1").arg(column);
    return QStringLiteral("update ") + table + QStringLiteral("\nset\n") +
           assignments.join(QStringLiteral(",\n")) + QStringLiteral("\nwhere\n  KOD = :OLD_KOD");
}

} // namespace

UpdateSql makeUpdateSql(const TableDef &table, const QStringList &narrowColumns)
{
    const QStringList inTableOrder = table.columnNames();
    QStringList sorted = inTableOrder;
    std::sort(sorted.begin(), sorted.end());

    QStringList parameters;
    for (const QString &column : sorted)
        parameters << QLatin1Char(':') + column;
    const QString nl = QStringLiteral("\n");
    UpdateSql sql;
    sql.insertSql = QStringLiteral("insert into ") + table.name + nl + QStringLiteral("  (") +
                    sorted.join(QStringLiteral(", ")) + QStringLiteral(")") + nl +
                    QStringLiteral("values") + nl + QStringLiteral("  (") +
                    parameters.join(QStringLiteral(", ")) + QStringLiteral(")");
    sql.modifySql = updateSqlOf(table.name, sorted);
    if (!narrowColumns.isEmpty()) {
        sql.narrowColumns = narrowColumns;
        sql.narrowModifySql = updateSqlOf(table.name, narrowColumns);
    }
    sql.deleteSql = QStringLiteral("delete from ") + table.name + nl + QStringLiteral("where") +
                    nl + QStringLiteral("  KOD = :OLD_KOD");
    QStringList selected;
    for (const QString &column : inTableOrder)
        selected << QStringLiteral("  ") + column;
    sql.refreshSql = QStringLiteral("Select ") + nl + selected.join(QStringLiteral(",\n")) + nl +
                     QStringLiteral("from ") + table.name + QStringLiteral(" ") + nl +
                     QStringLiteral("where") + nl + QStringLiteral("  KOD = :KOD");
    return sql;
}
