#include "value_text.h"

#include <charconv>
#include <cmath>

namespace zreport {

bool isNullValue(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

DecimalDigits decimalDigits(double value)
{
    DecimalDigits d;
    if (value == 0 || !std::isfinite(value))
        return d;
    // Not printf: its decimal point follows the C library's locale, which the application
    // takes from the desktop, so a Russian desktop would slip a comma in among the digits.
    char buffer[40];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 17);
    const char *p = buffer;
    const char *const end = written.ptr;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    for (; p != end && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            d.digits.append(*p);
    }
    int exponent = 0;
    if (p != end) {
        ++p; // 'e'
        if (p != end && *p == '+')
            ++p;
        std::from_chars(p, end, exponent);
    }
    d.pointPosition = exponent + 1;
    while (!d.digits.isEmpty() && d.digits.endsWith('0'))
        d.digits.chop(1);
    return d;
}

// Keeps the first `keep` digits, rounding on the next one; keep may be <= 0.
static DecimalDigits roundedKeeping(DecimalDigits d, int keep)
{
    if (keep >= d.digits.size())
        return d;
    if (keep < 0) {
        d.digits.clear();
        return d;
    }
    const bool up = d.digits.at(keep) >= '5';
    d.digits.truncate(keep);
    if (up) {
        int i = int(d.digits.size()) - 1;
        while (i >= 0 && d.digits.at(i) == '9') {
            d.digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            d.digits[i] = char(d.digits.at(i) + 1);
        } else {
            d.digits.prepend('1');
            d.pointPosition += 1;
        }
    }
    while (!d.digits.isEmpty() && d.digits.endsWith('0'))
        d.digits.chop(1);
    return d;
}

DecimalDigits roundedToDecimals(DecimalDigits d, int decimals)
{
    if (d.digits.isEmpty())
        return d;
    return roundedKeeping(d, d.pointPosition + decimals);
}

DecimalDigits roundedToSignificant(DecimalDigits d, int significant)
{
    return roundedKeeping(d, significant);
}

static QString digitsBeforePoint(const DecimalDigits &d)
{
    if (d.pointPosition <= 0)
        return QStringLiteral("0");
    QString s;
    for (int i = 0; i < d.pointPosition; ++i)
        s += QLatin1Char(i < d.digits.size() ? d.digits.at(i) : '0');
    return s;
}

static QString digitsAfterPoint(const DecimalDigits &d, int count)
{
    QString s;
    for (int i = 0; i < count; ++i) {
        const int index = d.pointPosition + i;
        s += QLatin1Char(index >= 0 && index < d.digits.size() ? d.digits.at(index) : '0');
    }
    return s;
}

QString fixedText(double value, int decimals, const QString &decimalPoint)
{
    const DecimalDigits d = roundedToDecimals(decimalDigits(value), decimals);
    QString s = digitsBeforePoint(d);
    if (decimals > 0)
        s += decimalPoint + digitsAfterPoint(d, decimals);
    if (d.negative && !d.digits.isEmpty())
        s.prepend(QLatin1Char('-'));
    return s;
}

QString generalText(double value, const QLocale &locale)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    const DecimalDigits d = roundedToSignificant(decimalDigits(value), 15);
    if (d.digits.isEmpty())
        return QStringLiteral("0");
    QString s;
    const int fractionDigits = std::max(0, int(d.digits.size()) - d.pointPosition);
    if (d.pointPosition > 15 || d.pointPosition < -4) {
        s += QLatin1Char(d.digits.at(0));
        if (d.digits.size() > 1)
            s += locale.decimalPoint() + QString::fromLatin1(d.digits.mid(1));
        s += QLatin1Char('E') + QString::number(d.pointPosition - 1);
    } else {
        s = digitsBeforePoint(d);
        if (fractionDigits > 0)
            s += locale.decimalPoint() + digitsAfterPoint(d, fractionDigits);
    }
    if (d.negative)
        s.prepend(QLatin1Char('-'));
    return s;
}

static const QDate &dayZero()
{
    static const QDate zero(1899, 12, 30);
    return zero;
}

QDateTime dateTimeFromDayNumber(double days)
{
    const double whole = std::floor(days);
    const qint64 ms = qint64(std::llround((days - whole) * 86400000.0));
    QDateTime dt(dayZero().addDays(qint64(whole)), QTime(0, 0));
    return dt.addMSecs(ms);
}

double dayNumberFromDateTime(const QDateTime &dt)
{
    const double days = double(dayZero().daysTo(dt.date()));
    return days + dt.time().msecsSinceStartOfDay() / 86400000.0;
}

QString longTimeText(const QTime &time, const QLocale &locale)
{
    // Qt's long time format ends with the zone name, which the desktop's does not show.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    return locale.toString(time, timeFormat.trimmed());
}

QString dateTimeText(const QDateTime &dt, const QLocale &locale)
{
    QString text = locale.toString(dt.date(), QLocale::ShortFormat);
    if (dt.time().msecsSinceStartOfDay() != 0)
        text += QLatin1Char(' ') + longTimeText(dt.time(), locale);
    return text;
}

bool isIntegerValue(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

bool isNumericValue(const QVariant &value)
{
    return isIntegerValue(value) || value.typeId() == QMetaType::Double ||
           value.typeId() == QMetaType::Float;
}

QString plainText(const QVariant &value, const QLocale &locale)
{
    if (isNullValue(value))
        return QString();
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float:
        return generalText(value.toDouble(), locale);
    case QMetaType::QDateTime:
        return dateTimeText(value.toDateTime(), locale);
    case QMetaType::QDate:
        return dateTimeText(QDateTime(value.toDate(), QTime(0, 0)), locale);
    case QMetaType::QTime:
        return longTimeText(value.toTime(), locale);
    default:
        if (isIntegerValue(value))
            return QString::number(value.toLongLong());
        return value.toString();
    }
}

} // namespace zreport
