#pragma once

#include <QString>
#include <QStringList>

struct TableDef;

// The four statements through which a dataset writes one table whose key is KOD.
struct UpdateSql {
    QString insertSql;
    QString modifySql;
    QString deleteSql;
    QString refreshSql;
    // A change of these columns alone is written by a statement that sets only them, so that a
    // user granted the change of only these columns can make it.
    QStringList narrowColumns;
    QString narrowModifySql;
};

// Insert and modify list the columns in alphabetical order, refresh in table order; the narrow
// modify sets narrowColumns, when given, in their order.
UpdateSql makeUpdateSql(const TableDef &table, const QStringList &narrowColumns = {});
