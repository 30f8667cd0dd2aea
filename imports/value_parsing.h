#pragma once

#include <QString>

#include <optional>

// A number as spreadsheets write it: "1250.5", "1 250,50" (blanks or non-breaking blanks
// between thousands), "1.250,50" or "1,250.50" (the last separator is the decimal one).
// std::nullopt when the text is not a number. Never goes through the C library's locale.
std::optional<double> parseNumber(const QString &text);
