#include "memo_format.h"

#include "value_text.h"

#include <algorithm>
#include <cmath>

namespace zreport {

std::optional<double> toNumber(const QVariant &value, const QLocale &locale)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? 1.0 : 0.0;
    case QMetaType::QDateTime:
        return dayNumberFromDateTime(value.toDateTime());
    case QMetaType::QDate:
        return dayNumberFromDateTime(QDateTime(value.toDate(), QTime(0, 0)));
    case QMetaType::QString: {
        bool ok = false;
        const double v = locale.toDouble(value.toString().trimmed(), &ok);
        if (ok)
            return v;
        return std::nullopt;
    }
    default:
        if (isNumericValue(value))
            return value.toDouble();
        return std::nullopt;
    }
}

std::optional<QDateTime> toDateTime(const QVariant &value, const QLocale &locale)
{
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime();
    case QMetaType::QDate:
        return QDateTime(value.toDate(), QTime(0, 0));
    case QMetaType::QTime:
        return dateTimeFromDayNumber(0).addMSecs(value.toTime().msecsSinceStartOfDay());
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        QDateTime dt = locale.toDateTime(text, locale.dateFormat(QLocale::ShortFormat));
        if (!dt.isValid()) {
            const QDate d = locale.toDate(text, QLocale::ShortFormat);
            if (d.isValid())
                dt = QDateTime(d, QTime(0, 0));
        }
        if (dt.isValid())
            return dt;
        return std::nullopt;
    }
    default:
        if (isNumericValue(value) && std::isfinite(value.toDouble()) &&
            std::abs(value.toDouble()) < 3e6)
            return dateTimeFromDayNumber(value.toDouble());
        return std::nullopt;
    }
}

static QString groupThousands(const QString &digits, const QString &separator)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += digits.at(i);
    }
    return out;
}

static QString fixedWithGrouping(double value, int decimals, const QLocale &locale)
{
    const QString fixed = fixedText(std::abs(value), decimals, locale.decimalPoint());
    const qsizetype point =
        decimals > 0 ? fixed.size() - decimals - locale.decimalPoint().size() : fixed.size();
    QString text = groupThousands(fixed.left(point), locale.groupSeparator()) + fixed.mid(point);
    const bool nonZero = std::any_of(fixed.cbegin(), fixed.cend(),
                                     [](QChar c) { return c.isDigit() && c != QLatin1Char('0'); });
    if (value < 0 && nonZero)
        text.prepend(QLatin1Char('-'));
    return text;
}

static QString scientificText(double value, int significant, const QLocale &locale)
{
    const DecimalDigits d = roundedToSignificant(decimalDigits(value), significant);
    QString mantissa = QString::fromLatin1(d.digits.isEmpty() ? QByteArray("0") : d.digits);
    mantissa = mantissa.leftJustified(significant, QLatin1Char('0'));
    QString text = mantissa.left(1);
    if (significant > 1)
        text += locale.decimalPoint() + mantissa.mid(1);
    const int exponent = d.digits.isEmpty() ? 0 : d.pointPosition - 1;
    text += QString(QLatin1Char('E')) + QLatin1Char(exponent < 0 ? '-' : '+') +
            QString::number(std::abs(exponent)).rightJustified(3, QLatin1Char('0'));
    if (d.negative && !d.digits.isEmpty())
        text.prepend(QLatin1Char('-'));
    return text;
}

std::optional<QString> formatWithSpecifier(const QString &format, const QVariant &value,
                                           const QLocale &locale)
{
    QString out;
    bool argumentUsed = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c != QLatin1Char('%')) {
            out += c;
            continue;
        }
        if (i + 1 < format.size() && format.at(i + 1) == QLatin1Char('%')) {
            out += c;
            ++i;
            continue;
        }
        if (argumentUsed)
            return std::nullopt; // more specifiers than values
        argumentUsed = true;
        qsizetype j = i + 1;
        const auto readNumber = [&]() {
            int n = -1;
            while (j < format.size() && format.at(j).isDigit() && n < 1000)
                n = (n < 0 ? 0 : n * 10) + format.at(j++).digitValue();
            return n;
        };
        int index = readNumber();
        if (index >= 0 && j < format.size() && format.at(j) == QLatin1Char(':')) {
            ++j;
            if (index != 0)
                return std::nullopt;
        } else if (index >= 0) {
            j = i + 1; // it was the width
        }
        bool leftAlign = false;
        if (j < format.size() && format.at(j) == QLatin1Char('-')) {
            leftAlign = true;
            ++j;
        }
        const int width = readNumber();
        int precision = -1;
        if (j < format.size() && format.at(j) == QLatin1Char('.')) {
            ++j;
            precision = std::max(0, readNumber());
        }
        if (j >= format.size())
            return std::nullopt;
        const QChar type = format.at(j).toLower();
        i = j;
        QString text;
        if (type == QLatin1Char('s')) {
            text = plainText(value, locale);
            if (precision >= 0)
                text.truncate(precision);
        } else if (type == QLatin1Char('d') || type == QLatin1Char('u') ||
                   type == QLatin1Char('x')) {
            const auto number = toNumber(value, locale);
            if (!number || !std::isfinite(*number) || std::abs(*number) > 9.2e18)
                return std::nullopt;
            const qint64 whole = qint64(std::nearbyint(*number));
            if (type == QLatin1Char('x'))
                text = QString::number(quint64(whole), 16).toUpper();
            else
                text = QString::number(std::abs(whole));
            if (precision > 0)
                text = text.rightJustified(precision, QLatin1Char('0'));
            if (whole < 0 && type == QLatin1Char('d'))
                text.prepend(QLatin1Char('-'));
        } else {
            const auto number = toNumber(value, locale);
            if (!number)
                return std::nullopt;
            if (type == QLatin1Char('f'))
                text = fixedText(*number, precision < 0 ? 2 : std::min(precision, 18),
                                 locale.decimalPoint());
            else if (type == QLatin1Char('n') || type == QLatin1Char('m'))
                text =
                    fixedWithGrouping(*number, precision < 0 ? 2 : std::min(precision, 18), locale);
            else if (type == QLatin1Char('e'))
                text = scientificText(*number, precision < 0 ? 15 : std::clamp(precision, 1, 18),
                                      locale);
            else if (type == QLatin1Char('g'))
                text = generalText(*number, locale);
            else
                return std::nullopt;
        }
        if (width > int(text.size()))
            text = leftAlign ? text.leftJustified(width) : text.rightJustified(width);
        out += text;
    }
    return out;
}

namespace {

struct PictureSection {
    QString prefix, suffix;
    int integerZeros = 0;
    int decimals = 0;
    int decimalZeros = 0;
    bool grouping = false;
};

QStringList splitSections(const QString &format)
{
    QStringList sections{QString()};
    QChar quote;
    for (const QChar c : format) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char(';')) {
            sections << QString();
            continue;
        }
        sections.last() += c;
    }
    return sections;
}

PictureSection parseSection(const QString &section)
{
    PictureSection s;
    bool inNumber = false, afterNumber = false, afterPoint = false;
    QChar quote;
    for (const QChar c : section) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                (inNumber || afterNumber ? s.suffix : s.prefix) += c;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            if (inNumber) {
                inNumber = false;
                afterNumber = true;
            }
            continue;
        }
        const bool placeholder = c == QLatin1Char('0') || c == QLatin1Char('#');
        const bool numberChar = placeholder || c == QLatin1Char('.') || c == QLatin1Char(',');
        if (numberChar && !afterNumber) {
            inNumber = true;
            if (c == QLatin1Char('.'))
                afterPoint = true;
            else if (c == QLatin1Char(','))
                s.grouping = s.grouping || !afterPoint;
            else if (afterPoint) {
                ++s.decimals;
                if (c == QLatin1Char('0'))
                    s.decimalZeros = s.decimals;
            } else if (c == QLatin1Char('0')) {
                ++s.integerZeros;
            }
            continue;
        }
        if (inNumber) {
            inNumber = false;
            afterNumber = true;
        }
        (afterNumber ? s.suffix : s.prefix) += c;
    }
    return s;
}

} // namespace

QString formatPicture(double value, const QString &format, const QLocale &locale)
{
    const QStringList sections = splitSections(format);
    QString section = sections.value(0);
    bool signInSection = false;
    const DecimalDigits probe = decimalDigits(value);
    if (value < 0 && sections.size() > 1 && !sections[1].isEmpty()) {
        section = sections[1];
        signInSection = true;
    } else if (probe.digits.isEmpty() && sections.size() > 2 && !sections[2].isEmpty()) {
        section = sections[2];
    }
    const PictureSection s = parseSection(section);
    const DecimalDigits d = roundedToDecimals(decimalDigits(std::abs(value)), s.decimals);
    QString integer;
    for (int i = 0; i < d.pointPosition; ++i)
        integer += QLatin1Char(i < d.digits.size() ? d.digits.at(i) : '0');
    if (integer.size() < s.integerZeros)
        integer = integer.rightJustified(s.integerZeros, QLatin1Char('0'));
    if (s.grouping)
        integer = groupThousands(integer, locale.groupSeparator());
    QString fraction;
    for (int i = 0; i < s.decimals; ++i) {
        const int index = d.pointPosition + i;
        fraction += QLatin1Char(index >= 0 && index < d.digits.size() ? d.digits.at(index) : '0');
    }
    while (fraction.size() > s.decimalZeros && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    QString number = integer;
    if (!fraction.isEmpty())
        number += locale.decimalPoint() + fraction;
    if (number.isEmpty())
        number = QStringLiteral("0");
    const bool negative = value < 0 && !d.digits.isEmpty() && !signInSection;
    return (negative ? QStringLiteral("-") : QString()) + s.prefix + number + s.suffix;
}

QString formatDateTimePattern(const QDateTime &dt, const QString &pattern, const QLocale &locale)
{
    if (pattern.isEmpty())
        return dateTimeText(dt, locale);
    QString out;
    const QString lower = pattern.toLower();
    bool lastWasHour = false;
    qsizetype i = 0;
    const auto run = [&](QChar c) {
        qsizetype n = 0;
        while (i + n < lower.size() && lower.at(i + n) == c)
            ++n;
        return n;
    };
    const QDate date = dt.date();
    const QTime time = dt.time();
    while (i < pattern.size()) {
        const QChar c = lower.at(i);
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype end = pattern.indexOf(pattern.at(i), i + 1);
            out += pattern.mid(i + 1, end < 0 ? -1 : end - i - 1);
            i = end < 0 ? pattern.size() : end + 1;
            continue;
        }
        const qsizetype n = run(c);
        if (c == QLatin1Char('c')) {
            out += dateTimeText(dt, locale);
        } else if (c == QLatin1Char('d')) {
            if (n >= 5)
                out += locale.toString(date, n == 5 ? QLocale::ShortFormat : QLocale::LongFormat);
            else if (n == 4)
                out += locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
            else if (n == 3)
                out += locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
            else
                out += QString::number(date.day()).rightJustified(int(n), QLatin1Char('0'));
        } else if (c == QLatin1Char('m')) {
            if (lastWasHour && n <= 2)
                out += QString::number(time.minute()).rightJustified(int(n), QLatin1Char('0'));
            else if (n >= 4)
                out += locale.monthName(date.month(), QLocale::LongFormat);
            else if (n == 3)
                out += locale.monthName(date.month(), QLocale::ShortFormat);
            else
                out += QString::number(date.month()).rightJustified(int(n), QLatin1Char('0'));
        } else if (c == QLatin1Char('y')) {
            out += n <= 2 ? QString::number(date.year() % 100).rightJustified(2, QLatin1Char('0'))
                          : QString::number(date.year());
        } else if (c == QLatin1Char('h')) {
            out += QString::number(time.hour())
                       .rightJustified(int(std::min<qsizetype>(n, 2)), QLatin1Char('0'));
        } else if (c == QLatin1Char('n')) {
            out += QString::number(time.minute())
                       .rightJustified(int(std::min<qsizetype>(n, 2)), QLatin1Char('0'));
        } else if (c == QLatin1Char('s')) {
            out += QString::number(time.second())
                       .rightJustified(int(std::min<qsizetype>(n, 2)), QLatin1Char('0'));
        } else if (c == QLatin1Char('z')) {
            out += QString::number(time.msec()).rightJustified(n >= 3 ? 3 : 1, QLatin1Char('0'));
        } else if (c == QLatin1Char('t')) {
            out += locale.toString(time, n >= 2 ? QLocale::LongFormat : QLocale::ShortFormat);
        } else if (c == QLatin1Char('/')) {
            out += QString(n, locale.dateFormat(QLocale::ShortFormat).contains(QLatin1Char('.'))
                                  ? QLatin1Char('.')
                                  : QLatin1Char('/'));
        } else {
            out += pattern.mid(i, n);
        }
        if (c != QLatin1Char(' ') && c != QLatin1Char(':'))
            lastWasHour = c == QLatin1Char('h');
        i += n;
    }
    return out;
}

static bool isTrueValue(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (isNumericValue(value))
        return value.toDouble() != 0;
    if (value.typeId() == QMetaType::QString)
        return value.toString().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
    return false;
}

static std::optional<QString> formatNumeric(const QVariant &value, const QString &format,
                                            const QLocale &locale)
{
    if (format.contains(QLatin1Char('#')) || format.startsWith(QLatin1Char('0'))) {
        const auto number = toNumber(value, locale);
        if (!number)
            return std::nullopt;
        return formatPicture(*number, format, locale);
    }
    return formatWithSpecifier(format, value, locale);
}

static QString replaceSeparators(QString text, const DisplayFormat &format, const QLocale &locale)
{
    const QString regionalPoint = locale.decimalPoint();
    if (format.decimalSeparator.size() == 1 && format.decimalSeparator != regionalPoint) {
        const qsizetype last = text.lastIndexOf(regionalPoint);
        if (last >= 0)
            text.replace(last, regionalPoint.size(), format.decimalSeparator);
    }
    const QString regionalGroup = locale.groupSeparator();
    if (format.thousandSeparator.size() == 1 && format.thousandSeparator != regionalGroup &&
        !regionalGroup.isEmpty())
        text.replace(regionalGroup, format.thousandSeparator);
    return text;
}

QString formatValue(const QVariant &value, const DisplayFormat &format, const QLocale &locale)
{
    if (isNullValue(value))
        return QString();
    switch (format.kind) {
    case FormatKind::fkNumeric:
        if (const auto text = formatNumeric(value, format.formatStr, locale))
            return replaceSeparators(*text, format, locale);
        break;
    case FormatKind::fkDateTime:
        if (const auto dt = toDateTime(value, locale))
            return formatDateTimePattern(*dt, format.formatStr, locale);
        break;
    case FormatKind::fkBoolean: {
        const qsizetype comma = format.formatStr.indexOf(QLatin1Char(','));
        const QString yes = comma < 0 ? format.formatStr : format.formatStr.left(comma);
        const QString no = comma < 0 ? QString() : format.formatStr.mid(comma + 1);
        return isTrueValue(value) ? yes : no;
    }
    case FormatKind::fkText:
        break;
    }
    return plainText(value, locale);
}

} // namespace zreport
