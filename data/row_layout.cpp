#include "row_layout.h"

#include "fb_statement.h"
#include "field_values.h"

int RowLayout::fieldIndex(const QString &name) const
{
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

QVariant RowLayout::storedValue(const Row &row, int field) const
{
    return field_values::read(row, column[size_t(field)], fields[size_t(field)].type);
}

std::vector<int> RowLayout::rowColumns(const FbStatement &statement) const
{
    std::vector<int> target(size_t(statement.columnCount()), -1);
    for (int c = 0; c < statement.columnCount(); ++c) {
        const int index = fieldIndex(statement.columnName(c));
        if (index >= 0)
            target[size_t(c)] = column[size_t(index)];
    }
    return target;
}

bool RowLayout::sameStoredValue(const Row &a, const Row &b, int field) const
{
    const int c = column[size_t(field)];
    if (c < 0 || fields[size_t(field)].source != FieldSource::Data)
        return true;
    if (a.isNull(c) != b.isNull(c))
        return false;
    if (a.isNull(c))
        return true;
    switch (fields[size_t(field)].type) {
    case FieldType::Integer:
    case FieldType::SmallInt:
        return a.integer(c) == b.integer(c);
    case FieldType::Float:
        return a.real(c) == b.real(c);
    case FieldType::DateTime:
        // The columns are dates: a time of day given here is not stored.
        return a.dateTime(c).date() == b.dateTime(c).date();
    case FieldType::Text:
        return a.text(c) == b.text(c);
    }
    return true;
}

bool RowLayout::sameStoredValues(const Row &a, const Row &b) const
{
    for (size_t i = 0; i < fields.size(); ++i) {
        if (!sameStoredValue(a, b, int(i)))
            return false;
    }
    return true;
}
