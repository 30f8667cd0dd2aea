#include "cli_run.h"
#include "data/database_file.h"
#include "data/fb_connection.h"
#include "data/fb_statement.h"
#include "server_database.h"
#include "temp_database.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <QThread>

#include <csignal>

namespace {

CliRun cli(const QStringList &args)
{
    return runCli(args);
}

qint64 documentCount(const QString &path)
{
    FbConnection connection;
    connection.attach(path, database::userName(), database::password());
    FbTransaction transaction(connection);
    transaction.start();
    const qint64 count =
        FbStatement::scalar(transaction, QStringLiteral("SELECT COUNT(*) FROM DOCS")).toLongLong();
    transaction.commit();
    return count;
}

TEST(BackupCommands, ExitCodesAsTheOtherCommands)
{
    TempDatabase database(TempDatabase::Demo);
    QTemporaryDir folder;
    const QString backup = folder.filePath(QStringLiteral("copy.fbk"));
    const QString other = folder.filePath(QStringLiteral("other.gdb"));

    EXPECT_EQ(cli({QStringLiteral("backup"), backup}).exitCode, 2); // no --db
    EXPECT_EQ(
        cli({QStringLiteral("backup"), QStringLiteral("--db"), database.path(), backup}).exitCode,
        0);
    // --database and --db are one option.
    const CliRun validate =
        cli({QStringLiteral("validate"), QStringLiteral("--database"), database.path()});
    EXPECT_EQ(validate.exitCode, 0);
    EXPECT_EQ(validate.out, QStringLiteral("ошибок не найдено\n"));

    EXPECT_EQ(cli({QStringLiteral("restore"), backup, other}).exitCode, 0);
    EXPECT_EQ(documentCount(other), documentCount(database.path()));
    const CliRun existing = cli({QStringLiteral("restore"), backup, other});
    EXPECT_EQ(existing.exitCode, 2);
    EXPECT_TRUE(existing.err.contains(QStringLiteral("--replace")));
    EXPECT_EQ(cli({QStringLiteral("restore"), backup, other, QStringLiteral("--replace")}).exitCode,
              0);
    EXPECT_EQ(cli({QStringLiteral("restore"), database.path(),
                   folder.filePath(QStringLiteral("new.gdb"))})
                  .exitCode,
              1); // a database is not a backup
    EXPECT_EQ(cli({QStringLiteral("validate"), QStringLiteral("--db"),
                   folder.filePath(QStringLiteral("none.gdb"))})
                  .exitCode,
              1);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
              (QStringList{QStringLiteral("copy.fbk"), QStringLiteral("other.gdb")}));
}

// A restore killed half-way leaves the database under its name as it was: the restored file
// takes the name only when complete. Its unfinished file goes with the next restore.
TEST(BackupCommands, ARestoreKilledHalfWayLeavesTheOldDatabase)
{
    TempDatabase database(TempDatabase::Demo);
    QTemporaryDir folder;
    const QString big = folder.filePath(QStringLiteral("big.gdb"));
    database::create(big);
    {
        FbConnection connection;
        connection.attach(big, database::userName(), database::password());
        FbTransaction transaction(connection);
        transaction.start();
        FbStatement insert(transaction);
        insert.prepare(QStringLiteral("INSERT INTO DOCS (KOD, NAMEORG) VALUES (:KOD, "
                                      "'ТОО «Клиент»')"));
        for (int kod = 1; kod <= 60'000; ++kod) {
            insert.setParameter(0, kod);
            insert.execute();
        }
        transaction.commit();
    }
    const QString backup = folder.filePath(QStringLiteral("big.fbk"));
    ASSERT_EQ(cli({QStringLiteral("backup"), QStringLiteral("--db"), big, backup}).exitCode, 0);
    const qint64 before = documentCount(database.path());

    QProcess restore;
    // The killed engine's lock files stay in a folder of its own, away from other tests'.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FIREBIRD_LOCK"), folder.path());
    restore.setProcessEnvironment(environment);
    restore.start(QStringLiteral(ZARNIK_CLI), {QStringLiteral("restore"), backup, database.path(),
                                               QStringLiteral("--replace")});
    ASSERT_TRUE(restore.waitForStarted());
    // Killed once the restore has begun writing its new file.
    for (int i = 0; i < 400; ++i) {
        if (QDir(database.folder()).entryList({QStringLiteral("*.restoring-*")}).size() > 0)
            break;
        QThread::msleep(5);
    }
    ::kill(pid_t(restore.processId()), SIGKILL);
    restore.waitForFinished();
    EXPECT_EQ(documentCount(database.path()), before);

    const QString small = folder.filePath(QStringLiteral("small.fbk"));
    ASSERT_EQ(
        cli({QStringLiteral("backup"), QStringLiteral("--db"), database.path(), small}).exitCode,
        0);
    ASSERT_EQ(cli({QStringLiteral("restore"), small, database.path(), QStringLiteral("--replace")})
                  .exitCode,
              0);
    EXPECT_EQ(QDir(database.folder()).entryList({QStringLiteral("*.restoring-*")}), QStringList());
    EXPECT_EQ(documentCount(database.path()), before);
}

// The embedded engine could still be closing the database in a thread of its own when the
// command exited, and crashed then (signal 11) once in a few dozen runs.
TEST(BackupCommands, ValidateNeverCrashesAtExit)
{
    TempDatabase database(TempDatabase::Demo);
    for (int run = 0; run < 100; ++run) {
        const CliRun validate =
            cli({QStringLiteral("validate"), QStringLiteral("--db"), database.path()});
        ASSERT_EQ(validate.exitCode, 0) << "run " << run << ": " << validate.err.toStdString();
    }
}

// A server's database by its user, given as options or, as Firebird's own tools take it, in
// ISC_USER and ISC_PASSWORD; without any user the command says what is missing.
TEST(BackupCommands, AServersDatabaseTakesTheUsersOwnName)
{
    ServerDatabase db(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(db);
    QTemporaryDir folder;
    const QString backup = folder.filePath(QStringLiteral("copy.fbk"));
    const database::Credentials user = ServerDatabase::testUser();
    const QStringList asUser = {QStringLiteral("--user"), user.user, QStringLiteral("--password"),
                                user.password};
    qunsetenv("ISC_USER");
    qunsetenv("ISC_PASSWORD");

    const CliRun nobody =
        cli({QStringLiteral("backup"), QStringLiteral("--db"), db.location(), backup});
    EXPECT_EQ(nobody.exitCode, 1);
    EXPECT_TRUE(nobody.err.contains(QStringLiteral("нужны имя пользователя и пароль")))
        << nobody.err.toStdString();

    const CliRun made =
        cli(QStringList{QStringLiteral("backup"), QStringLiteral("--db"), db.location(), backup} +
            asUser);
    EXPECT_EQ(made.exitCode, 0) << made.err.toStdString();
    EXPECT_TRUE(QFile::exists(backup)); // on this computer, not the server's folder
    const QString restored = folder.filePath(QStringLiteral("restored.gdb"));
    EXPECT_EQ(cli({QStringLiteral("restore"), backup, restored}).exitCode, 0);
    EXPECT_GT(documentCount(restored), 0);

    qputenv("ISC_USER", user.user.toUtf8());
    qputenv("ISC_PASSWORD", user.password.toUtf8());
    const CliRun validate =
        cli({QStringLiteral("validate"), QStringLiteral("--db"), db.location()});
    const CliRun replace =
        cli({QStringLiteral("restore"), backup, db.location(), QStringLiteral("--replace")});
    qunsetenv("ISC_USER");
    qunsetenv("ISC_PASSWORD");
    EXPECT_EQ(validate.exitCode, 0) << validate.err.toStdString();
    EXPECT_EQ(validate.out, QStringLiteral("ошибок не найдено\n"));
    EXPECT_EQ(replace.exitCode, 0) << replace.err.toStdString();
    EXPECT_TRUE(replace.out.contains(QStringLiteral("was kept in ") + folder.path()))
        << replace.out.toStdString();
}

} // namespace
