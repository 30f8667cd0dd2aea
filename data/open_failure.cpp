#include "open_failure.h"

#include "server_location.h"

#include <QFile>
#include <QFileInfo>

#include <ibase.h>
#include <iberror.h>

#include <cerrno>

#include <unistd.h>

namespace database {

namespace {

// "База данных host:path: reason" for a server, "Файл /full/path: reason" for a file.
QString locationLine(const QString &location, const QString &reason)
{
    if (isServerLocation(location))
        return QStringLiteral("База данных %1: %2").arg(location, reason);
    return QStringLiteral("Файл %1: %2").arg(QFileInfo(location).absoluteFilePath(), reason);
}

// A server's refusal, in the words a person at a desk can act on.
QString serverFailureLine(const QString &location, const DbError &error)
{
    // The program's own refusal (no user given) names the server itself.
    if (error.engineCodes().empty())
        return error.message();
    QString reason;
    if (error.hasAnyEngineCode({isc_wirecrypt_incompatible, isc_miss_wirecrypt}))
        reason = QStringLiteral("сервер и программа не договорились о шифровании соединения "
                                "(параметр WireCrypt).");
    else if (error.hasAnyEngineCode({isc_login}))
        reason = QStringLiteral("неверное имя пользователя или пароль.");
    else if (error.hasAnyEngineCode({isc_net_lookup_err, isc_net_connect_err,
                                     isc_net_connect_listen_err, isc_network_error,
                                     isc_net_read_err, isc_net_write_err}))
        reason = QStringLiteral("сервер недоступен: проверьте имя компьютера, порт, сеть и то, "
                                "что сервер Firebird запущен.");
    else if (error.hasAnyEngineCode({isc_io_error, isc_io_open_err}))
        reason = QStringLiteral("на сервере нет такой базы данных.");
    else if (error.hasAnyEngineCode({isc_bad_db_format, isc_badodsver}))
        reason = QStringLiteral("это не файл базы данных.");
    else if (error.hasAnyEngineCode({isc_no_priv}))
        reason = QStringLiteral("у пользователя нет прав на эту базу данных.");
    else
        reason = error.message().section(QLatin1Char('\n'), 0, 0).trimmed();
    return locationLine(location, reason);
}

} // namespace

OpenFailure classifyOpenFailure(const QString &path, const DbError &error)
{
    const QFileInfo file(path);
    if (!file.exists() || error.systemError() == ENOENT)
        return OpenFailure::Missing;
    if (error.hasEngineCode(isc_already_opened) || error.hasEngineCode(isc_lock_conflict) ||
        error.hasEngineCode(isc_lock_timeout) || error.systemError() == EWOULDBLOCK)
        return OpenFailure::InUse;
    // Shorter than the header page of any database: an empty or cut-off file.
    constexpr qint64 kSmallestHeader = 1024;
    if (error.hasEngineCode(isc_bad_db_format) || error.hasEngineCode(isc_badodsver) ||
        (file.isFile() && file.size() < kSmallestHeader))
        return OpenFailure::NotADatabase;
    if (error.hasEngineCode(isc_no_priv) || error.hasEngineCode(isc_read_only_database) ||
        error.systemError() == EACCES || error.systemError() == EROFS ||
        ::access(QFile::encodeName(path).constData(), W_OK) != 0)
        return OpenFailure::ReadOnly;
    return OpenFailure::Other;
}

QString openFailureLine(const QString &path, const DbError &error)
{
    if (isServerLocation(path))
        return serverFailureLine(path, error);
    QString reason;
    switch (classifyOpenFailure(path, error)) {
    case OpenFailure::Missing:
        reason = QStringLiteral("такого файла нет.");
        break;
    case OpenFailure::InUse:
        reason = QStringLiteral("файл уже открыт другой программой или другим окном Zarnik.");
        break;
    case OpenFailure::ReadOnly:
        reason = QStringLiteral("файл доступен только для чтения, а программе нужна запись.");
        break;
    case OpenFailure::NotADatabase:
        reason = QStringLiteral("это не файл базы данных.");
        break;
    case OpenFailure::Other:
        // The engine's first line says most; the rest repeats the path and system details.
        reason = error.message().section(QLatin1Char('\n'), 0, 0).trimmed();
        break;
    }
    return locationLine(path, reason);
}

QString notProgramDatabaseLine(const QString &location)
{
    return locationLine(location, QStringLiteral("это база данных другой программы, в ней нет "
                                                 "документов Zarnik."));
}

} // namespace database
