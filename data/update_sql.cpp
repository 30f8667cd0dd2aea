#include "update_sql.h"

#include "tables.h"

#include <QStringList>

#include <algorithm>

UpdateSql makeUpdateSql(const TableDef &table, const QStringList &narrowColumns)
{
    const QStringList inTableOrder = table.columnNames();
    QStringList sorted = inTableOrder;
    std::sort(sorted.begin(), sorted.end());

    QStringList parameters;
    QStringList assignments;
    for (const QString &column : sorted) {
        parameters << QLatin1Char(':') + column;
        assignments << QStringLiteral("  %1 = :%1").arg(column);
    }
    const QString nl = QStringLiteral("\n");
    UpdateSql sql;
    sql.insertSql = QStringLiteral("insert into ") + table.name + nl + QStringLiteral("  (") +
                    sorted.join(QStringLiteral(", ")) + QStringLiteral(")") + nl +
                    QStringLiteral("values") + nl + QStringLiteral("  (") +
                    parameters.join(QStringLiteral(", ")) + QStringLiteral(")");
    sql.modifySql = QStringLiteral("update ") + table.name + nl + QStringLiteral("set") + nl +
                    assignments.join(QStringLiteral(",\n")) + nl + QStringLiteral("where") + nl +
                    QStringLiteral("  KOD = :OLD_KOD");
    if (!narrowColumns.isEmpty()) {
        QStringList narrow;
        for (const QString &column : narrowColumns)
            narrow << QStringLiteral("  %1 = :%1").arg(column);
        sql.narrowColumns = narrowColumns;
        sql.narrowModifySql = QStringLiteral("update ") + table.name + nl + QStringLiteral("set") +
                              nl + narrow.join(QStringLiteral(",\n")) + nl +
                              QStringLiteral("where") + nl + QStringLiteral("  KOD = :OLD_KOD");
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
