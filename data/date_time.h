#pragma once

#include <QDateTime>

// Dates in the database carry a time of day and no time zone; they are held as QDateTime
// in UTC so that no daylight-saving rule can shift or invalidate them.
namespace datetime {

// The day zero of the date arithmetic, 30.12.1899 00:00; what an empty date reads as.
QDateTime zero();

QDateTime make(QDate date, QTime time = QTime(0, 0));

// Today at midnight, in the same form.
QDateTime today();

bool hasTimeOfDay(const QDateTime &value);

} // namespace datetime
