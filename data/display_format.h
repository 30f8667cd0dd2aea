#pragma once

#include "field_def.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <optional>

// How values look on screen and in printed text, in the desktop's locale (QLocale()).
namespace display {

// The general format: up to 15 significant digits, no trailing zeros, no grouping.
QString number(double value);

// The short date, followed by a blank and the long time when the time of day is not
// midnight.
QString dateTime(const QDateTime &value);

// A value of a field of type type as the user sees it; null gives the empty text.
QString text(const QVariant &value, FieldType type);

// The value that the user's text stands for in a field of type type; a null QVariant for
// the empty text; std::nullopt when the text is not such a value.
std::optional<QVariant> parse(const QString &text, FieldType type);

} // namespace display
