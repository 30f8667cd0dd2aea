#include "database_backup.h"

#include "atomic_file.h"
#include "database_validation.h"
#include "restore_steps.h"
#include "service_connection.h"
#include "service_location.h"

#include "data/connection_parameters.h"
#include "data/database_file.h"
#include "data/db_error.h"
#include "data/fb_connection.h"
#include "data/fb_statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QThread>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace zbackup {

using namespace detail;

namespace {

const QString kNoRoomForBackup =
    QStringLiteral("На диске не хватает места для копии. Освободите место или выберите другой "
                   "диск.");
const QString kNoRoomForRestore =
    QStringLiteral("на диске не хватает места. Рядом с базой данных нужно место ещё на одну "
                   "такую же: восстановленная база данных проверяется, прежде чем заменить "
                   "текущую.");

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool diskFull(int systemError)
{
    return systemError == ENOSPC || systemError == EDQUOT;
}

// The engine's own words for a full disk are English, or the system's amid its lines.
bool noRoom(const DbError &e)
{
    // A server sends the system's words, not its number.
    return e.hasEngineCode(isc_gbak_disk_space_ex) || diskFull(e.systemError()) ||
           (e.hasEngineCode(isc_io_write_err) &&
            e.message().contains(QLatin1String("No space left on device")));
}

// The tables of the schema, each of which the engine names once as it copies its rows.
int schemaTableCount()
{
    static const int count = [] {
        int tables = 0;
        for (const QString &statement : database::schemaStatements())
            tables += statement.startsWith(QStringLiteral("CREATE TABLE")) ? 1 : 0;
        return tables;
    }();
    return count;
}

// Runs a service, turning its lines into progress: a table's rows begin with a line naming
// the table, so the share of tables done is the share of the work done.
// `reachedEnd` tells whether the engine said it finished, which a restore of a cut-short file
// never does. `input`, when given, is the backup a server's restore reads from this computer.
bool runWithProgress(const ServiceLocation &where, const Credentials &credentials,
                     const ServiceRequest &request, const ProgressHandler &progress,
                     bool *reachedEnd = nullptr, QIODevice *input = nullptr)
{
    ServiceConnection service;
    service.attach(where.serviceManager, credentials.user, credentials.password);
    int tablesStarted = 0;
    const double steps = schemaTableCount() + 1;
    const LineHandler onLine = [&](const QString &line) {
        if (line.contains(QStringLiteral("data for table")))
            ++tablesStarted;
        if (reachedEnd && line.contains(QStringLiteral("finishing, closing")))
            *reachedEnd = true;
        return !progress || progress(std::min(tablesStarted / steps, 1.0), line);
    };
    if (!input)
        return service.run(request, onLine);
    return service.send(
        request, [input](qint64 wanted) { return input->read(wanted); }, onLine);
}

// The embedded engine, meeting the end of a backup file too early, asks on the terminal for
// the next volume of a multi-volume backup and waits for an answer. While a restore runs its
// questions go to /dev/null and it reads an end of file there, so a cut-short file ends the
// restore as incomplete instead of leaving it waiting.
class TerminalSilenced {
public:
    TerminalSilenced()
    {
        const int devNull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
        if (devNull < 0)
            return;
        for (int fd : {0, 1}) {
            m_saved[fd] = ::dup(fd);
            ::dup2(devNull, fd);
        }
        ::close(devNull);
    }
    ~TerminalSilenced()
    {
        std::fflush(stdout); // what the engine wrote belongs to /dev/null too
        for (int fd : {0, 1}) {
            if (m_saved[fd] >= 0) {
                ::dup2(m_saved[fd], fd);
                ::close(m_saved[fd]);
            }
        }
    }
    TerminalSilenced(const TerminalSilenced &) = delete;
    TerminalSilenced &operator=(const TerminalSilenced &) = delete;

private:
    int m_saved[2] = {-1, -1};
};

bool holdsDocuments(const QString &location, const Credentials &credentials)
{
    FbConnection connection;
    connection.attach(location, credentials.user, credentials.password);
    FbTransaction transaction(connection);
    transaction.start();
    const QVariant found = FbStatement::scalar(
        transaction, QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE "
                                    "RDB$RELATION_NAME = 'DOCS' AND RDB$SYSTEM_FLAG = 0"));
    transaction.commit();
    connection.detach();
    return found.toInt() > 0;
}

} // namespace

namespace detail {

Result failed(const QString &message)
{
    return {Outcome::Failed, message};
}

Result cancelled()
{
    return {Outcome::Cancelled, QStringLiteral("Прервано пользователем.")};
}

namespace {

bool discardServerDatabaseOnce(const QString &location, const Credentials &credentials)
{
    try {
        FbConnection connection;
        connection.attach(location, credentials.user, credentials.password);
        connection.drop();
        return true;
    } catch (const DbError &) {
    }
    // A restore that failed half-way leaves a file the engine cannot open, and this computer
    // cannot remove the server's files: an empty database written over it can be dropped,
    // where there is room for one. (Where nothing was made, one is made and dropped again.)
    QByteArray dpb = database::connectionParameters(database::ParameterBlock::Database, location,
                                                    credentials.user, credentials.password);
    dpb.append(char(isc_dpb_overwrite));
    dpb.append(char(1));
    dpb.append(char(1));
    const QByteArray name = QFile::encodeName(location);
    isc_db_handle handle = 0;
    ISC_STATUS_ARRAY status;
    if (isc_create_database(status, 0, name.constData(), &handle, short(dpb.size()),
                            dpb.constData(), 0) != 0)
        return false;
    return isc_drop_database(status, &handle) == 0;
}

} // namespace

bool discardDatabase(const QString &location, const Credentials &credentials)
{
    if (!serviceLocation(location).onServer)
        return QFile::remove(location) || !QFileInfo::exists(location);
    // The server's restore may still hold the file for a moment after the service has told
    // its end (a backup cut short, a cancel), and then neither drop nor overwrite succeeds.
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (discardServerDatabaseOnce(location, credentials))
            return true;
        QThread::msleep(200);
    }
    return false;
}

RestoreRun runRestore(const QString &backupPath, const QString &location, quint32 options,
                      const Credentials &credentials, const ProgressHandler &progress)
{
    const ServiceLocation where = serviceLocation(location);
    RestoreRun run;
    if (where.onServer) {
        QFile input(backupPath);
        if (!input.open(QIODevice::ReadOnly))
            throw DbError(input.errorString());
        ServiceRequest request(isc_action_svc_restore);
        request.text(isc_spb_bkp_file, QStringLiteral("stdin"))
            .text(isc_spb_dbname, where.database)
            .number(isc_spb_options, options)
            .flag(isc_spb_verbose);
        run.finished =
            runWithProgress(where, credentials, request, progress, &run.reachedEnd, &input);
        return run;
    }
    ServiceRequest request(isc_action_svc_restore);
    request.text(isc_spb_bkp_file, QFileInfo(backupPath).absoluteFilePath())
        .text(isc_spb_dbname, where.database)
        .number(isc_spb_options, options)
        .flag(isc_spb_verbose);
    std::fflush(stdout);
    const TerminalSilenced silenced;
    run.finished = runWithProgress(where, credentials, request, progress, &run.reachedEnd);
    return run;
}

Result restoreAndCheck(const QString &backupPath, const QString &location,
                       const ProgressHandler &progress, const Credentials &credentials);

Result restoreInto(const QString &backupPath, const QString &location,
                   const ProgressHandler &progress, const Credentials &credentials)
{
    Result result = restoreAndCheck(backupPath, location, progress, credentials);
    if (!result.done() && !discardDatabase(location, credentials))
        result.message += QStringLiteral("\nНа сервере могла остаться незаконченная база "
                                         "данных %1; удалить её может администратор сервера.")
                              .arg(serviceLocation(location).database);
    return result;
}

Result restoreAndCheck(const QString &backupPath, const QString &location,
                       const ProgressHandler &progress, const Credentials &credentials)
{
    const QString name = QFileInfo(backupPath).fileName();
    const QString notABackup =
        QStringLiteral("Файл «%1» не является резервной копией базы данных Zarnik или "
                       "повреждён.\n%2")
            .arg(name);
    try {
        const RestoreRun run =
            runRestore(backupPath, location, isc_spb_res_create, credentials, progress);
        if (!run.finished)
            return cancelled();
        if (!run.reachedEnd)
            return failed(notABackup.arg(QStringLiteral("Копия не полная: файл обрезан.")));
    } catch (const DbError &e) {
        if (noRoom(e))
            return failed(QStringLiteral("Не удалось восстановить базу данных из «%1»: %2\n%3")
                              .arg(name, kNoRoomForRestore, e.message()));
        // The backup may be sound and the new database not allowed where it was to be made.
        if (e.hasAnyEngineCode(
                {isc_gbak_db_create_failed, isc_io_create_err, isc_io_write_err, isc_no_priv}))
            return failed(QStringLiteral("Не удалось восстановить базу данных из «%1»: не "
                                         "удалось создать новую базу данных.\n%2")
                              .arg(name, e.message()));
        return failed(notABackup.arg(e.message()));
    }
    try {
        if (!holdsDocuments(location, credentials))
            return failed(QStringLiteral("Файл «%1» — резервная копия базы данных другой "
                                         "программы: в ней нет таблицы документов DOCS.")
                              .arg(name));
    } catch (const DbError &e) {
        return failed(notABackup.arg(e.message()));
    }
    const Validation validation = validateDatabase(location, credentials);
    if (!validation.checked || !validation.findings.isEmpty())
        return failed(QStringLiteral("База данных, восстановленная из «%1», не прошла "
                                     "проверку:\n%2")
                          .arg(name, validation.message));
    // A server keeps its own files; this computer can flush only its own.
    if (!serviceLocation(location).onServer && !flushToDisk(location))
        return failed(QStringLiteral("Не удалось записать восстановленную базу данных на "
                                     "диск: %1")
                          .arg(systemReason()));
    return {};
}

} // namespace detail

namespace {

// True when a program other than the caller has the database open: another process of the
// embedded engine holds the file for itself, so it cannot be attached at all; within one
// engine (a server, or this process) the engine lists the other attachments.
bool openElsewhere(const QString &path)
{
    FbConnection connection;
    try {
        connection.attach(path, database::userName(), database::password());
    } catch (const DbError &e) {
        // Another process of the embedded engine holds the file for itself.
        if (e.hasEngineCode(isc_already_opened) || e.hasEngineCode(isc_lock_timeout) ||
            e.hasEngineCode(isc_lock_conflict) || e.hasEngineCode(isc_shutdown))
            return true;
        throw;
    }
    FbTransaction transaction(connection);
    transaction.start();
    const QVariant others = FbStatement::scalar(
        transaction, QStringLiteral("SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE "
                                    "MON$ATTACHMENT_ID <> CURRENT_CONNECTION AND "
                                    "MON$SYSTEM_FLAG = 0"));
    transaction.commit();
    connection.detach();
    return others.toInt() > 0;
}

// The embedded engine writes the backup file itself.
bool writeBackupHere(const ServiceLocation &where, const Credentials &credentials,
                     const QString &path, const ProgressHandler &progress)
{
    ServiceRequest request(isc_action_svc_backup);
    request.text(isc_spb_dbname, where.database)
        .text(isc_spb_bkp_file, QFileInfo(path).absoluteFilePath())
        .flag(isc_spb_verbose);
    return runWithProgress(where, credentials, request, progress);
}

// A server would write the file into its own folders; it streams the backup here instead.
// The stream leaves no room for the engine's lines, so the progress tells only the amount
// received so far (a negative fraction: how far is unknown).
bool receiveBackup(const ServiceLocation &where, const Credentials &credentials,
                   const QString &path, const ProgressHandler &progress)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        throw DbError(systemReason(), {}, errno);
    const auto closeFile = qScopeGuard([fd] { ::close(fd); });
    ServiceRequest request(isc_action_svc_backup);
    request.text(isc_spb_dbname, where.database).text(isc_spb_bkp_file, QStringLiteral("stdout"));
    ServiceConnection service;
    service.attach(where.serviceManager, credentials.user, credentials.password);
    qint64 received = 0;
    return service.receive(request, [&](const QByteArray &block) {
        for (qint64 written = 0; written < block.size();) {
            const ssize_t n = ::write(fd, block.constData() + written, block.size() - written);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                throw DbError(systemReason(), {}, errno);
            written += n;
        }
        received += block.size();
        return !progress || progress(-1, QStringLiteral("Получено %1 МБ").arg(received / 1048576));
    });
}

} // namespace

Credentials embeddedCredentials()
{
    return {database::userName(), database::password()};
}

Result backupDatabase(const QString &location, const QString &backupPath,
                      const ProgressHandler &progress, const Credentials &credentials)
{
    const QString partial = temporaryPathBeside(backupPath, QStringLiteral("part"));
    const auto cannotWrite = [&backupPath](const QString &reason) {
        return failed(
            QStringLiteral("Не удалось создать резервную копию «%1»:\n%2").arg(backupPath, reason));
    };
    try {
        const ServiceLocation where = serviceLocation(location);
        const bool finished = where.onServer
                                  ? receiveBackup(where, credentials, partial, progress)
                                  : writeBackupHere(where, credentials, partial, progress);
        if (!finished) {
            QFile::remove(partial);
            return cancelled();
        }
    } catch (const DbError &e) {
        QFile::remove(partial);
        return cannotWrite(noRoom(e) ? kNoRoomForBackup + u'\n' + e.message() : e.message());
    }
    if (!flushToDisk(partial) || ::rename(QFile::encodeName(partial).constData(),
                                          QFile::encodeName(backupPath).constData()) != 0) {
        const QString reason = diskFull(errno) ? kNoRoomForBackup : systemReason();
        QFile::remove(partial);
        return cannotWrite(reason);
    }
    flushToDisk(backupPath);
    return {};
}

Result restoreBackup(const QString &backupPath, const QString &targetPath, bool replace,
                     const ProgressHandler &progress, const Credentials &credentials)
{
    if (serviceLocation(targetPath).onServer)
        return replace ? replaceServerDatabase(backupPath, targetPath, QDateTime::currentDateTime(),
                                               progress, nullptr, credentials)
                       : restoreNewServerDatabase(backupPath, targetPath, progress, credentials);
    if (!QFileInfo(backupPath).isFile())
        return failed(QStringLiteral("Файл «%1» не найден.").arg(backupPath));
    const bool exists = QFileInfo::exists(targetPath) || QFileInfo(targetPath).isSymLink();
    if (exists && !replace)
        return failed(
            QStringLiteral("Файл «%1» уже существует; он оставлен без изменений.").arg(targetPath));
    try {
        if (exists && openElsewhere(targetPath))
            return failed(kOpenElsewhere);
    } catch (const DbError &e) {
        return failed(e.message());
    }
    removeAbandoned(targetPath, QStringLiteral("restoring"));
    const QString restored = temporaryPathBeside(targetPath, QStringLiteral("restoring"));
    if (Result result = restoreInto(backupPath, restored, progress, embeddedCredentials());
        !result.done())
        return result;
    if (::rename(QFile::encodeName(restored).constData(),
                 QFile::encodeName(targetPath).constData()) != 0) {
        const QString reason = systemReason();
        QFile::remove(restored);
        return failed(QStringLiteral("Не удалось записать файл «%1»: %2").arg(targetPath, reason));
    }
    flushToDisk(targetPath);
    return {};
}

QString keptDatabasePath(const QString &databasePath, const QDateTime &now)
{
    return databasePath + QStringLiteral(".before-restore-") +
           now.toString(QStringLiteral("yyyy-MM-dd-HHmm"));
}

QString keptPath(const QString &location, const QString &backupPath, const QDateTime &now)
{
    if (!serviceLocation(location).onServer)
        return keptDatabasePath(location, now);
    const QString databaseName = serviceLocation(location).database.section(u'/', -1);
    return QFileInfo(backupPath)
        .absoluteDir()
        .filePath(keptDatabasePath(databaseName, now) + QStringLiteral(".fbk"));
}

Result replaceDatabase(const QString &backupPath, const QString &databasePath, const QDateTime &now,
                       const ProgressHandler &progress, QString *keptPath,
                       const Credentials &credentials)
{
    if (serviceLocation(databasePath).onServer)
        return replaceServerDatabase(backupPath, databasePath, now, progress, keptPath,
                                     credentials);
    if (!QFileInfo(backupPath).isFile())
        return failed(QStringLiteral("Файл «%1» не найден.\n").arg(backupPath) + kUnchanged);
    try {
        if (openElsewhere(databasePath))
            return failed(kOpenElsewhere + u'\n' + kUnchanged);
        removeAbandoned(databasePath, QStringLiteral("restoring"));
        const QString restored = temporaryPathBeside(databasePath, QStringLiteral("restoring"));
        if (Result result = restoreInto(backupPath, restored, progress, embeddedCredentials());
            !result.done()) {
            if (result.outcome == Outcome::Failed)
                result.message += u'\n' + kUnchanged;
            return result;
        }
        // Opened while the restore ran: the other program would go on writing into the
        // kept file, and its work would be lost from the restored one.
        if (openElsewhere(databasePath)) {
            QFile::remove(restored);
            return failed(kOpenElsewhere + u'\n' + kUnchanged);
        }
        const QString kept = freeName(keptDatabasePath(databasePath, now));
        // A second name for the old file first, then the restored one renamed over the
        // database's name: at every moment the name holds a whole database, so a crash in
        // between opens the old one as before.
        if (::link(QFile::encodeName(databasePath).constData(),
                   QFile::encodeName(kept).constData()) != 0 ||
            ::rename(QFile::encodeName(restored).constData(),
                     QFile::encodeName(databasePath).constData()) != 0) {
            const QString reason = systemReason();
            QFile::remove(restored);
            if (QFileInfo::exists(kept) && QFileInfo::exists(databasePath))
                QFile::remove(kept);
            return failed(QStringLiteral("Не удалось заменить базу данных: %1\n").arg(reason) +
                          kUnchanged);
        }
        flushToDisk(databasePath);
        if (keptPath)
            *keptPath = kept;
        return {};
    } catch (const DbError &e) {
        return failed(e.message() + u'\n' + kUnchanged);
    }
}

} // namespace zbackup
