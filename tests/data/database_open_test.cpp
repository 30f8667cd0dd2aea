// Opening a database another process holds, or one this user may only read: the second opener
// is refused, and the refusal says which of the two it was.

#include "data/tdm.h"
#include "temp_database.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

struct CliRun {
    int exitCode;
    QString out, err;
};

// zarnik-cli render of the small KNP listing to standard output; as the user nobody when
// `asNobody` (needs root).
CliRun renderListing(const QString &database, bool asNobody = false)
{
    QStringList args{
        QStringLiteral("render"),     QStringLiteral("--db"),   database,
        QStringLiteral("--template"), QStringLiteral("repKNP"), QStringLiteral("--json"),
        QStringLiteral("-")};
    QString program = QStringLiteral(ZARNIK_CLI);
    if (asNobody) {
        args.prepend(program);
        args = QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                           QStringLiteral("--clear-groups")} +
               args;
        program = QStringLiteral("setpriv");
    }
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The other user keeps its engine locks where it may write.
    if (asNobody) {
        env.remove(QStringLiteral("FIREBIRD_LOCK"));
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        env.insert(QStringLiteral("HOME"), QStringLiteral("/nonexistent"));
    }
    cli.setProcessEnvironment(env);
    cli.start(program, args);
    cli.waitForFinished(60000);
    return {cli.exitCode(), QString::fromUtf8(cli.readAllStandardOutput()),
            QString::fromUtf8(cli.readAllStandardError())};
}

TEST(DatabaseOpen, ASecondProcessIsRefusedWhileTheFirstHoldsTheFile)
{
    TempDatabase db(TempDatabase::Demo);
    {
        TDM holder;
        holder.DataModuleCreate(db.path());
        const CliRun refused = renderListing(db.path());
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_TRUE(refused.err.contains(QStringLiteral("Файл %1: файл уже открыт").arg(db.path())))
            << refused.err.toStdString();
        EXPECT_TRUE(refused.out.isEmpty());
        holder.DataModuleDestroy();
    }
    const CliRun opened = renderListing(db.path());
    EXPECT_EQ(opened.exitCode, 0) << opened.err.toStdString();
    EXPECT_TRUE(opened.out.startsWith(u'{'));
}

TEST(DatabaseOpen, AFileThisUserMayOnlyReadIsNamedReadOnly)
{
    TempDatabase db(TempDatabase::Demo);
    const bool root = ::getuid() == 0;
    if (root && QProcess::execute(QStringLiteral("setpriv"), {QStringLiteral("--version")}) != 0)
        GTEST_SKIP() << "running as root without setpriv: root may write any file";
    // Root reads it as nobody, who may read the folder and the file but write neither.
    QFile::setPermissions(db.folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ReadOther | QFile::ExeOther);
    QFile::setPermissions(db.path(), QFile::ReadOwner | QFile::ReadOther);

    const CliRun refused = renderListing(db.path(), root);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(
        QStringLiteral("Файл %1: файл доступен только для чтения").arg(db.path())))
        << refused.err.toStdString();
}

} // namespace
