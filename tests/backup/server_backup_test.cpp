#include "backup/database_backup.h"
#include "backup/database_validation.h"
#include "backup/restore_steps.h"
#include "database_contents.h"
#include "full_disk.h"
#include "server_client_process.h"
#include "server_database.h"

#include "data/connection_parameters.h"
#include "data/database_file.h"
#include "data/db_error.h"
#include "data/demo_data.h"
#include "data/fb_connection.h"
#include "data/tdm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QThread>

#include <gtest/gtest.h>

namespace {

const zbackup::Credentials kTestUser = ServerDatabase::testUser();

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Runs statements as `user` in a connection whose texts are UTF-8, as an administrator's tool
// would create a user with a password in any letters.
void executeInUtf8(const QString &location, const database::Credentials &user,
                   const QStringList &statements)
{
    QByteArray dpb = database::connectionParameters(database::ParameterBlock::Database, location,
                                                    user.user, user.password);
    dpb.append(char(isc_dpb_lc_ctype));
    dpb.append(char(4));
    dpb.append("UTF8");
    const QByteArray name = QFile::encodeName(location);
    isc_db_handle db = 0;
    ISC_STATUS_ARRAY status;
    isc_attach_database(status, 0, name.constData(), &db, short(dpb.size()), dpb.constData());
    throwOnFbError(status);
    for (const QString &statement : statements) {
        isc_tr_handle tr = 0;
        isc_start_transaction(status, &tr, 1, &db, 0, nullptr);
        throwOnFbError(status);
        isc_dsql_execute_immediate(status, &db, &tr, 0, statement.toUtf8().constData(), 3, nullptr);
        ISC_STATUS_ARRAY ignored;
        if (status[0] == 1 && status[1])
            isc_rollback_transaction(ignored, &tr);
        else
            isc_commit_transaction(status, &tr);
        throwOnFbError(status);
    }
    isc_detach_database(status, &db);
}

// A person whose password is not in Latin letters opens the database, and so backs it up and
// validates it: the services are told the password as the database is.
TEST(ServerBackup, APasswordInCyrillicServesTheBackupAndTheValidation)
{
    const ServerDatabase probe;
    SKIP_WITHOUT_SERVER(probe);
    const database::Credentials admin = ServerDatabase::administrator();
    if (admin.isEmpty())
        GTEST_SKIP() << "the server administrator's password is not readable here";
    const database::Credentials anna{QStringLiteral("ZARNIK_ANNA"), QStringLiteral("Пароль-7")};
    executeInUtf8(probe.location(), admin,
                  {QStringLiteral("CREATE OR ALTER USER ZARNIK_ANNA PASSWORD 'Пароль-7'"),
                   QStringLiteral("GRANT CREATE DATABASE TO USER ZARNIK_ANNA")});
    const auto dropUser = qScopeGuard([&] {
        try {
            executeInUtf8(probe.location(), admin, {QStringLiteral("DROP USER ZARNIK_ANNA")});
        } catch (const DbError &) {
        }
    });
    QTemporaryDir here;
    QFile::setPermissions(here.path(), QFileDevice::Permissions(0x7777));
    const QString location = ServerDatabase::host() + u':' + here.filePath(QStringLiteral("A.GDB"));
    database::create(location, anna);
    const auto dropDatabase = qScopeGuard([&] {
        try {
            FbConnection connection;
            connection.attach(location, anna.user, anna.password);
            connection.drop();
        } catch (const DbError &) {
        }
    });
    const zbackup::Result made =
        zbackup::backupDatabase(location, here.filePath(QStringLiteral("a.fbk")), {}, anna);
    EXPECT_TRUE(made.done()) << made.message.toStdString();
    const zbackup::Validation validation = zbackup::validateDatabase(location, anna);
    EXPECT_TRUE(validation.checked) << validation.message.toStdString();
    EXPECT_TRUE(validation.findings.isEmpty()) << validation.message.toStdString();
}

// The copy of a server's database lands on this computer, and restored over the server's
// database brings its rows back; the database it replaced is kept as a copy here.
TEST(ServerBackup, ARoundTripThroughThisComputerBringsTheRowsBack)
{
    ServerDatabase db(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(db);
    QTemporaryDir here;
    const QString backup = here.filePath(QStringLiteral("copy.fbk"));
    const QStringList before = contents(db.location(), kTestUser);
    const zbackup::Result made = zbackup::backupDatabase(db.location(), backup, {}, kTestUser);
    ASSERT_TRUE(made.done()) << made.message.toStdString();
    EXPECT_EQ(filesIn(here.path()), QStringList{QStringLiteral("copy.fbk")});

    execute(db.location(),
            {QStringLiteral("DELETE FROM DETAILDOCS"), QStringLiteral("DELETE FROM DOCS")},
            kTestUser);
    const QStringList afterMistake = contents(db.location(), kTestUser);
    const QDateTime now(QDate(2026, 3, 14), QTime(9, 5));
    QString kept;
    const zbackup::Result restored =
        zbackup::replaceDatabase(backup, db.location(), now, {}, &kept, kTestUser);
    ASSERT_TRUE(restored.done()) << restored.message.toStdString();
    EXPECT_EQ(contents(db.location(), kTestUser), before);
    EXPECT_EQ(kept,
              here.filePath(QStringLiteral("ZNDB1.2.GDB.before-restore-2026-03-14-0905.fbk")));
    // Nothing of the trial restore stays on the server.
    EXPECT_EQ(filesIn(QFileInfo(db.path()).path()), QStringList{QStringLiteral("ZNDB1.2.GDB")});

    // The kept copy holds the database as it was replaced.
    const QString old = here.filePath(QStringLiteral("old.gdb"));
    ASSERT_TRUE(zbackup::restoreBackup(kept, old, false).done());
    EXPECT_EQ(contents(old), afterMistake);
}

// The server streams its copy to this computer, whose full disk is told in plain words.
TEST(ServerBackup, AFullDiskHereLeavesNoPartialCopy)
{
    ServerDatabase db(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(db);
    QTemporaryDir here;
    const QString small = here.filePath(QStringLiteral("small"));
    FullDisk disk(small, QStringLiteral("1m"));
    SKIP_WITHOUT_FULL_DISK(disk);
    ASSERT_TRUE(disk.fill());
    const zbackup::Result result =
        zbackup::backupDatabase(db.location(), small + QStringLiteral("/copy.fbk"), {}, kTestUser);
    EXPECT_EQ(result.outcome, zbackup::Outcome::Failed);
    EXPECT_TRUE(result.message.contains(QStringLiteral("На диске не хватает места для копии.")))
        << result.message.toStdString();
    EXPECT_EQ(filesIn(small), QStringList{QStringLiteral("filler")});
    // The server's database goes on as before.
    EXPECT_TRUE(zbackup::validateDatabase(db.location(), kTestUser).findings.isEmpty());
}

// The new database is tried beside the server's one first: without room for it the server's
// database stays as it was.
TEST(ServerBackup, AFullDiskOnTheServerLeavesItsDatabaseAsItWas)
{
    const ServerDatabase probe;
    SKIP_WITHOUT_SERVER(probe);
    QTemporaryDir here;
    const QString small = here.filePath(QStringLiteral("small"));
    FullDisk disk(small, QStringLiteral("3m"));
    SKIP_WITHOUT_FULL_DISK(disk);
    // The server runs as a user of its own and writes here.
    for (const QString &folder : {here.path(), small})
        QFile::setPermissions(folder, QFileDevice::Permissions(0x7777));
    const QString location = ServerDatabase::host() + u':' + small + QStringLiteral("/ZNDB1.2.GDB");
    database::create(location, kTestUser);
    // Dropped, so that the server lets the small disk go.
    const auto dropAtTheEnd = qScopeGuard([&location] {
        try {
            FbConnection connection;
            connection.attach(location, kTestUser.user, kTestUser.password);
            connection.drop();
        } catch (const DbError &) {
        }
    });
    {
        TDM dm;
        dm.DataModuleCreate(location, kTestUser);
        fillDemoData(dm);
        dm.DataModuleDestroy();
    }
    const QString backup = here.filePath(QStringLiteral("copy.fbk"));
    ASSERT_TRUE(zbackup::backupDatabase(location, backup, {}, kTestUser).done());
    const QStringList before = contents(location, kTestUser);
    ASSERT_TRUE(disk.fill());
    const zbackup::Result result = zbackup::replaceDatabase(
        backup, location, QDateTime::currentDateTime(), {}, nullptr, kTestUser);
    EXPECT_EQ(result.outcome, zbackup::Outcome::Failed);
    EXPECT_TRUE(result.message.startsWith(QStringLiteral(
        "Не удалось восстановить базу данных из «copy.fbk»: на диске не хватает места.")))
        << result.message.toStdString();
    EXPECT_TRUE(result.message.endsWith(QStringLiteral("Текущая база данных не изменена.")));
    EXPECT_EQ(contents(location, kTestUser), before);
}

TEST(ServerBackup, ACancelledCopyOrABadBackupLeavesNothingAndTheDatabaseAsItWas)
{
    ServerDatabase db(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(db);
    QTemporaryDir here;
    const QString backup = here.filePath(QStringLiteral("copy.fbk"));
    const auto cancelAtOnce = [](double, const QString &) { return false; };
    EXPECT_EQ(zbackup::backupDatabase(db.location(), backup, cancelAtOnce, kTestUser).outcome,
              zbackup::Outcome::Cancelled);
    EXPECT_TRUE(filesIn(here.path()).isEmpty());

    ASSERT_TRUE(zbackup::backupDatabase(db.location(), backup, {}, kTestUser).done());
    QFile whole(backup);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QString cut = here.filePath(QStringLiteral("cut.fbk"));
    QFile half(cut);
    ASSERT_TRUE(half.open(QIODevice::WriteOnly));
    half.write(whole.read(whole.size() / 2));
    half.close();
    const QStringList before = contents(db.location(), kTestUser);
    EXPECT_EQ(zbackup::replaceDatabase(backup, db.location(), QDateTime::currentDateTime(),
                                       cancelAtOnce, nullptr, kTestUser)
                  .outcome,
              zbackup::Outcome::Cancelled);
    EXPECT_EQ(filesIn(QFileInfo(db.path()).path()), QStringList{QStringLiteral("ZNDB1.2.GDB")});
    const zbackup::Result result = zbackup::replaceDatabase(
        cut, db.location(), QDateTime::currentDateTime(), {}, nullptr, kTestUser);
    EXPECT_EQ(result.outcome, zbackup::Outcome::Failed);
    EXPECT_TRUE(result.message.contains(QStringLiteral("не является резервной копией")))
        << result.message.toStdString();
    EXPECT_TRUE(result.message.contains(QStringLiteral("Текущая база данных не изменена")));
    EXPECT_EQ(contents(db.location(), kTestUser), before);
    EXPECT_EQ(filesIn(QFileInfo(db.path()).path()), QStringList{QStringLiteral("ZNDB1.2.GDB")});
    EXPECT_EQ(filesIn(here.path()),
              (QStringList{QStringLiteral("copy.fbk"), QStringLiteral("cut.fbk")}));

    // A sound backup into a folder the server may not write: the backup is not blamed.
    const zbackup::Result refused = zbackup::restoreBackup(
        backup, ServerDatabase::host() + u':' + here.filePath(QStringLiteral("new.gdb")), false, {},
        kTestUser);
    EXPECT_EQ(refused.outcome, zbackup::Outcome::Failed);
    EXPECT_TRUE(refused.message.startsWith(
        QStringLiteral("Не удалось восстановить базу данных из «copy.fbk»: не удалось создать "
                       "новую базу данных.")))
        << refused.message.toStdString();
}

zbackup::detail::ServerDatabaseState connected(const char *user, const char *role,
                                               const char *owner, const QStringList &others = {})
{
    zbackup::detail::ServerDatabaseState state;
    state.user = QString::fromLatin1(user);
    state.role = QString::fromLatin1(role);
    state.owner = QString::fromLatin1(owner);
    state.others = others;
    return state;
}

TEST(ServerBackup, OnlyTheOwnerOrTheAdministratorMayRestoreAndOnlyAlone)
{
    const struct {
        const char *name;
        zbackup::detail::ServerDatabaseState state;
        QString refusal;
    } cases[] = {
        {"the owner, alone", connected("ANNA", "", "ANNA"), {}},
        {"the administrator", connected("SYSDBA", "", "ANNA"), {}},
        {"the administrator's role", connected("BORIS", "RDB$ADMIN", "ANNA"), {}},
        {"another user", connected("BORIS", "", "ANNA"),
         QStringLiteral("Восстановить базу данных на сервере может только её владелец (ANNA) или "
                        "администратор сервера SYSDBA; вы подключены как BORIS.")},
        {"the owner, with others connected",
         connected("ANNA", "", "ANNA", {QStringLiteral("BORIS"), QStringLiteral("ANNA")}),
         QStringLiteral("К базе данных на сервере подключены другие программы (пользователи: "
                        "BORIS, ANNA). Восстановить её можно, когда все они отключатся.")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(zbackup::detail::refusal(c.state), c.refusal);
    }
}

TEST(ServerBackup, RestoreIsRefusedWhileAnotherProgramIsConnected)
{
    ServerDatabase db(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(db);
    QTemporaryDir here;
    const QString backup = here.filePath(QStringLiteral("copy.fbk"));
    ASSERT_TRUE(zbackup::backupDatabase(db.location(), backup, {}, kTestUser).done());
    // This program's own connection (its window's) does not count.
    FbConnection own;
    own.attach(db.location(), kTestUser.user, kTestUser.password);
    EXPECT_EQ(zbackup::restoreRefusal(db.location(), kTestUser), QString());
    own.detach();

    ServerClientProcess other(db.location(), kTestUser.user, kTestUser.password);
    ASSERT_TRUE(other.started());
    QString refusal;
    for (int i = 0; i < 100 && refusal.isEmpty(); ++i) {
        QThread::msleep(50);
        refusal = zbackup::restoreRefusal(db.location(), kTestUser);
    }
    EXPECT_EQ(refusal, QStringLiteral("К базе данных на сервере подключены другие программы "
                                      "(пользователи: ZARNIK_TEST). Восстановить её можно, "
                                      "когда все они отключатся."));
    const QStringList before = contents(db.location(), kTestUser);
    const zbackup::Result result = zbackup::replaceDatabase(
        backup, db.location(), QDateTime::currentDateTime(), {}, nullptr, kTestUser);
    EXPECT_EQ(result.outcome, zbackup::Outcome::Failed);
    EXPECT_EQ(result.message, refusal + QStringLiteral("\nТекущая база данных не изменена."));
    EXPECT_EQ(contents(db.location(), kTestUser), before);
    EXPECT_EQ(filesIn(here.path()), QStringList{QStringLiteral("copy.fbk")});
}

} // namespace
