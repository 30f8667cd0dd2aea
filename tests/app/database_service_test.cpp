#include "app/database_service.h"
#include "data/fb_statement.h"
#include "main_window_test.h"
#include "window_driver.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The "Сервис" menu's commands on the register over the demo database, with the file windows
// answered by the test and the clock fixed.
class DatabaseServiceCommands : public MainWindowTest {
protected:
    DatabaseServiceCommands() : MainWindowTest(TempDatabase::Demo) {}

    void SetUp() override
    {
        MainWindowTest::SetUp();
        openWindow();
        service = std::make_unique<DatabaseService>(
            DatabaseService{*window, session, dm, prompts, db.path()});
        service->now = [] { return QDateTime(QDate(2026, 3, 14), QTime(9, 5)); };
        addDatabaseServiceCommands(*service);
    }

    void trigger(const char *name)
    {
        auto *action = window->serviceMenu()->findChild<QAction *>(QString::fromLatin1(name));
        ASSERT_TRUE(action) << name;
        action->trigger();
    }

    QStringList documents() { return columnTexts(*dm.DSetDocs, QStringLiteral("NUMSCH")); }

    QTemporaryDir files;
    QString chosen;
    std::unique_ptr<DatabaseService> service;
};

TEST_F(DatabaseServiceCommands, TheMenuHoldsTheFiveCommands)
{
    QStringList captions;
    for (QAction *action : window->serviceMenu()->actions())
        captions << action->text();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Подключение к базе данных..."),
                                     QStringLiteral("Резервная копия..."),
                                     QStringLiteral("Восстановить из копии..."),
                                     QStringLiteral("Проверить базу данных"),
                                     QStringLiteral("Пользователи...")}));
}

TEST_F(DatabaseServiceCommands, ABackupRestoredAfterAWrongDeleteBringsTheDocumentsBack)
{
    const QStringList before = documents();
    ASSERT_FALSE(before.isEmpty());
    chosen = files.filePath(QStringLiteral("copy.fbk"));
    prompts.expectSaveFile(
        QStringLiteral("Резервная копия"),
        QDir::home().filePath(QStringLiteral("Zarnik-ТОО_«Алтын_Дала_Трейд»-2026-03-14-0905.fbk")),
        chosen);
    prompts.expectInform(QStringLiteral("Резервная копия записана в файл «%1».").arg(chosen));
    trigger("actBackup");
    ASSERT_TRUE(QFile::exists(chosen));

    for (const char *sql : {"DELETE FROM DETAILDOCS", "DELETE FROM DOCS"}) {
        FbStatement wrongDelete(dm.TsnRW);
        wrongDelete.prepare(QString::fromLatin1(sql));
        wrongDelete.execute();
    }
    session.refresh();
    EXPECT_TRUE(documents().isEmpty());

    prompts.expectFile(QStringLiteral("Восстановить из копии"), chosen);
    prompts.expectConfirm(QStringLiteral("Заменить текущую базу данных данными из копии "
                                         "«copy.fbk»? Текущая база данных будет сохранена как "
                                         "«ZNDB1.2.GDB.before-restore-2026-03-14-0905»."),
                          true);
    prompts.expectInform(QStringLiteral("База данных восстановлена из копии «copy.fbk». Прежняя "
                                        "база данных сохранена как «%1».")
                             .arg(db.path() + QStringLiteral(".before-restore-2026-03-14-0905")));
    trigger("actRestore");
    prompts.verify();
    EXPECT_EQ(documents(), before);
}

TEST_F(DatabaseServiceCommands, ABadBackupIsRefusedAndTheRegisterGoesOn)
{
    const QStringList before = documents();
    chosen = files.filePath(QStringLiteral("bad.fbk"));
    QFile bad(chosen);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a backup");
    bad.close();
    prompts.expectFile(QStringLiteral("Восстановить из копии"), chosen);
    prompts.expectConfirm(QString(), true);
    prompts.expectError(QString(), QStringLiteral("Восстановить из копии"));
    trigger("actRestore");
    prompts.verify();
    EXPECT_EQ(documents(), before);
    EXPECT_EQ(QDir(db.folder()).entryList(QDir::Files), QStringList{QStringLiteral("ZNDB1.2.GDB")});
}

TEST_F(DatabaseServiceCommands, ValidationSaysNoErrorsWereFound)
{
    prompts.expectInform(QStringLiteral("Проверка базы данных: ошибок не найдено"));
    trigger("actValidate");
}

TEST_F(DatabaseServiceCommands, AFileOfThisComputerHasNoUsersToManage)
{
    prompts.expectInform(QStringLiteral("Пользователи и роли есть только у базы данных на "
                                        "сервере; файл на этом компьютере открывает один "
                                        "человек, и ему доступно всё."));
    trigger("actUsers");
}

} // namespace
