#pragma once

#include "database_backup.h"

#include <QString>
#include <QStringList>

// The steps a restore of a file and a restore on a server share; not for the program itself.
namespace zbackup::detail {

inline const QString kUnchanged = QStringLiteral("Текущая база данных не изменена.");

Result failed(const QString &message);
Result cancelled();

// Removes a database made by a restore that did not complete: a file, or a server's database
// dropped. False when it could not be removed (a server's unfinished file on a full disk).
bool discardDatabase(const QString &location, const Credentials &credentials);

struct RestoreRun {
    bool finished = false;   // false when the progress handler cancelled it
    bool reachedEnd = false; // the engine said it finished: the backup was whole
};
// Restores `backupPath` into the database at `location` with the engine's restore `options`
// (create, or replace); a server reads the backup from this computer. Throws DbError.
RestoreRun runRestore(const QString &backupPath, const QString &location, quint32 options,
                      const Credentials &credentials, const ProgressHandler &progress);

// Restores into `location`, which must not exist, then checks that it is this program's
// database and sound. On any failure the new database is removed again.
Result restoreInto(const QString &backupPath, const QString &location,
                   const ProgressHandler &progress, const Credentials &credentials);

inline const QString kOpenElsewhere = QStringLiteral(
    "База данных открыта в другой программе Zarnik или другим пользователем. Закройте её "
    "там и повторите восстановление.");

// What decides whether a server's database may be restored now.
struct ServerDatabaseState {
    QString user; // who is connected
    QString role;
    QString owner;      // the database's owner
    QString fileName;   // the database's file on the server
    QStringList others; // the users of other programs connected to it
};
// Only the database's owner or the server's administrator may restore it, and only while no
// other program is connected: why not, in plain words; empty when they may.
QString refusal(const ServerDatabaseState &state);

// replaceDatabase() for a server's database.
Result replaceServerDatabase(const QString &backupPath, const QString &location,
                             const QDateTime &now, const ProgressHandler &progress,
                             QString *keptPath, const Credentials &credentials);

// restoreBackup() into a server's database that does not exist yet.
Result restoreNewServerDatabase(const QString &backupPath, const QString &location,
                                const ProgressHandler &progress, const Credentials &credentials);

} // namespace zbackup::detail
