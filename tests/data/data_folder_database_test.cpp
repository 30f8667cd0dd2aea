#include "data/database_location.h"

#include "data/db_error.h"
#include "data/tdm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(DataFolderDatabase, IsMadeEmptyWithItsFoldersOnceAndThenLeftAlone)
{
    QTemporaryDir home;
    const QString path = home.path() + QStringLiteral("/.local/share/zarnik/ZNDB1.2.GDB");
    EXPECT_TRUE(database::ensureDataFolderDatabase(path));
    {
        TDM dm;
        dm.DataModuleCreate(path);
        dm.DataModuleDestroy();
    }
    const QDateTime made = QFileInfo(path).lastModified();
    EXPECT_FALSE(database::ensureDataFolderDatabase(path));
    EXPECT_EQ(QFileInfo(path).lastModified(), made);
    EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral(".local")});
}

TEST(DataFolderDatabase, AFolderThatCannotBeMadeIsNamed)
{
    QTemporaryDir home;
    QFile blocker(home.path() + QStringLiteral("/share"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const QString folder = home.path() + QStringLiteral("/share/zarnik");
    try {
        database::ensureDataFolderDatabase(folder + QStringLiteral("/ZNDB1.2.GDB"));
        FAIL() << "no error";
    } catch (const DbError &e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Не удалось создать папку %1 для базы данных.").arg(folder));
    }
}

} // namespace
