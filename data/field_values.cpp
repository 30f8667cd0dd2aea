#include "field_values.h"

#include "date_time.h"
#include "db_error.h"
#include "display_format.h"
#include "kz1048.h"

#include <cmath>

namespace field_values {

namespace {

double daysSinceZero(const QDateTime &value)
{
    const qint64 msecs = datetime::zero().msecsTo(value);
    return double(msecs) / 86400000.0;
}

} // namespace

QVariant read(const Row &row, int column, FieldType type)
{
    if (row.isNull(column))
        return {};
    switch (type) {
    case FieldType::Integer:
    case FieldType::SmallInt:
        return int(row.integer(column));
    case FieldType::Float:
        return row.real(column);
    case FieldType::DateTime:
        return row.dateTime(column);
    case FieldType::Text:
        return kz1048::decode(row.text(column));
    }
    return {};
}

void write(Row &row, int column, const FieldDef &field, const QVariant &value)
{
    if (value.isNull()) {
        row.setNull(column);
        return;
    }
    switch (field.type) {
    case FieldType::Integer:
    case FieldType::SmallInt:
        row.setInteger(column, value.toLongLong());
        break;
    case FieldType::Float:
        row.setReal(column, value.toDouble());
        break;
    case FieldType::DateTime:
        row.setDateTime(column, value.toDateTime());
        break;
    case FieldType::Text: {
        const QString text = value.toString();
        const auto bytes = kz1048::encode(text);
        if (!bytes)
            throw DbError(unstorableText(field.title(), text));
        row.setText(column, std::string_view(bytes->constData(), size_t(bytes->size())));
        break;
    }
    }
}

QVariant converted(const QVariant &value, const FieldDef &field)
{
    if (value.isNull())
        return {};
    const auto refuse = [&] {
        return DbError(QStringLiteral("'%1' не является допустимым значением поля '%2'")
                           .arg(value.toString(), field.name));
    };
    const int type = value.typeId();
    const bool isText = type == QMetaType::QString;
    switch (field.type) {
    case FieldType::Integer:
    case FieldType::SmallInt: {
        qint64 number;
        if (isText) {
            const auto parsed = display::parse(value.toString(), field.type);
            if (!parsed)
                throw refuse();
            if (parsed->isNull())
                return {};
            number = parsed->toLongLong();
        } else if (type == QMetaType::Double) {
            number = qint64(std::nearbyint(value.toDouble()));
        } else {
            bool ok = false;
            number = value.toLongLong(&ok);
            if (!ok)
                throw refuse();
        }
        const qint64 low = field.type == FieldType::SmallInt ? -32768 : INT32_MIN;
        const qint64 high = field.type == FieldType::SmallInt ? 32767 : INT32_MAX;
        if (number < low || number > high)
            throw refuse();
        return int(number);
    }
    case FieldType::Float: {
        if (isText) {
            const auto parsed = display::parse(value.toString(), field.type);
            if (!parsed)
                throw refuse();
            return *parsed;
        }
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok)
            throw refuse();
        return number;
    }
    case FieldType::DateTime: {
        if (isText) {
            const auto parsed = display::parse(value.toString(), field.type);
            if (!parsed)
                throw refuse();
            return *parsed;
        }
        if (type == QMetaType::QDate)
            return datetime::make(value.toDate());
        const QDateTime dt = value.toDateTime();
        if (!dt.isValid())
            throw refuse();
        return datetime::make(dt.date(), dt.time());
    }
    case FieldType::Text:
        if (type == QMetaType::Double)
            return display::number(value.toDouble());
        if (type == QMetaType::QDateTime)
            return display::dateTime(value.toDateTime());
        return value.toString();
    }
    return {};
}

qint64 asInteger(const QVariant &value, FieldType type)
{
    if (value.isNull())
        return 0;
    switch (type) {
    case FieldType::Float:
        return qint64(std::nearbyint(value.toDouble()));
    case FieldType::DateTime:
        return qint64(std::floor(daysSinceZero(value.toDateTime())));
    case FieldType::Text: {
        const auto parsed = display::parse(value.toString(), FieldType::Integer);
        if (!parsed)
            throw DbError(QStringLiteral("'%1' не является целым числом").arg(value.toString()));
        return parsed->toLongLong();
    }
    default:
        return value.toLongLong();
    }
}

double asFloat(const QVariant &value, FieldType type)
{
    if (value.isNull())
        return 0.0;
    switch (type) {
    case FieldType::DateTime:
        return daysSinceZero(value.toDateTime());
    case FieldType::Text: {
        const auto parsed = display::parse(value.toString(), FieldType::Float);
        if (!parsed)
            throw DbError(QStringLiteral("'%1' не является числом").arg(value.toString()));
        return parsed->toDouble();
    }
    default:
        return value.toDouble();
    }
}

QDateTime asDateTime(const QVariant &value, FieldType type)
{
    if (value.isNull())
        return datetime::zero();
    if (type == FieldType::DateTime)
        return value.toDateTime();
    const auto parsed = display::parse(value.toString(), FieldType::DateTime);
    if (!parsed || parsed->isNull())
        throw DbError(QStringLiteral("'%1' не является датой").arg(value.toString()));
    return parsed->toDateTime();
}

} // namespace field_values
