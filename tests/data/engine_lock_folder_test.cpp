#include "data/engine_lock_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using engine_lock::Places;

// What another local user could have left in a place whose name anyone can guess.
enum class Planted {
    Nothing,
    OpenToEveryone, // a folder of ours with mode 0777
    OpenToGroup,    // a folder of ours with mode 0770
    OtherOwner,     // a private folder that belongs to someone else (needs root to make)
    Link,           // a link to a folder of ours
};

struct Case {
    const char *name;
    Planted runtime;   // at RUNTIME/zarnik-firebird-UID
    Planted cache;     // at CACHE/zarnik-firebird
    const char *taken; // "runtime", "cache" or "fresh"
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.name;
}

class EngineLockFolder : public ::testing::TestWithParam<Case> {
protected:
    // Makes `what` at `path`; false when this user cannot make it.
    bool plant(Planted what, const QString &path)
    {
        const QByteArray native = QFile::encodeName(path);
        switch (what) {
        case Planted::Nothing:
            return true;
        case Planted::OpenToEveryone:
            return ::mkdir(native.constData(), 0700) == 0 && ::chmod(native.constData(), 0777) == 0;
        case Planted::OpenToGroup:
            return ::mkdir(native.constData(), 0700) == 0 && ::chmod(native.constData(), 0770) == 0;
        case Planted::OtherOwner:
            return ::getuid() == 0 && ::mkdir(native.constData(), 0700) == 0 &&
                   ::chown(native.constData(), 65534, 65534) == 0;
        case Planted::Link: {
            const QString target = m_root.filePath(QStringLiteral("elsewhere"));
            QDir().mkpath(target);
            ::chmod(QFile::encodeName(target).constData(), 0700);
            return QFile::link(target, path);
        }
        }
        return false;
    }

    QTemporaryDir m_root;
};

TEST_P(EngineLockFolder, TakesOnlyAFolderOfItsOwnThatOthersCannotWriteInto)
{
    const Case &c = GetParam();
    Places places;
    places.uid = ::getuid();
    places.runtime = m_root.filePath(QStringLiteral("runtime"));
    places.temp = m_root.filePath(QStringLiteral("tmp"));
    places.cache = m_root.filePath(QStringLiteral("cache"));
    for (const QString &folder : {places.runtime, places.temp, places.cache}) {
        QDir().mkpath(folder);
        ::chmod(QFile::encodeName(folder).constData(), 0700);
    }
    const QString runtimeLock =
        places.runtime + QStringLiteral("/zarnik-firebird-%1").arg(places.uid);
    const QString cacheLock = places.cache + QStringLiteral("/zarnik-firebird");
    if (!plant(c.runtime, runtimeLock) || !plant(c.cache, cacheLock))
        GTEST_SKIP() << "only root can make a folder that belongs to another user";

    const QString chosen = engine_lock::chooseFolder(places);
    const QString expected = QLatin1String(c.taken) == QLatin1String("runtime") ? runtimeLock
                             : QLatin1String(c.taken) == QLatin1String("cache") ? cacheLock
                                                                                : QString();
    if (expected.isEmpty()) {
        EXPECT_TRUE(chosen.startsWith(places.temp + QStringLiteral("/zarnik-firebird-")))
            << chosen.toStdString();
    } else {
        EXPECT_EQ(chosen, expected);
    }
    EXPECT_TRUE(engine_lock::isPrivateFolder(chosen, places.uid)) << chosen.toStdString();
    if (c.runtime == Planted::OpenToEveryone) {
        EXPECT_TRUE(QFileInfo(runtimeLock).permissions() & QFileDevice::WriteOther)
            << "someone else's folder is left as it was";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Planted, EngineLockFolder,
    ::testing::Values(Case{"NothingInTheWay", Planted::Nothing, Planted::Nothing, "runtime"},
                      Case{"FolderOpenToEveryone", Planted::OpenToEveryone, Planted::Nothing,
                           "cache"},
                      Case{"FolderOpenToTheGroup", Planted::OpenToGroup, Planted::Nothing, "cache"},
                      Case{"FolderOfAnotherUser", Planted::OtherOwner, Planted::Nothing, "cache"},
                      Case{"LinkToAFolder", Planted::Link, Planted::Nothing, "cache"},
                      Case{"CacheTakenToo", Planted::OpenToEveryone, Planted::OtherOwner, "fresh"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(EngineLockFolderRequested, IsUsedWhenPrivateAndPassedOverOtherwise)
{
    QTemporaryDir root;
    Places places;
    places.uid = ::getuid();
    places.runtime = root.filePath(QStringLiteral("runtime"));
    places.temp = root.filePath(QStringLiteral("tmp"));
    places.requested = root.filePath(QStringLiteral("mine"));
    for (const QString &folder : {places.runtime, places.temp, places.requested}) {
        QDir().mkpath(folder);
        ::chmod(QFile::encodeName(folder).constData(), 0700);
    }
    EXPECT_EQ(engine_lock::chooseFolder(places), places.requested);

    ::chmod(QFile::encodeName(places.requested).constData(), 0777);
    EXPECT_EQ(engine_lock::chooseFolder(places),
              places.runtime + QStringLiteral("/zarnik-firebird-%1").arg(places.uid));
}

} // namespace
