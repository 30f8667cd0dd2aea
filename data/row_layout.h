#pragma once

#include "field_def.h"
#include "row.h"

#include <QString>
#include <QVariant>

#include <vector>

class FbStatement;

// Where a dataset's fields are kept in its rows: each stored or selected field has a column of
// the row, the calculated and look-up ones have none.
struct RowLayout {
    std::vector<FieldDef> fields;
    std::vector<int> column; // field index -> row column, or -1
    int storedCount = 0;     // the columns of a row
    int keyField = -1;       // the index of KOD, or -1

    // -1 when there is no such field; letter case is ignored.
    int fieldIndex(const QString &name) const;
    QVariant storedValue(const Row &row, int field) const;
    // Where each result column of `statement` goes in a row: its field's column, or -1.
    std::vector<int> rowColumns(const FbStatement &statement) const;
    // Whether the stored fields of two rows hold the same values, as the database keeps them; the
    // selected ones follow from others' rows (a payment), not from this row's.
    bool sameStoredValues(const Row &a, const Row &b) const;
    // The same for one field; true for a field that is not stored.
    bool sameStoredValue(const Row &a, const Row &b, int field) const;
};
