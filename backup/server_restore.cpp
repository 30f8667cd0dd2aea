// Restoring a server's database. This computer can neither rename the server's files nor keep
// the old one beside it, so the backup is first restored into a new database on the server and
// checked there, the database it will replace is backed up to this computer, and only then is
// the backup restored over it.
#include "atomic_file.h"
#include "database_backup.h"
#include "restore_steps.h"
#include "service_location.h"

#include "data/db_error.h"
#include "data/fb_connection.h"
#include "data/fb_statement.h"
#include "data/server_address.h"

#include <QFile>
#include <QFileInfo>

#include <vector>

#include <unistd.h>

namespace zbackup {

using namespace detail;

namespace {

ServerDatabaseState inspect(const QString &location, const Credentials &credentials)
{
    FbConnection connection;
    connection.attach(location, credentials.user, credentials.password);
    FbTransaction transaction(connection);
    transaction.start();
    ServerDatabaseState state;
    {
        FbStatement select(transaction);
        select.prepare(QStringLiteral(
            "SELECT CURRENT_USER, CURRENT_ROLE, MON$OWNER, MON$DATABASE_NAME FROM MON$DATABASE"));
        select.execute();
        if (select.fetch()) {
            state.user = select.value(0).toString().trimmed();
            state.role = select.value(1).toString().trimmed();
            state.owner = select.value(2).toString().trimmed();
            state.fileName = select.value(3).toString().trimmed();
        }
    }
    // This program's own connections (its window's, say) are not another program's: the same
    // process seen from the same computer (the address ends with each connection's own port).
    FbStatement attachments(transaction);
    attachments.prepare(
        QStringLiteral("SELECT TRIM(MON$USER), MON$REMOTE_PID, MON$REMOTE_ADDRESS, "
                       "IIF(MON$ATTACHMENT_ID = CURRENT_CONNECTION, 1, 0) FROM MON$ATTACHMENTS "
                       "WHERE MON$SYSTEM_FLAG = 0 ORDER BY MON$ATTACHMENT_ID"));
    attachments.execute();
    struct Attachment {
        QString user;
        qint64 pid;
        QString computer;
    };
    std::vector<Attachment> all;
    QString ownComputer;
    while (attachments.fetch()) {
        const QString computer = attachments.value(2).toString().section(u'/', 0, 0);
        if (attachments.value(3).toInt() == 1)
            ownComputer = computer;
        else
            all.push_back(
                {attachments.value(0).toString(), attachments.value(1).toLongLong(), computer});
    }
    for (const Attachment &other : all) {
        const bool ours = other.pid == ::getpid() && other.computer == ownComputer;
        if (!ours && !state.others.contains(other.user))
            state.others << other.user;
    }
    transaction.commit();
    connection.detach();
    return state;
}

// A new database on the server beside the one at `location`.
QString locationBeside(const QString &location, const QString &fileName, const QString &kind)
{
    database::ServerAddress address = *database::parseServerAddress(location);
    address.database = fileName + uniqueSuffix(kind);
    return database::connectionString(address);
}

} // namespace

QString restoreRefusal(const QString &location, const Credentials &credentials)
{
    if (!serviceLocation(location).onServer)
        return {};
    try {
        return refusal(inspect(location, credentials));
    } catch (const DbError &e) {
        return e.message();
    }
}

namespace detail {

QString refusal(const ServerDatabaseState &state)
{
    const bool mayRestore = state.user == QLatin1String("SYSDBA") || state.user == state.owner ||
                            state.role == QLatin1String("RDB$ADMIN");
    if (!mayRestore)
        return QStringLiteral("Восстановить базу данных на сервере может только её владелец (%1) "
                              "или администратор сервера SYSDBA; вы подключены как %2.")
            .arg(state.owner, state.user);
    if (!state.others.isEmpty())
        return QStringLiteral("К базе данных на сервере подключены другие программы "
                              "(пользователи: %1). Восстановить её можно, когда все они "
                              "отключатся.")
            .arg(state.others.join(QStringLiteral(", ")));
    return {};
}

Result replaceServerDatabase(const QString &backupPath, const QString &location,
                             const QDateTime &now, const ProgressHandler &progress,
                             QString *keptPath, const Credentials &credentials)
{
    if (!QFileInfo(backupPath).isFile())
        return failed(QStringLiteral("Файл «%1» не найден.\n").arg(backupPath) + kUnchanged);
    try {
        const ServerDatabaseState state = inspect(location, credentials);
        if (const QString why = refusal(state); !why.isEmpty())
            return failed(why + u'\n' + kUnchanged);
        // A backup that does not restore whole, or is not this program's, is found out before
        // anything is replaced.
        const QString trial = locationBeside(location, state.fileName, QStringLiteral("restoring"));
        if (Result result = restoreInto(backupPath, trial, progress, credentials); !result.done()) {
            if (result.outcome == Outcome::Failed)
                result.message += u'\n' + kUnchanged;
            return result;
        }
        discardDatabase(trial, credentials);

        const QString kept = freeName(zbackup::keptPath(location, backupPath, now));
        if (Result result = backupDatabase(location, kept, progress, credentials); !result.done()) {
            if (result.outcome == Outcome::Failed)
                result.message += u'\n' + kUnchanged;
            return result;
        }
        // Someone connected while the copies were made: their work would be lost.
        if (const QString why = refusal(inspect(location, credentials)); !why.isEmpty()) {
            QFile::remove(kept);
            return failed(why + u'\n' + kUnchanged);
        }
        // From here the old database is gone until the restore completes: it is not to be
        // cancelled half-way.
        const ProgressHandler uncancellable = [&progress](double fraction, const QString &line) {
            if (progress)
                progress(fraction, line);
            return true;
        };
        try {
            const RestoreRun run =
                runRestore(backupPath, location, isc_spb_res_replace, credentials, uncancellable);
            if (!run.reachedEnd)
                throw DbError(QStringLiteral("восстановление не завершилось."));
        } catch (const DbError &e) {
            return failed(QStringLiteral("Не удалось восстановить базу данных на сервере: %1\n"
                                         "Прежняя база данных сохранена в копии «%2»; "
                                         "восстановите её из этой копии.")
                              .arg(e.message(), kept));
        }
        if (keptPath)
            *keptPath = kept;
        return {};
    } catch (const DbError &e) {
        return failed(e.message() + u'\n' + kUnchanged);
    }
}

Result restoreNewServerDatabase(const QString &backupPath, const QString &location,
                                const ProgressHandler &progress, const Credentials &credentials)
{
    if (!QFileInfo(backupPath).isFile())
        return failed(QStringLiteral("Файл «%1» не найден.").arg(backupPath));
    // The engine would refuse an existing database too, but the failed restore's clean-up must
    // never meet one that was there before.
    try {
        FbConnection existing;
        existing.attach(location, credentials.user, credentials.password);
        existing.detach();
        return failed(QStringLiteral("База данных %1 уже существует; она оставлена без "
                                     "изменений.")
                          .arg(location));
    } catch (const DbError &e) {
        if (!e.hasAnyEngineCode({isc_io_error, isc_io_open_err}))
            return failed(e.message());
    }
    return restoreInto(backupPath, location, progress, credentials);
}

} // namespace detail

} // namespace zbackup
