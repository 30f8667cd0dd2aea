#pragma once

#include "database_backup.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// The copies the program makes by itself when it closes: at most one a day, in a folder of its
// own, the newest few kept.
namespace zbackup {

// "Zarnik-<business name>-YYYY-MM-DD-HHMM.fbk", the business name made safe for a file name.
QString backupFileName(const QString &businessName, const QDateTime &when);

struct AutoCopySettings {
    QString folder; // ~/.local/share/zarnik/backups unless changed
    int keep = 10;
};

// The settings as the user left them in the program's settings file ("backup/folder",
// "backup/keep").
AutoCopySettings autoCopySettings();

// The copies in `folder`, oldest first, by the time in their names.
QStringList autoCopies(const QString &folder);

// True when no copy of the day of `now` is in `folder`.
bool autoCopyDue(const QString &folder, const QDateTime &now);

// Removes the oldest copies beyond the newest `keep`.
void removeOldCopies(const QString &folder, int keep);

// Makes the day's copy of the database at `location` when one is due and then removes old
// ones; nothing is removed when the new copy failed. Done with no work when not due.
Result makeAutoCopy(const QString &location, const QString &businessName,
                    const AutoCopySettings &settings, const QDateTime &now);

} // namespace zbackup
