#pragma once

#include <QString>
#include <QStringList>

// The engine's validation output told in plain words.
namespace zbackup {

// The lines of the output that report a fault, without the engine's time stamps: the engine
// names every table and index it checks, and says "is ok" of the sound ones.
QStringList validationFaults(const QStringList &output);

// What `faults` (validationFaults) mean to the user, table by table, and what to do; the
// engine's own lines follow for whoever mends the database. "ошибок не найдено" when there
// are none.
QString validationReport(const QStringList &faults);

} // namespace zbackup
