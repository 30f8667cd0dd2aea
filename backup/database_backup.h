#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

// Backup, restore and validation of a Zarnik database through the engine's services. Every
// file is written under a temporary name beside its final one and renamed only when complete,
// so a failure or a cancel leaves nothing under the final name and the database as it was.
namespace zbackup {

// How far the work is (0..1) and the engine's latest line; returning false cancels it.
using ProgressHandler = std::function<bool(double fraction, const QString &line)>;

struct Credentials {
    QString user;
    QString password;
};
// The embedded engine's fixed user, which a server database does not take.
Credentials embeddedCredentials();

enum class Outcome { Done, Cancelled, Failed };

struct Result {
    Outcome outcome = Outcome::Done;
    QString message; // why it failed, in Russian; empty otherwise
    bool done() const { return outcome == Outcome::Done; }
};

// Writes a backup of the database at `location` into `backupPath`, replacing a file there
// only once the new backup is complete.
Result backupDatabase(const QString &location, const QString &backupPath,
                      const ProgressHandler &progress = {},
                      const Credentials &credentials = embeddedCredentials());

// Restores `backupPath` into a new database file at `targetPath` and validates it. An existing
// target is refused unless `replace`, and then replaced only by a complete, valid database
// of this program.
Result restoreBackup(const QString &backupPath, const QString &targetPath, bool replace,
                     const ProgressHandler &progress = {});

// "ZNDB1.2.GDB.before-restore-YYYY-MM-DD-HHMM" beside the database at `databasePath`.
QString keptDatabasePath(const QString &databasePath, const QDateTime &now);

// Restores `backupPath` in place of the closed database at `databasePath`: into a new file
// beside it, validated, and only then swapped in; the old file is kept under
// keptDatabasePath(). Refused while the database is open elsewhere. `keptPath` receives where
// the old file went.
Result replaceDatabase(const QString &backupPath, const QString &databasePath, const QDateTime &now,
                       const ProgressHandler &progress = {}, QString *keptPath = nullptr);

struct Validation {
    bool checked = false; // false when the validation could not run (see `message`)
    QStringList findings; // the engine's lines that report a fault; empty when sound
    QString message;      // the result in plain words
};

// Runs the engine's validation of the database at `location` (it may be open).
Validation validateDatabase(const QString &location,
                            const Credentials &credentials = embeddedCredentials());

} // namespace zbackup
