#include "display_format.h"

#include "date_time.h"

#include <QLocale>

#include <cmath>

namespace display {
namespace {

QLocale plainLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

// The long time format without its time-zone part: stored dates carry no zone.
QString longTimeFormat(const QLocale &locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return format.trimmed();
}

// A two-digit year is read as 19yy; it is moved into the hundred years that start fifty
// years before the current one, so that what a locale with short years shows (3/2/26) is
// read back as the same day and not as one a century earlier.
QDate withinCenturyWindow(QDate date)
{
    const int windowStart = QDate::currentDate().year() - 50;
    int year = windowStart - windowStart % 100 + date.year() % 100;
    if (year < windowStart)
        year += 100;
    return QDate(year, date.month(), date.day());
}

} // namespace

QString number(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    return plainLocale().toString(value, 'g', 15);
}

QString dateTime(const QDateTime &value)
{
    const QLocale locale;
    QString text = locale.toString(value.date(), QLocale::ShortFormat);
    if (datetime::hasTimeOfDay(value))
        text += QLatin1Char(' ') + locale.toString(value.time(), longTimeFormat(locale));
    return text;
}

QString text(const QVariant &value, FieldType type)
{
    if (value.isNull())
        return {};
    switch (type) {
    case FieldType::Integer:
    case FieldType::SmallInt:
        return QString::number(value.toLongLong());
    case FieldType::Float:
        return number(value.toDouble());
    case FieldType::DateTime:
        return dateTime(value.toDateTime());
    case FieldType::Text:
        return value.toString();
    }
    return {};
}

std::optional<QVariant> parse(const QString &input, FieldType type)
{
    const QString text = input.trimmed();
    if (type != FieldType::Text && text.isEmpty())
        return QVariant();
    bool ok = false;
    switch (type) {
    case FieldType::Integer:
    case FieldType::SmallInt: {
        const qlonglong v = plainLocale().toLongLong(text, &ok);
        if (!ok)
            return std::nullopt;
        if (type == FieldType::SmallInt && (v < -32768 || v > 32767))
            return std::nullopt;
        if (v < INT32_MIN || v > INT32_MAX)
            return std::nullopt;
        return QVariant(v);
    }
    case FieldType::Float: {
        double v = plainLocale().toDouble(text, &ok);
        if (!ok)
            v = QLocale::c().toDouble(text, &ok);
        if (!ok)
            return std::nullopt;
        return QVariant(v);
    }
    case FieldType::DateTime: {
        const QLocale locale;
        const QString dateFormat = locale.dateFormat(QLocale::ShortFormat);
        const QString dateText = text.section(QLatin1Char(' '), 0, 0);
        const QString timeText = text.section(QLatin1Char(' '), 1).trimmed();
        QDate date = locale.toDate(dateText, dateFormat);
        if (date.isValid() && !dateFormat.contains(QStringLiteral("yyyy"))) {
            date = withinCenturyWindow(date);
        } else if (!date.isValid() && !dateFormat.contains(QStringLiteral("yyyy"))) {
            // A two-digit year in the format also accepts the four-digit form.
            date = locale.toDate(
                dateText,
                QString(dateFormat).replace(QStringLiteral("yy"), QStringLiteral("yyyy")));
        }
        if (!date.isValid())
            return std::nullopt;
        QTime time(0, 0);
        if (!timeText.isEmpty()) {
            time = locale.toTime(timeText, longTimeFormat(locale));
            if (!time.isValid())
                time = QTime::fromString(timeText, QStringLiteral("H:mm:ss"));
            if (!time.isValid())
                return std::nullopt;
        }
        return QVariant(datetime::make(date, time));
    }
    case FieldType::Text:
        return QVariant(input);
    }
    return std::nullopt;
}

} // namespace display
