#include "date_time.h"

#include <QTimeZone>

namespace datetime {

QDateTime make(QDate date, QTime time)
{
    return QDateTime(date, time, QTimeZone::utc());
}

QDateTime zero()
{
    return make(QDate(1899, 12, 30));
}

QDateTime today()
{
    return make(QDate::currentDate());
}

bool hasTimeOfDay(const QDateTime &value)
{
    return value.time() != QTime(0, 0);
}

} // namespace datetime
