#include "row.h"

#include "date_time.h"

#include <cstring>

namespace {

// Julian day number of 17.11.1858, the day zero of Firebird dates.
constexpr qint64 kFbEpochJulianDay = 2400001;

} // namespace

void Row::setInteger(int column, qint64 value)
{
    m_cells[size_t(column)] = quint64(value);
    setPresent(column);
}

double Row::real(int column) const
{
    double value;
    std::memcpy(&value, &m_cells[size_t(column)], sizeof value);
    return value;
}

void Row::setReal(int column, double value)
{
    std::memcpy(&m_cells[size_t(column)], &value, sizeof value);
    setPresent(column);
}

QDateTime Row::dateTime(int column) const
{
    const quint64 cell = m_cells[size_t(column)];
    return fromFbTimestamp(qint32(cell >> 32), quint32(cell & 0xffffffffu));
}

void Row::setDateTime(int column, const QDateTime &value)
{
    qint32 date;
    quint32 time;
    toFbTimestamp(value, date, time);
    m_cells[size_t(column)] = (quint64(quint32(date)) << 32) | time;
    setPresent(column);
}

std::string_view Row::text(int column) const
{
    const quint64 cell = m_cells[size_t(column)];
    return std::string_view(m_texts).substr(size_t(cell >> 32), size_t(cell & 0xffffffffu));
}

void Row::setText(int column, std::string_view bytes)
{
    // A replaced text stays behind in the buffer: rows are edited rarely and live briefly.
    const quint64 offset = m_texts.size();
    m_texts.append(bytes);
    m_cells[size_t(column)] = (offset << 32) | quint64(bytes.size());
    setPresent(column);
}

QDateTime Row::fromFbTimestamp(qint32 date, quint32 time)
{
    return datetime::make(QDate::fromJulianDay(kFbEpochJulianDay + date),
                          QTime::fromMSecsSinceStartOfDay(int(time / 10)));
}

void Row::toFbTimestamp(const QDateTime &value, qint32 &date, quint32 &time)
{
    date = qint32(value.date().toJulianDay() - kFbEpochJulianDay);
    time = quint32(value.time().msecsSinceStartOfDay()) * 10;
}
