#include "backup/database_backup.h"
#include "backup/database_validation.h"
#include "backup/service_location.h"

#include "database_contents.h"
#include "full_disk.h"

#include "data/business_images.h"
#include "data/database_file.h"
#include "data/fb_connection.h"
#include "data/fb_statement.h"
#include "temp_database.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

// A demo database with many more documents and lines, Kazakh letters, empty and extreme
// values, the generators moved on, and a stamp.
void addGeneratedRows(const QString &path)
{
    QStringList statements;
    for (int kod = 1000; kod < 1300; ++kod) {
        statements << QStringLiteral("INSERT INTO DOCS (KOD, KODARCHIV, NAMEORG, NUMSCH, STNDS, "
                                     "DATASCH) VALUES (%1, %2, 'ТОО «Өнім-%1» Қазақстан', %1, "
                                     "12.5, '2026-01-15')")
                          .arg(kod)
                          .arg(kod % 2);
        for (int n = 1; n <= 5; ++n)
            statements << QStringLiteral("INSERT INTO DETAILDOCS (KOD, KODDOCS, NUM, NAME, "
                                         "KOLVO, CENASHT, STREALIZ) VALUES (%1, %2, %3, "
                                         "'Тауар ғ%3', 0.001, 99999999.99, NULL)")
                              .arg(kod * 10 + n)
                              .arg(kod)
                              .arg(n);
    }
    statements << QStringLiteral("SET GENERATOR DOCS_KOD_GEN TO 5000");
    execute(path, statements);
    FbConnection connection;
    connection.attach(path, database::userName(), database::password());
    QByteArray stamp(100000, Qt::Uninitialized);
    for (qsizetype i = 0; i < stamp.size(); ++i)
        stamp[i] = char(i % 253);
    BusinessImages(connection).store(QStringLiteral("stamp"), stamp);
}

class BackupTest : public ::testing::Test {
protected:
    QString file(const QString &name) const { return m_folder.filePath(name); }
    QStringList filesInFolder() const
    {
        return QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    QTemporaryDir m_folder;
};

TEST_F(BackupTest, RoundTripKeepsEveryRowOfTheDemoAndAGeneratedDatabase)
{
    for (const bool generated : {false, true}) {
        SCOPED_TRACE(generated ? "generated" : "demo");
        TempDatabase original(TempDatabase::Demo);
        if (generated)
            addGeneratedRows(original.path());
        const QString backup = file(QStringLiteral("copy.fbk"));
        const QString restored = file(QStringLiteral("restored.gdb"));
        ASSERT_TRUE(zbackup::backupDatabase(original.path(), backup).done());
        const zbackup::Result result = zbackup::restoreBackup(backup, restored, true);
        ASSERT_TRUE(result.done()) << result.message.toStdString();
        EXPECT_EQ(contents(restored), contents(original.path()));
        EXPECT_EQ(filesInFolder(),
                  (QStringList{QStringLiteral("copy.fbk"), QStringLiteral("restored.gdb")}));
    }
}

TEST_F(BackupTest, ReplacingTheDatabaseKeepsTheOldFileBesideIt)
{
    TempDatabase database(TempDatabase::Demo);
    const QString backup = file(QStringLiteral("copy.fbk"));
    ASSERT_TRUE(zbackup::backupDatabase(database.path(), backup).done());
    const QStringList before = contents(database.path());
    execute(database.path(),
            {QStringLiteral("DELETE FROM DETAILDOCS"), QStringLiteral("DELETE FROM DOCS")});
    const QStringList afterMistake = contents(database.path());

    const QDateTime now(QDate(2026, 3, 14), QTime(9, 5));
    QString kept;
    const zbackup::Result result =
        zbackup::replaceDatabase(backup, database.path(), now, {}, &kept);
    ASSERT_TRUE(result.done()) << result.message.toStdString();
    EXPECT_EQ(kept, database.path() + QStringLiteral(".before-restore-2026-03-14-0905"));
    EXPECT_EQ(contents(kept), afterMistake);
    EXPECT_EQ(contents(database.path()), before);
    EXPECT_EQ(QDir(database.folder()).entryList(QDir::Files).size(), 2); // no temporary left
}

// A file that is not a whole backup of a Zarnik database is refused before anything is
// replaced.
struct BadBackup {
    const char *name;
    std::function<void(const QString &goodBackup, const QString &target)> make;
    const char *reason;
};

TEST_F(BackupTest, ABadBackupIsRefusedAndTheDatabaseStaysAsItWas)
{
    TempDatabase database(TempDatabase::Demo);
    const QString good = file(QStringLiteral("good.fbk"));
    ASSERT_TRUE(zbackup::backupDatabase(database.path(), good).done());
    const std::vector<BadBackup> cases = {
        {"not a backup",
         [](const QString &, const QString &target) {
             QFile out(target);
             ASSERT_TRUE(out.open(QIODevice::WriteOnly));
             out.write("Счёт на оплату № 15\n");
         },
         "не является резервной копией"},
        {"cut short",
         [](const QString &goodBackup, const QString &target) {
             QFile in(goodBackup);
             ASSERT_TRUE(in.open(QIODevice::ReadOnly));
             QFile out(target);
             ASSERT_TRUE(out.open(QIODevice::WriteOnly));
             out.write(in.read(in.size() / 2));
         },
         "файл обрезан"},
        {"another program's database",
         [this](const QString &, const QString &target) {
             const QString foreign = file(QStringLiteral("foreign.gdb"));
             FbConnection::create(foreign, database::userName(), database::password());
             execute(foreign, {QStringLiteral("CREATE TABLE INVOICES (ID INTEGER)")});
             ASSERT_TRUE(zbackup::backupDatabase(foreign, target).done());
             QFile::remove(foreign);
         },
         "нет таблицы документов DOCS"},
        {"missing", [](const QString &, const QString &) {}, "не найден"},
    };
    for (const BadBackup &bad : cases) {
        SCOPED_TRACE(bad.name);
        const QString backup = file(QStringLiteral("bad.fbk"));
        QFile::remove(backup);
        bad.make(good, backup);
        const QStringList before = contents(database.path());
        const zbackup::Result result =
            zbackup::replaceDatabase(backup, database.path(), QDateTime::currentDateTime());
        EXPECT_EQ(result.outcome, zbackup::Outcome::Failed);
        EXPECT_TRUE(result.message.contains(QString::fromUtf8(bad.reason)))
            << result.message.toStdString();
        EXPECT_TRUE(result.message.contains(QStringLiteral("Текущая база данных не изменена")));
        EXPECT_EQ(contents(database.path()), before);
        EXPECT_EQ(QDir(database.folder()).entryList(QDir::Files),
                  QStringList{database::fileName()});
    }
}

TEST_F(BackupTest, RestoreIsRefusedWhileTheDatabaseIsOpenElsewhere)
{
    TempDatabase database(TempDatabase::Demo);
    const QString backup = file(QStringLiteral("copy.fbk"));
    ASSERT_TRUE(zbackup::backupDatabase(database.path(), backup).done());
    FbConnection other;
    other.attach(database.path(), database::userName(), database::password());
    const QStringList before = contents(database.path());
    const zbackup::Result result =
        zbackup::replaceDatabase(backup, database.path(), QDateTime::currentDateTime());
    EXPECT_EQ(result.outcome, zbackup::Outcome::Failed);
    EXPECT_TRUE(result.message.contains(QStringLiteral("База данных открыта")));
    EXPECT_EQ(contents(database.path()), before);
    EXPECT_FALSE(zbackup::restoreBackup(backup, database.path(), true).done());
    EXPECT_EQ(QDir(database.folder()).entryList(QDir::Files), QStringList{database::fileName()});
}

TEST_F(BackupTest, ACancelledBackupOrRestoreLeavesNoFile)
{
    TempDatabase database(TempDatabase::Demo);
    const auto cancelAtOnce = [](double, const QString &) { return false; };
    const QString backup = file(QStringLiteral("copy.fbk"));
    EXPECT_EQ(zbackup::backupDatabase(database.path(), backup, cancelAtOnce).outcome,
              zbackup::Outcome::Cancelled);
    EXPECT_TRUE(filesInFolder().isEmpty());

    ASSERT_TRUE(zbackup::backupDatabase(database.path(), backup).done());
    const QStringList before = contents(database.path());
    EXPECT_EQ(zbackup::replaceDatabase(backup, database.path(), QDateTime::currentDateTime(),
                                       cancelAtOnce)
                  .outcome,
              zbackup::Outcome::Cancelled);
    EXPECT_EQ(contents(database.path()), before);
    EXPECT_EQ(QDir(database.folder()).entryList(QDir::Files), QStringList{database::fileName()});
}

TEST_F(BackupTest, ProgressRisesToTheEnd)
{
    TempDatabase database(TempDatabase::Demo);
    std::vector<double> seen;
    ASSERT_TRUE(zbackup::backupDatabase(database.path(), file(QStringLiteral("copy.fbk")),
                                        [&seen](double fraction, const QString &) {
                                            seen.push_back(fraction);
                                            return true;
                                        })
                    .done());
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GT(seen.back(), 0.8);
    EXPECT_LE(seen.back(), 1.0);
}

TEST_F(BackupTest, AFullDiskLeavesNoPartialFileAndTheDatabaseUntouched)
{
    const QString small = file(QStringLiteral("small"));
    FullDisk disk(small, QStringLiteral("4500k"));
    SKIP_WITHOUT_FULL_DISK(disk);
    TempDatabase source(TempDatabase::Demo);
    addGeneratedRows(source.path());
    const QString database = small + u'/' + database::fileName();
    ASSERT_TRUE(QFile::copy(source.path(), database));
    const QStringList before = contents(database);
    // Neither a backup nor a second database fits.
    ASSERT_TRUE(disk.fill());
    const zbackup::Result backup = zbackup::backupDatabase(database, small + "/copy.fbk");
    EXPECT_EQ(backup.outcome, zbackup::Outcome::Failed);
    EXPECT_TRUE(backup.message.startsWith(
        QStringLiteral("Не удалось создать резервную копию «%1/copy.fbk»:\nНа диске не хватает "
                       "места для копии.")
            .arg(small)))
        << backup.message.toStdString();
    EXPECT_EQ(QDir(small).entryList(QDir::Files),
              (QStringList{QStringLiteral("filler"), database::fileName()}));

    disk.makeRoom();
    const QString good = file(QStringLiteral("good.fbk"));
    ASSERT_TRUE(zbackup::backupDatabase(source.path(), good).done());
    // Room for the database but not for a restored second one beside it.
    const zbackup::Result restore =
        zbackup::replaceDatabase(good, database, QDateTime::currentDateTime());
    EXPECT_EQ(restore.outcome, zbackup::Outcome::Failed);
    EXPECT_TRUE(restore.message.startsWith(
        QStringLiteral("Не удалось восстановить базу данных из «good.fbk»: на диске не хватает "
                       "места.")))
        << restore.message.toStdString();
    EXPECT_TRUE(restore.message.endsWith(QStringLiteral("Текущая база данных не изменена.")));
    EXPECT_EQ(contents(database), before);
    EXPECT_EQ(QDir(small).entryList(QDir::Files), QStringList{database::fileName()});
}

TEST(ServiceLocation, FilesAndServers)
{
    struct Case {
        const char *location;
        const char *serviceManager;
        const char *database;
        bool onServer;
    };
    const Case cases[] = {
        {"/home/shop/ZNDB1.2.GDB", "service_mgr", "/home/shop/ZNDB1.2.GDB", false},
        {"office:/srv/zarnik/ZNDB1.2.GDB", "office:service_mgr", "/srv/zarnik/ZNDB1.2.GDB", true},
        {"192.168.1.5/3051:zarnik", "192.168.1.5/3051:service_mgr", "zarnik", true},
        {"inet://office:3051/zarnik", "inet://office:3051/service_mgr", "zarnik", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.location);
        const zbackup::ServiceLocation where =
            zbackup::serviceLocation(QString::fromUtf8(c.location));
        EXPECT_EQ(where.serviceManager, QString::fromUtf8(c.serviceManager));
        EXPECT_EQ(where.database, QString::fromUtf8(c.database));
        EXPECT_EQ(where.onServer, c.onServer);
    }
    EXPECT_EQ(zbackup::serviceLocation(QStringLiteral("shop/ZNDB1.2.GDB")).database,
              QDir::current().absoluteFilePath(QStringLiteral("shop/ZNDB1.2.GDB")));
}

TEST(Validation, ASoundDatabaseHasNoErrorsAndAMissingOneSaysWhy)
{
    TempDatabase database(TempDatabase::Demo);
    const zbackup::Validation sound = zbackup::validateDatabase(database.path());
    EXPECT_TRUE(sound.checked);
    EXPECT_TRUE(sound.findings.isEmpty()) << sound.findings.join(u'\n').toStdString();
    EXPECT_EQ(sound.message, QStringLiteral("ошибок не найдено"));

    const zbackup::Validation missing =
        zbackup::validateDatabase(database.folder() + QStringLiteral("/none.gdb"));
    EXPECT_FALSE(missing.checked);
    EXPECT_TRUE(missing.message.startsWith(QStringLiteral("Проверить базу данных не удалось")));
}

} // namespace
