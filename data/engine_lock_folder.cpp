#include "engine_lock_folder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace engine_lock {

bool isPrivateFolder(const QString &path, uid_t uid)
{
    if (path.isEmpty())
        return false;
    struct stat info;
    // lstat: a link planted in place of the folder leads wherever its maker chose.
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == uid && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

namespace {

// The folder at `path`, made private to this user if it did not exist; empty when it exists
// but is not private, or cannot be made.
QString privateFolder(const QString &path, uid_t uid)
{
    if (path.isEmpty())
        return {};
    if (::mkdir(QFile::encodeName(path).constData(), 0700) != 0 && errno != EEXIST)
        return {};
    return isPrivateFolder(path, uid) ? path : QString();
}

QString freshFolder(const QString &base)
{
    QByteArray pattern = QFile::encodeName(base + QStringLiteral("/zarnik-firebird-XXXXXX"));
    if (!::mkdtemp(pattern.data()))
        return {};
    return QFile::decodeName(pattern);
}

} // namespace

QString chooseFolder(const Places &places)
{
    if (isPrivateFolder(places.requested, places.uid))
        return places.requested;
    const QString name = QStringLiteral("/zarnik-firebird-%1").arg(qulonglong(places.uid));
    const QString base = isPrivateFolder(places.runtime, places.uid) ? places.runtime : places.temp;
    if (QString folder = privateFolder(base + name, places.uid); !folder.isEmpty())
        return folder;
    if (!places.cache.isEmpty()) {
        QDir().mkpath(places.cache);
        if (QString folder =
                privateFolder(places.cache + QStringLiteral("/zarnik-firebird"), places.uid);
            !folder.isEmpty())
            return folder;
    }
    return freshFolder(places.temp);
}

Places currentPlaces()
{
    Places places;
    places.requested = qEnvironmentVariable("FIREBIRD_LOCK");
    places.runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    places.temp = QDir::tempPath();
    places.cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    places.uid = ::getuid();
    return places;
}

} // namespace engine_lock
