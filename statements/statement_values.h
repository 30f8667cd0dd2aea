#pragma once

#include <QDate>
#include <QString>

#include <optional>

// The values of a statement file as banks write them. Never through the C library's locale.
namespace statement_values {

// "1500.00", "1500", "1500.5", "-3.125", ".5"; a comma as the decimal separator and blanks
// between thousands are taken too. std::nullopt when not a number.
std::optional<double> amount(const QString &text);

// "05.12.2026" (also with a time after it, or "2026-12-05"); invalid when not a date.
QDate date(const QString &text);

// An account number to compare: upper case, without blanks.
QString account(const QString &text);

} // namespace statement_values
