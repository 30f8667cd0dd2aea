#include "database_backup.h"

#include "service_connection.h"
#include "service_location.h"

#include "data/database_file.h"
#include "data/db_error.h"
#include "data/fb_connection.h"
#include "data/fb_statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace zbackup {

namespace {

const QString kUnchanged = QStringLiteral("Текущая база данных не изменена.");

Result failed(const QString &message)
{
    return {Outcome::Failed, message};
}

Result cancelled()
{
    return {Outcome::Cancelled, QStringLiteral("Прервано пользователем.")};
}

// A name beside `path` that nothing has yet: the engine refuses to restore over a file. The
// writing process's id is part of the name, so that a file left by a killed process can later
// be told from one a living process still writes.
QString temporaryPathBeside(const QString &path, const QString &kind)
{
    const QString prefix = path + u'.' + kind + u'-' + QString::number(::getpid()) + u'-';
    for (;;) {
        const QString candidate =
            prefix + QString::number(QRandomGenerator::global()->generate(), 16);
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
            return candidate;
    }
}

// A restore killed half-way leaves its unfinished database beside the target, as large as the
// data it had written; nothing else would ever remove it.
void removeAbandonedRestores(const QString &targetPath)
{
    const QFileInfo target(targetPath);
    static const QRegularExpression kOwner(QStringLiteral("\\.restoring-(\\d+)-[0-9a-f]+$"));
    const QStringList names = target.dir().entryList(
        {target.fileName() + QStringLiteral(".restoring-*")}, QDir::Files | QDir::System);
    for (const QString &name : names) {
        const QRegularExpressionMatch owner = kOwner.match(name);
        if (!owner.hasMatch())
            continue;
        const pid_t pid = pid_t(owner.captured(1).toLongLong());
        if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
            QFile::remove(target.dir().filePath(name));
    }
}

// A file and its folder flushed to the disk, so that a rename never publishes a file whose
// contents are still only in memory when the power goes.
bool flushToDisk(const QString &path)
{
    bool ok = true;
    for (const QString &each : {path, QFileInfo(path).absolutePath()}) {
        const int fd = ::open(QFile::encodeName(each).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || ::fsync(fd) != 0)
            ok = false;
        if (fd >= 0)
            ::close(fd);
    }
    return ok;
}

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
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
// never does.
bool runWithProgress(const ServiceLocation &where, const Credentials &credentials,
                     const ServiceRequest &request, const ProgressHandler &progress,
                     bool *reachedEnd = nullptr)
{
    ServiceConnection service;
    service.attach(where.serviceManager, credentials.user, credentials.password);
    int tablesStarted = 0;
    const double steps = schemaTableCount() + 1;
    return service.run(request, [&](const QString &line) {
        if (line.contains(QStringLiteral("data for table")))
            ++tablesStarted;
        if (reachedEnd && line.contains(QStringLiteral("finishing, closing")))
            *reachedEnd = true;
        return !progress || progress(std::min(tablesStarted / steps, 1.0), line);
    });
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

bool holdsDocuments(const QString &path)
{
    FbConnection connection;
    connection.attach(path, database::userName(), database::password());
    FbTransaction transaction(connection);
    transaction.start();
    const QVariant found = FbStatement::scalar(
        transaction, QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE "
                                    "RDB$RELATION_NAME = 'DOCS' AND RDB$SYSTEM_FLAG = 0"));
    transaction.commit();
    connection.detach();
    return found.toInt() > 0;
}

// Restores into `path`, which must not exist, then checks that it is this program's database
// and sound. On any failure `path` is removed.
Result restoreInto(const QString &backupPath, const QString &path, const ProgressHandler &progress)
{
    const QString name = QFileInfo(backupPath).fileName();
    const QString notABackup =
        QStringLiteral("Файл «%1» не является резервной копией базы данных Zarnik или "
                       "повреждён.\n%2")
            .arg(name);
    const ServiceLocation here = serviceLocation(path);
    try {
        ServiceRequest request(isc_action_svc_restore);
        request.text(isc_spb_bkp_file, QFileInfo(backupPath).absoluteFilePath())
            .text(isc_spb_dbname, here.database)
            .number(isc_spb_options, isc_spb_res_create)
            .flag(isc_spb_verbose);
        bool reachedEnd = false;
        bool finished = false;
        {
            std::fflush(stdout);
            const TerminalSilenced silenced;
            finished = runWithProgress(here, embeddedCredentials(), request, progress, &reachedEnd);
        }
        if (!finished) {
            QFile::remove(path);
            return cancelled();
        }
        if (!reachedEnd) {
            QFile::remove(path);
            return failed(notABackup.arg(QStringLiteral("Копия не полная: файл обрезан.")));
        }
    } catch (const DbError &e) {
        QFile::remove(path);
        return failed(notABackup.arg(e.message()));
    }
    try {
        if (!holdsDocuments(path)) {
            QFile::remove(path);
            return failed(QStringLiteral("Файл «%1» — резервная копия базы данных другой "
                                         "программы: в ней нет таблицы документов DOCS.")
                              .arg(name));
        }
    } catch (const DbError &e) {
        QFile::remove(path);
        return failed(notABackup.arg(e.message()));
    }
    const Validation validation = validateDatabase(path);
    if (!validation.checked || !validation.findings.isEmpty()) {
        QFile::remove(path);
        return failed(QStringLiteral("База данных, восстановленная из «%1», не прошла "
                                     "проверку:\n%2")
                          .arg(name, validation.message));
    }
    if (!flushToDisk(path)) {
        QFile::remove(path);
        return failed(QStringLiteral("Не удалось записать восстановленную базу данных на "
                                     "диск: %1")
                          .arg(systemReason()));
    }
    return {};
}

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

const QString kOpenElsewhere = QStringLiteral(
    "База данных открыта в другой программе Zarnik или другим пользователем. Закройте её "
    "там и повторите восстановление.");

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
        ServiceRequest request(isc_action_svc_backup);
        request.text(isc_spb_dbname, where.database)
            .text(isc_spb_bkp_file, QFileInfo(partial).absoluteFilePath())
            .flag(isc_spb_verbose);
        if (!runWithProgress(where, credentials, request, progress)) {
            QFile::remove(partial);
            return cancelled();
        }
    } catch (const DbError &e) {
        QFile::remove(partial);
        return cannotWrite(e.message());
    }
    if (!flushToDisk(partial) || ::rename(QFile::encodeName(partial).constData(),
                                          QFile::encodeName(backupPath).constData()) != 0) {
        const QString reason = systemReason();
        QFile::remove(partial);
        return cannotWrite(reason);
    }
    flushToDisk(backupPath);
    return {};
}

Result restoreBackup(const QString &backupPath, const QString &targetPath, bool replace,
                     const ProgressHandler &progress)
{
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
    removeAbandonedRestores(targetPath);
    const QString restored = temporaryPathBeside(targetPath, QStringLiteral("restoring"));
    if (Result result = restoreInto(backupPath, restored, progress); !result.done())
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

Result replaceDatabase(const QString &backupPath, const QString &databasePath, const QDateTime &now,
                       const ProgressHandler &progress, QString *keptPath)
{
    if (!QFileInfo(backupPath).isFile())
        return failed(QStringLiteral("Файл «%1» не найден.\n").arg(backupPath) + kUnchanged);
    try {
        if (openElsewhere(databasePath))
            return failed(kOpenElsewhere + u'\n' + kUnchanged);
        removeAbandonedRestores(databasePath);
        const QString restored = temporaryPathBeside(databasePath, QStringLiteral("restoring"));
        if (Result result = restoreInto(backupPath, restored, progress); !result.done()) {
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
        QString kept = keptDatabasePath(databasePath, now);
        for (int n = 2; QFileInfo::exists(kept) || QFileInfo(kept).isSymLink(); ++n)
            kept = keptDatabasePath(databasePath, now) + u'-' + QString::number(n);
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

Validation validateDatabase(const QString &location, const Credentials &credentials)
{
    Validation validation;
    QStringList output;
    try {
        const ServiceLocation where = serviceLocation(location);
        ServiceRequest request(isc_action_svc_validate);
        request.text(isc_spb_dbname, where.database);
        ServiceConnection service;
        service.attach(where.serviceManager, credentials.user, credentials.password);
        service.run(request, [&output](const QString &line) {
            output << line;
            return true;
        });
    } catch (const DbError &e) {
        validation.message =
            QStringLiteral("Проверить базу данных не удалось:\n%1").arg(e.message());
        return validation;
    }
    validation.checked = true;
    // The engine names every table and index it checks; only lines about faults matter.
    static const QRegularExpression fault(
        QStringLiteral("error|corrupt|wrong|damaged|missing|warning"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression noFault(QStringLiteral("\\b0 errors\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    for (const QString &line : output) {
        if (line.contains(fault) && !line.contains(noFault))
            validation.findings << line.trimmed();
    }
    validation.message = validation.findings.isEmpty() ? QStringLiteral("ошибок не найдено")
                                                       : QStringLiteral("Найдены ошибки (%1):\n%2")
                                                             .arg(validation.findings.size())
                                                             .arg(validation.findings.join(u'\n'));
    return validation;
}

} // namespace zbackup
