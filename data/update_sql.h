#pragma once

#include <QString>

struct TableDef;

// The four statements through which a dataset writes one table whose key is KOD.
struct UpdateSql {
    QString insertSql;
    QString modifySql;
    QString deleteSql;
    QString refreshSql;
};

// Insert and modify list the columns in alphabetical order, refresh in table order.
UpdateSql makeUpdateSql(const TableDef &table);
