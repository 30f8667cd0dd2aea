#include "open_failure.h"

#include <QFile>
#include <QFileInfo>

#include <ibase.h>
#include <iberror.h>

#include <cerrno>

#include <unistd.h>

namespace database {

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
    return QStringLiteral("Файл %1: %2").arg(QFileInfo(path).absoluteFilePath(), reason);
}

} // namespace database
