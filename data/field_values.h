#pragma once

#include "field_def.h"
#include "row.h"

#include <QDateTime>
#include <QVariant>

#include <cstdint>

// Values of a dataset's fields: between the KZ-1048 bytes and numbers of a fetched row
// and the QVariants the program works with, and from what a caller assigns to what the
// field's type holds. Errors are DbError with the text the user sees.
namespace field_values {

// The value in `column` of `row` for a field of `type`; null stays a null QVariant.
QVariant read(const Row &row, int column, FieldType type);

// Stores `value` (already of the field's type, or null) in `column` of `row`. Throws when a
// text holds characters KZ-1048 cannot store.
void write(Row &row, int column, const FieldDef &field, const QVariant &value);

// `value` as the field's type holds it: texts are parsed as the user would type them, numbers
// are rounded into whole-number fields within their range. Throws when it is no such value.
QVariant converted(const QVariant &value, const FieldDef &field);

// A field's value read as another type, as the windows and the report engine read them:
// null reads as 0 or the day zero; a text that is no such value throws.
qint64 asInteger(const QVariant &value, FieldType type);
double asFloat(const QVariant &value, FieldType type);
QDateTime asDateTime(const QVariant &value, FieldType type);

} // namespace field_values
