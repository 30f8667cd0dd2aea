#pragma once

#include "field_def.h"

#include <QStringList>

#include <vector>

struct ColumnDef {
    QString name;
    FieldType type;
    int size = 0; // characters, for text
    bool notNull = false;
};

// A table of the database with its columns in table order, as the schema script
// creates it; every table's key is KOD.
struct TableDef {
    QString name;
    std::vector<ColumnDef> columns;

    QString generator() const { return name + QStringLiteral("_KOD_GEN"); }
    QStringList columnNames() const;
    const ColumnDef *column(const QString &columnName) const;
};

const TableDef &docsTable();
const TableDef &detailDocsTable();
const TableDef &clientsTable();
const TableDef &rasschetTable();
const TableDef &osnovanieTable();
const TableDef &nomenklaturaTable();
const TableDef &knpTable();
const TableDef &rekvizityTable();

const std::vector<const TableDef *> &allTables();
