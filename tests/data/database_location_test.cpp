#include "data/database_location.h"

#include "data/database_file.h"
#include "data/db_error.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using database::LocationSource;

// A working folder, a data folder and what may be in the working folder.
class DatabaseLocation : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        QDir(m_root.path()).mkpath(QStringLiteral("work"));
    }
    QString work() const { return m_root.path() + QStringLiteral("/work"); }
    QString data() const { return m_root.path() + QStringLiteral("/share/zarnik"); }
    database::LocationInputs inputs(const QString &option, const QString &saved) const
    {
        return {option, saved, work(), data()};
    }
    void put(const QString &name, bool asFolder = false) const
    {
        if (asFolder) {
            QDir(work()).mkpath(name);
            return;
        }
        QFile file(work() + u'/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QTemporaryDir m_root;
};

TEST_F(DatabaseLocation, TakesTheFirstRuleThatGivesADatabase)
{
    const QString file = QStringLiteral("ZNDB1.2.GDB");
    const struct {
        const char *name;
        const char *option;
        const char *saved;
        bool fileHere;
        bool folderHere;      // a folder of the database's name, which is no database
        const char *expected; // "WORK/" and "DATA/" stand for the two folders
        LocationSource source;
    } cases[] = {
        {"the option over everything", "/srv/shop.gdb", "/saved.gdb", true, false, "/srv/shop.gdb",
         LocationSource::Option},
        {"a relative option from the working folder", "../shop/./a.gdb", "", false, false,
         "ROOT/shop/a.gdb", LocationSource::Option},
        {"a server's connection string as written", "office:/var/db/zarnik.gdb", "", false, false,
         "office:/var/db/zarnik.gdb", LocationSource::Option},
        {"the settings over the working folder", "", "/saved.gdb", true, false, "/saved.gdb",
         LocationSource::Settings},
        {"the file in the working folder", "", "", true, false, "WORK/ZNDB1.2.GDB",
         LocationSource::CurrentFolder},
        {"a folder of that name is passed over", "", "", false, true, "DATA/ZNDB1.2.GDB",
         LocationSource::DataFolder},
        {"else the data folder", "", "", false, false, "DATA/ZNDB1.2.GDB",
         LocationSource::DataFolder},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(work()).removeRecursively();
        QDir().mkpath(work());
        if (c.fileHere)
            put(file);
        if (c.folderHere)
            put(file, true);
        const database::Location location = database::chooseLocation(
            inputs(QString::fromUtf8(c.option), QString::fromUtf8(c.saved)));
        QString expected = QString::fromUtf8(c.expected);
        expected.replace(QStringLiteral("WORK"), work())
            .replace(QStringLiteral("DATA"), data())
            .replace(QStringLiteral("ROOT"), m_root.path());
        EXPECT_EQ(location.path, expected);
        EXPECT_EQ(location.source, c.source);
    }
}

TEST_F(DatabaseLocation, ReadsTheSavedLocationAndRemembersTheNotice)
{
    const QString file = m_root.path() + QStringLiteral("/zarnik.conf");
    {
        QSettings settings(file, QSettings::IniFormat);
        EXPECT_EQ(database::savedLocation(settings), QString());
        EXPECT_FALSE(database::dataFolderNoticeShown(settings));
        settings.setValue(QStringLiteral("database/location"), QStringLiteral(" /srv/a.gdb "));
        database::rememberDataFolderNoticeShown(settings);
    }
    const QSettings again(file, QSettings::IniFormat);
    EXPECT_EQ(database::savedLocation(again), QStringLiteral("/srv/a.gdb"));
    EXPECT_TRUE(database::dataFolderNoticeShown(again));
}

TEST_F(DatabaseLocation, TheNoticeNamesTheFileAndTheFolderOfItsCopies)
{
    const QString notice = database::dataFolderNotice(data() + QStringLiteral("/ZNDB1.2.GDB"),
                                                      data() + QStringLiteral("/backups"));
    EXPECT_EQ(notice, QStringLiteral("Документы хранятся в файле базы данных\n%1/ZNDB1.2.GDB\n\n"
                                     "Раз в день, при закрытии программы, копия базы данных "
                                     "записывается в папку\n%1/backups")
                          .arg(data()));
}

} // namespace
