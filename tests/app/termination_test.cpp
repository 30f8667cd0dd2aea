#include "data/tdm.h"
#include "temp_database.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <functional>

#include <gtest/gtest.h>

namespace {

// Polls `condition` until it holds or `timeoutMs` pass.
bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 30000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
    return true;
}

QByteArray procFile(qint64 pid, const char *name)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The program has its own SIGTERM handler in place: before that, the signal would kill it.
bool catchesSigterm(qint64 pid)
{
    for (const QByteArray &line : procFile(pid, "status").split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1u;
    }
    return false;
}

bool holdsFile(qint64 pid, const QString &path)
{
    const QString wanted = QFileInfo(path).canonicalFilePath();
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QString &fd :
         fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (QFileInfo(fds.filePath(fd)).symLinkTarget() == wanted)
            return true;
    }
    return false;
}

// User and system CPU time so far, in clock ticks.
qint64 cpuTicks(qint64 pid)
{
    const QByteArray stat = procFile(pid, "stat");
    // The fields after the command name, which is in parentheses and may hold blanks.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 12 ? fields[11].toLongLong() + fields[12].toLongLong() : -1;
}

// Running: the database is open and the program sits in its event loop, using no CPU.
bool runningIdle(qint64 pid, const QString &database)
{
    if (!holdsFile(pid, database))
        return false;
    const qint64 before = cpuTicks(pid);
    QThread::msleep(200);
    return before >= 0 && cpuTicks(pid) == before;
}

struct Moment {
    const char *name;
    bool (*ready)(qint64 pid, const QString &database);
};

void PrintTo(const Moment &moment, std::ostream *os)
{
    *os << moment.name;
}

class Termination : public ::testing::TestWithParam<Moment> {};

// Logging out sends SIGTERM: the program must close as by "Выход", letting go of its file.
TEST_P(Termination, ASignalClosesTheProgramInOrder)
{
    TempDatabase db(TempDatabase::Demo);
    QProcess zarnik;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // A database location kept in this user's settings would come before the working folder's.
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), db.folder());
    zarnik.setProcessEnvironment(env);
    zarnik.setWorkingDirectory(db.folder());
    zarnik.start(QStringLiteral(ZARNIK_EXECUTABLE), {});
    ASSERT_TRUE(zarnik.waitForStarted());
    const qint64 pid = zarnik.processId();
    ASSERT_TRUE(waitUntil([&] {
        return zarnik.state() != QProcess::Running || GetParam().ready(pid, db.path());
    })) << "the program never got ready";
    ASSERT_EQ(zarnik.state(), QProcess::Running) << zarnik.readAllStandardError().toStdString();
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    ASSERT_TRUE(zarnik.waitForFinished(30000)) << "still running after SIGTERM";
    EXPECT_EQ(zarnik.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(zarnik.exitCode(), 0);

    TDM dm;
    EXPECT_NO_THROW(dm.DataModuleCreate(db.path())) << "the file is still held";
}

INSTANTIATE_TEST_SUITE_P(
    Moments, Termination,
    ::testing::Values(
        // as soon as the program can take the signal: during start-up
        Moment{"StartingUp", [](qint64 pid, const QString &) { return catchesSigterm(pid); }},
        Moment{"Running", runningIdle}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
