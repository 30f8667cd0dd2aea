#pragma once

#include "form_locale.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QVariant>

// Plain text of report values, by default in the printed forms' conventions (formLocale()).
namespace zreport {

bool isNullValue(const QVariant &value);

// Decimal digits of a double as the reference platform saw them: 18 significant digits,
// rounded from there with exact halves away from zero.
struct DecimalDigits {
    bool negative = false;
    QByteArray digits;     // significant digits, no leading zeros; empty for zero
    int pointPosition = 0; // digits before the decimal point (may be <= 0 or > digits.size())
};
DecimalDigits decimalDigits(double value);
// Rounds to the given number of decimals (halves away from zero).
DecimalDigits roundedToDecimals(DecimalDigits d, int decimals);
// Rounds to the given number of significant digits (halves away from zero).
DecimalDigits roundedToSignificant(DecimalDigits d, int significant);

// Fixed-point text with exactly `decimals` decimals; no grouping.
QString fixedText(double value, int decimals, const QString &decimalPoint);
// The shortest general form with up to 15 significant digits ("6.5", "1E20").
QString generalText(double value, const QLocale &locale = formLocale());

// Day numbers count from 30 December 1899, the time of day as the fraction.
QDateTime dateTimeFromDayNumber(double days);
double dayNumberFromDateTime(const QDateTime &dt);
// Short date, then a blank and the long time unless the time is midnight.
QString dateTimeText(const QDateTime &dt, const QLocale &locale = formLocale());
QString longTimeText(const QTime &time, const QLocale &locale = formLocale());

// Text, whole numbers in decimal, floats in general form, date-times as above,
// booleans "True"/"False"; null is empty.
QString plainText(const QVariant &value, const QLocale &locale = formLocale());

bool isIntegerValue(const QVariant &value);
bool isNumericValue(const QVariant &value);

} // namespace zreport
