#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>

// Readers of stored property values. Lengths may carry "mm" (millimetres), else they are units.
namespace zreport {

std::optional<double> parseLength(const QString &text);
std::optional<double> parseNumber(const QString &text);
std::optional<int> parseInteger(const QString &text);
std::optional<bool> parseBoolean(const QString &text);
// A member name (case ignored) or its ordinal.
std::optional<int> parseEnum(const QString &text, const QStringList &names);
// "[a,b]" or "a,b"; bit i set for names[i].
std::optional<unsigned> parseSet(const QString &text, const QStringList &names);
// clBlack, clWindowText, clNone (invalid colour), $00BBGGRR, #RRGGBB or a decimal number.
std::optional<QColor> parseColor(const QString &text);
QStringList splitStoredLines(const QString &text);

QString badValueMessage(const QString &property, const QString &value);
QString unknownPropertyMessage(const QString &property, const QString &className);

} // namespace zreport
