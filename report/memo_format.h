#pragma once

#include "form_locale.h"
#include "report_model.h"

#include <QLocale>
#include <QString>
#include <QVariant>

#include <optional>

// Turning values into memo text through a memo's display format.
namespace zreport {

// Never fails: a value the format cannot take prints as its plain text.
QString formatValue(const QVariant &value, const DisplayFormat &format,
                    const QLocale &locale = formLocale());

// The printf-like form ("%2.2f", "%d", "%8.3n"); nullopt when the value does not fit it.
std::optional<QString> formatWithSpecifier(const QString &format, const QVariant &value,
                                           const QLocale &locale);
// The picture form ("#,##0.00", "0.000;(0.000);zero").
QString formatPicture(double value, const QString &format, const QLocale &locale);
// Date-time patterns ("dd.mm.yyyy hh:nn"); an empty pattern is the short date and long time.
QString formatDateTimePattern(const QDateTime &dt, const QString &pattern, const QLocale &locale);

std::optional<double> toNumber(const QVariant &value, const QLocale &locale);
std::optional<QDateTime> toDateTime(const QVariant &value, const QLocale &locale);

} // namespace zreport
