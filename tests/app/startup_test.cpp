#include "app/startup.h"
#include "app/tfrm_about.h"
#include "app/tfrm_main.h"
#include "data/database_file.h"
#include "data/dataset.h"
#include "data/fb_connection.h"
#include "data/tdm.h"
#include "scripted_prompts.h"
#include "temp_database.h"
#include "ui/application_title.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// The program's automatic copies go to the user's data folder: here, one of the tests' own.
class OwnDataFolder : public ::testing::Environment {
public:
    void SetUp() override { qputenv("XDG_DATA_HOME", QFile::encodeName(m_folder.path())); }
    static QString backups() { return qEnvironmentVariable("XDG_DATA_HOME") + "/zarnik/backups"; }

private:
    QTemporaryDir m_folder;
};
[[maybe_unused]] const auto *const ownDataFolder =
    ::testing::AddGlobalTestEnvironment(new OwnDataFolder);

// Windows of the program that still exist, shown or not.
int programWindows()
{
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<TfrmMain *>(w) || qobject_cast<TfrmAbout *>(w))
            ++count;
    }
    return count;
}

QList<QWidget *> shownWindows()
{
    QList<QWidget *> shown;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            shown << w;
    }
    return shown;
}

struct BadFile {
    const char *what;
    const char *content; // nullptr: no file at all
    const char *reason;  // the line below the message, after the file's path
};

void PrintTo(const BadFile &f, std::ostream *os)
{
    *os << f.what;
}

class StartupOnABadFile : public ::testing::TestWithParam<BadFile> {};

TEST_P(StartupOnABadFile, ShowsOneMessageOverTheSplashAndEndsWithCodeZeroWritingNothing)
{
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/ZNDB1.2.GDB");
    const char *content = GetParam().content;
    if (content) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const QStringList before =
        QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    ScriptedPrompts prompts;
    prompts.expectError(
        kConnectionErrorText +
            QStringLiteral("\nФайл %1: %2").arg(path, QString::fromUtf8(GetParam().reason)),
        QStringLiteral("Error"));
    prompts.whileShown([] {
        const QList<QWidget *> shown = shownWindows();
        ASSERT_EQ(shown.size(), 1) << "only the splash is on the screen";
        auto *splash = qobject_cast<TfrmAbout *>(shown.front());
        ASSERT_TRUE(splash);
        EXPECT_EQ(splash->windowTitle(), QString());
        EXPECT_EQ(splash->size(), QSize(408, 418 - 42));
        EXPECT_EQ(splash->cursor().shape(), Qt::BusyCursor);
        EXPECT_FALSE(splash->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->isVisible());
        EXPECT_EQ(programWindows(), 1) << "no other window was created";
    });
    // "Нет" ends the program as before.
    prompts.expectConfirm(kChooseAnotherDatabaseText, false);
    StartupOptions options;
    options.databasePath = path;
    options.prompts = &prompts;
    EXPECT_EQ(runZarnik(options), 0);

    EXPECT_TRUE(shownWindows().isEmpty());
    EXPECT_EQ(programWindows(), 0);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    if (content) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray(content));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, StartupOnABadFile,
                         ::testing::Values(BadFile{"missing", nullptr, "такого файла нет."},
                                           BadFile{"empty", "", "это не файл базы данных."},
                                           BadFile{"not a database",
                                                   "Zarnik: this is a text file, not a database.\n",
                                                   "это не файл базы данных."}),
                         [](const ::testing::TestParamInfo<BadFile> &info) {
                             return std::string(info.param.content
                                                    ? (*info.param.content ? "Text" : "Empty")
                                                    : "Missing");
                         });

// The file is there and is a database, but may only be read: the second line says so, so that
// the user does not go looking for a missing file.
TEST(Startup, AReadOnlyDatabaseIsNamedReadOnly)
{
    QTemporaryDir folder;
    QString mounted;
    QString path = folder.path() + QStringLiteral("/ZNDB1.2.GDB");
    if (::getuid() == 0) {
        // Root may write any file: only a read-only file system stops it.
        mounted = folder.path() + QStringLiteral("/ro");
        QDir().mkpath(mounted);
        if (QProcess::execute(QStringLiteral("mount"),
                              {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                               QStringLiteral("tmpfs"), mounted}) != 0)
            GTEST_SKIP() << "running as root where no file system can be mounted read-only";
        path = mounted + QStringLiteral("/ZNDB1.2.GDB");
        database::create(path);
        QProcess::execute(QStringLiteral("mount"),
                          {QStringLiteral("-o"), QStringLiteral("remount,ro"), mounted});
    } else {
        database::create(path);
        QFile::setPermissions(path, QFile::ReadOwner);
    }

    ScriptedPrompts prompts;
    prompts.expectError(
        kConnectionErrorText +
            QStringLiteral("\nФайл %1: файл доступен только для чтения, а программе нужна запись.")
                .arg(path),
        QStringLiteral("Error"));
    prompts.expectConfirm(kChooseAnotherDatabaseText, false);
    StartupOptions options;
    options.databasePath = path;
    options.prompts = &prompts;
    EXPECT_EQ(runZarnik(options), 0);
    if (!mounted.isEmpty())
        QProcess::execute(QStringLiteral("umount"), {mounted});
}

TEST(Startup, ADatabaseOfAnotherProgramEndsTheStartWithItsError)
{
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/ZNDB1.2.GDB");
    FbConnection::create(path, database::userName(), database::password());

    ScriptedPrompts prompts;
    prompts.expectError(QString(), QStringLiteral("Zarnik 1.2"));
    StartupOptions options;
    options.databasePath = path;
    options.prompts = &prompts;
    EXPECT_EQ(runZarnik(options), 1);
    ASSERT_EQ(prompts.shown().size(), 1u);
    EXPECT_TRUE(prompts.shown().front().text.contains(QStringLiteral("DOCS")));
    EXPECT_EQ(programWindows(), 0);
}

TEST(Startup, RunsTheRegisterMaximisedAndCommitsWhatWasPostedWhenItCloses)
{
    TempDatabase db(TempDatabase::Demo);
    ScriptedPrompts prompts;
    StartupOptions options;
    options.databasePath = db.path();
    options.prompts = &prompts;
    bool ran = false;
    options.running = [&](TfrmMain &window, TDM &dm) {
        ran = true;
        EXPECT_TRUE(window.isMaximized());
        EXPECT_EQ(window.windowTitle(), QStringLiteral("ТОО «Алтын Дала Трейд» Zarnik 1.2"));
        EXPECT_EQ(shownWindows(), QList<QWidget *>{&window}) << "the splash is gone";
        EXPECT_TRUE(dm.DSetDocs->isActive());
        // Posted after the last refresh, so only the shutdown commits it.
        dm.DSetKNP->append();
        dm.DSetKNP->setValue(QStringLiteral("KNP"), QStringLiteral("911"));
        dm.DSetKNP->post();
        QTimer::singleShot(0, &window, [&window] {
            window.findChild<QPushButton *>(QStringLiteral("btnClose"))->click();
        });
    };
    EXPECT_EQ(runZarnik(options), 0);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(shownWindows().isEmpty());
    EXPECT_EQ(programWindows(), 0);

    TDM dm;
    dm.DataModuleCreate(db.path());
    dm.DSetKNP->setSelectSql(QStringLiteral("select * from KNP where KNP='911'"));
    dm.DSetKNP->open();
    EXPECT_FALSE(dm.DSetKNP->isEmpty());
}

// Closes the register by its "Выход" as soon as it runs.
void closeWithExit(TfrmMain &window, TDM &)
{
    QTimer::singleShot(0, &window, [&window] {
        window.findChild<QPushButton *>(QStringLiteral("btnClose"))->click();
    });
}

TEST(Startup, ClosingMakesTheDaysAutomaticCopyOnce)
{
    TempDatabase db(TempDatabase::Demo);
    QDir(OwnDataFolder::backups()).removeRecursively();
    for (int run = 0; run < 2; ++run) {
        ScriptedPrompts prompts;
        StartupOptions options;
        options.databasePath = db.path();
        options.prompts = &prompts;
        options.running = closeWithExit;
        EXPECT_EQ(runZarnik(options), 0);
    }
    const QStringList copies =
        QDir(OwnDataFolder::backups()).entryList({QStringLiteral("*.fbk")}, QDir::Files);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_TRUE(copies.front().startsWith(QStringLiteral("Zarnik-ТОО_«Алтын_Дала_Трейд»-")));
}

TEST(Startup, AFailedAutomaticCopyIsToldOnceAndTheProgramCloses)
{
    TempDatabase db(TempDatabase::Demo);
    QDir(OwnDataFolder::backups()).removeRecursively();
    // A file where the folder should be: no copy can be made there.
    QDir().mkpath(QFileInfo(OwnDataFolder::backups()).path());
    QFile blocker(OwnDataFolder::backups());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ScriptedPrompts prompts;
    prompts.expectError(QString(), QStringLiteral("ТОО «Алтын Дала Трейд» Zarnik 1.2"));
    StartupOptions options;
    options.databasePath = db.path();
    options.prompts = &prompts;
    options.running = closeWithExit;
    EXPECT_EQ(runZarnik(options), 0);
    ASSERT_EQ(prompts.shown().size(), 1u);
    EXPECT_TRUE(prompts.shown().front().text.startsWith(
        QStringLiteral("Автоматическая резервная копия не создана")));
    EXPECT_EQ(programWindows(), 0);
    QFile::remove(OwnDataFolder::backups());
}

} // namespace
