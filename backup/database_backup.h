#pragma once

#include "data/server_location.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

// Backup and restore of a Zarnik database through the engine's services (its validation:
// database_validation.h). Every file is written under a temporary name beside its final one
// and renamed only when complete (atomic_file.h), so a failure or a cancel leaves nothing under
// the final name and the database as it was.
namespace zbackup {

// How far the work is (0..1, or negative when the engine cannot tell) and its latest line;
// returning false cancels it.
using ProgressHandler = std::function<bool(double fraction, const QString &line)>;

// Who asks the engine for the work: on a server, the person's own user.
using Credentials = database::Credentials;
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

// Restores `backupPath` into a new database at `targetPath` (a file, or a server's database)
// and validates it. An existing target is refused unless `replace`, and then replaced only by
// a complete, valid database of this program (on a server as replaceDatabase() does).
Result restoreBackup(const QString &backupPath, const QString &targetPath, bool replace,
                     const ProgressHandler &progress = {},
                     const Credentials &credentials = embeddedCredentials());

// "ZNDB1.2.GDB.before-restore-YYYY-MM-DD-HHMM" beside the database at `databasePath`.
QString keptDatabasePath(const QString &databasePath, const QDateTime &now);

// Where replaceDatabase keeps the database it replaces: keptDatabasePath() for a file; for a
// server's database, whose files this computer cannot rename, a backup of it beside
// `backupPath`, "ZNDB1.2.GDB.before-restore-YYYY-MM-DD-HHMM.fbk" (the name of the database
// on the server).
QString keptPath(const QString &location, const QString &backupPath, const QDateTime &now);

// Restores `backupPath` in place of the closed database at `location`: into a new database
// beside it, validated, and only then swapped in; the old one is kept under keptPath().
// Refused while the database is open elsewhere, and on a server to a user other than the
// database's owner or the server's administrator. `keptPath` receives where the old one went.
Result replaceDatabase(const QString &backupPath, const QString &location, const QDateTime &now,
                       const ProgressHandler &progress = {}, QString *keptPath = nullptr,
                       const Credentials &credentials = embeddedCredentials());

// Why `credentials` may not restore the server's database at `location` now, in plain words:
// only its owner or the server's administrator may, and only while no other program is
// connected (this program's own connections do not count). Empty when they may, and always
// for a file (whose restore checks the file itself).
QString restoreRefusal(const QString &location, const Credentials &credentials);

} // namespace zbackup
