#include "atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace zbackup {

QString uniqueSuffix(const QString &kind)
{
    return u'.' + kind + u'-' + QString::number(::getpid()) + u'-' +
           QString::number(QRandomGenerator::global()->generate(), 16);
}

QString temporaryPathBeside(const QString &path, const QString &kind)
{
    for (;;) {
        const QString candidate = path + uniqueSuffix(kind);
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
            return candidate;
    }
}

QString freeName(const QString &base)
{
    QString name = base;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = base + u'-' + QString::number(n);
    return name;
}

void removeAbandoned(const QString &path, const QString &kind)
{
    const QFileInfo target(path);
    const QRegularExpression owner(
        QStringLiteral("\\.%1-(\\d+)-[0-9a-f]+$").arg(QRegularExpression::escape(kind)));
    const QStringList names = target.dir().entryList(
        {target.fileName() + u'.' + kind + QStringLiteral("-*")}, QDir::Files | QDir::System);
    for (const QString &name : names) {
        const QRegularExpressionMatch match = owner.match(name);
        if (!match.hasMatch())
            continue;
        const pid_t pid = pid_t(match.captured(1).toLongLong());
        if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
            QFile::remove(target.dir().filePath(name));
    }
}

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

} // namespace zbackup
