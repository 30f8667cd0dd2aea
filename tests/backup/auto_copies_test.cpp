#include "backup/auto_copies.h"

#include "temp_database.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QDateTime at(int day, int hour)
{
    return QDateTime(QDate(2026, 3, day), QTime(hour, 30));
}

QStringList names(const QStringList &paths)
{
    QStringList result;
    for (const QString &path : paths)
        result << QFileInfo(path).fileName();
    return result;
}

TEST(AutoCopies, OneADayTheNewestKeptAndOldOnesRemovedOnlyAfterANewOne)
{
    TempDatabase database(TempDatabase::Demo);
    QTemporaryDir base;
    const zbackup::AutoCopySettings settings{base.filePath(QStringLiteral("backups")), 3};
    const QString business = QStringLiteral("ТОО «Алем»");

    ASSERT_TRUE(zbackup::makeAutoCopy(database.path(), business, settings, at(1, 9)).done());
    ASSERT_TRUE(zbackup::makeAutoCopy(database.path(), business, settings, at(1, 18)).done());
    EXPECT_EQ(names(zbackup::autoCopies(settings.folder)),
              QStringList{QStringLiteral("Zarnik-ТОО_«Алем»-2026-03-01-0930.fbk")});

    for (int day = 2; day <= 5; ++day)
        ASSERT_TRUE(zbackup::makeAutoCopy(database.path(), business, settings, at(day, 9)).done());
    EXPECT_EQ(names(zbackup::autoCopies(settings.folder)),
              (QStringList{QStringLiteral("Zarnik-ТОО_«Алем»-2026-03-03-0930.fbk"),
                           QStringLiteral("Zarnik-ТОО_«Алем»-2026-03-04-0930.fbk"),
                           QStringLiteral("Zarnik-ТОО_«Алем»-2026-03-05-0930.fbk")}));

    // A copy that fails removes nothing: the old ones are all there is.
    const zbackup::Result failed = zbackup::makeAutoCopy(
        database.folder() + QStringLiteral("/none.gdb"), business, settings, at(6, 9));
    EXPECT_EQ(failed.outcome, zbackup::Outcome::Failed);
    EXPECT_EQ(zbackup::autoCopies(settings.folder).size(), 3);
    EXPECT_TRUE(zbackup::autoCopyDue(settings.folder, at(6, 10)));

    // Files of the user's own in the folder are never counted or removed.
    QFile own(settings.folder + QStringLiteral("/notes.txt"));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.close();
    ASSERT_TRUE(zbackup::makeAutoCopy(database.path(), business, settings, at(7, 9)).done());
    EXPECT_EQ(zbackup::autoCopies(settings.folder).size(), 3);
    EXPECT_TRUE(QFile::exists(own.fileName()));
}

TEST(AutoCopies, FileNamesAreSafe)
{
    const QDateTime when(QDate(2026, 12, 31), QTime(23, 59));
    EXPECT_EQ(zbackup::backupFileName(QStringLiteral(" ИП  Жұмабаев/Қ:1 "), when),
              QStringLiteral("Zarnik-ИП_Жұмабаев_Қ_1-2026-12-31-2359.fbk"));
    EXPECT_EQ(zbackup::backupFileName(QString(), when),
              QStringLiteral("Zarnik-база-2026-12-31-2359.fbk"));
}

} // namespace
