#include "app/connection_dialog.h"
#include "app/database_service.h"
#include "app/password_store.h"
#include "app/startup.h"
#include "data/database_location.h"
#include "data/fb_connection.h"
#include "data/fb_statement.h"
#include "fake_keyring.h"
#include "main_window_test.h"
#include "own_config_folder.h"
#include "server_client_process.h"
#include "server_database.h"
#include "window_driver.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kCaption = QStringLiteral("Подключение к базе данных");
const QString kConnected = QStringLiteral("Соединение установлено: база данных доступна.");

QSettings programSettings()
{
    return QSettings(database::settingsOrganisation(), database::settingsApplication());
}

QByteArray settingsFileText()
{
    QFile file(programSettings().fileName());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void forgetSettings()
{
    QSettings settings = programSettings();
    settings.clear();
    settings.sync();
}

struct ServerFields {
    QString host;
    int port;
    QString path;
    QString user;
    QString password;
    bool remember = false;
};

void chooseServer(const QWidget &dialog, const ServerFields &fields)
{
    child<QRadioButton>(dialog, "rbServer")->setChecked(true);
    typeInto(dialog, "edHost", fields.host);
    child<QSpinBox>(dialog, "spnPort")->setValue(fields.port);
    typeInto(dialog, "edServerPath", fields.path);
    typeInto(dialog, "edUser", fields.user);
    typeInto(dialog, "edPassword", fields.password);
    child<QCheckBox>(dialog, "chkRememberPassword")->setChecked(fields.remember);
}

void chooseFile(const QWidget &dialog, const QString &path)
{
    child<QRadioButton>(dialog, "rbFile")->setChecked(true);
    typeInto(dialog, "edFile", path);
}

// The window filled in as `fill` says and closed with "ОК", as a user does.
DialogRunner answeredWith(std::function<void(QDialog &)> fill)
{
    return [fill = std::move(fill)](QDialog &dialog) {
        fill(dialog);
        click(dialog, "btnOk");
        return dialog.result();
    };
}

class ConnectionWindow : public ::testing::Test {
protected:
    ScriptedPrompts prompts;
    QTemporaryDir folder;
};

TEST_F(ConnectionWindow, ChoosesAFileThroughThePickerAndClosesOnADatabaseThatWorks)
{
    const TempDatabase db(TempDatabase::Demo);
    const QString before = folder.filePath(QStringLiteral("old.gdb"));
    ConnectionDialog dialog(prompts, {before, {}, false});
    EXPECT_EQ(dialog.windowTitle(), kCaption);
    EXPECT_TRUE(child<QRadioButton>(dialog, "rbFile")->isChecked());
    EXPECT_FALSE(child<QWidget>(dialog, "edHost")->isEnabled());

    prompts.expectFile(QStringLiteral("Файл базы данных"), QString());
    click(dialog, "btnChooseFile");
    EXPECT_EQ(child<QLineEdit>(dialog, "edFile")->text(), before) << "nothing chosen, kept";
    prompts.expectFile(QStringLiteral("Файл базы данных"), db.path());
    click(dialog, "btnChooseFile");
    prompts.expectInform(kConnected);
    click(dialog, "btnCheck");
    click(dialog, "btnOk");

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.choice().location, db.path());
    EXPECT_TRUE(dialog.choice().credentials.isEmpty());
}

TEST_F(ConnectionWindow, AsksForWhatIsMissingBeforeTrying)
{
    const struct {
        const char *name;
        bool server;
        ServerFields fields;
        const char *message;
    } cases[] = {
        {"no file", false, {}, "Укажите файл базы данных."},
        {"no host",
         true,
         {"", 3050, "zarnik", "U", "p"},
         "Укажите компьютер, на котором работает сервер."},
        {"no path",
         true,
         {"office", 3050, " ", "U", "p"},
         "Укажите путь к базе данных на сервере или её псевдоним."},
        {"no user", true, {"office", 3050, "zarnik", "", "p"}, "Укажите имя пользователя."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ConnectionDialog dialog(prompts, {});
        if (c.server)
            chooseServer(dialog, c.fields);
        prompts.expectInform(QString::fromUtf8(c.message));
        click(dialog, "btnOk");
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        prompts.verify();
    }
}

TEST_F(ConnectionWindow, SaysPlainlyWhyAFileDoesNotServeAndStaysOpen)
{
    const QString missing = folder.filePath(QStringLiteral("missing.gdb"));
    const QString text = folder.filePath(QStringLiteral("notes.gdb"));
    QFile notes(text);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write(QByteArray(4096, 'x'));
    notes.close();
    const QString other = folder.filePath(QStringLiteral("other.gdb"));
    FbConnection::create(other, database::userName(), database::password());

    const struct {
        QString path;
        const char *reason;
    } cases[] = {
        {missing, "такого файла нет."},
        {text, "это не файл базы данных."},
        {other, "это база данных другой программы, в ней нет документов Zarnik."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        ConnectionDialog dialog(prompts, {});
        chooseFile(dialog, c.path);
        const QString line = QStringLiteral("Файл %1: %2").arg(c.path, QString::fromUtf8(c.reason));
        prompts.expectError(line, kCaption);
        click(dialog, "btnCheck");
        prompts.expectError(line, kCaption);
        click(dialog, "btnOk");
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        prompts.verify();
    }
}

TEST_F(ConnectionWindow, ConnectsToAServerAsItsUser)
{
    const ServerDatabase db;
    SKIP_WITHOUT_SERVER(db);
    const database::Credentials user = ServerDatabase::testUser();
    ConnectionDialog dialog(prompts, {});
    chooseServer(dialog, {ServerDatabase::host(), 3050, db.path(), user.user, user.password});
    prompts.expectInform(kConnected);
    click(dialog, "btnCheck");
    click(dialog, "btnOk");
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.choice().location, db.location());
    EXPECT_EQ(dialog.choice().credentials.user, user.user);
    EXPECT_EQ(dialog.choice().credentials.password, user.password);

    // Opened again on that choice, the window shows it.
    ConnectionDialog again(prompts, dialog.choice());
    EXPECT_TRUE(child<QRadioButton>(again, "rbServer")->isChecked());
    EXPECT_EQ(child<QLineEdit>(again, "edHost")->text(), ServerDatabase::host());
    EXPECT_EQ(child<QLineEdit>(again, "edServerPath")->text(), db.path());
    EXPECT_EQ(child<QLineEdit>(again, "edUser")->text(), user.user);
}

TEST_F(ConnectionWindow, SaysPlainlyWhyAServerRefuses)
{
    const ServerDatabase db;
    SKIP_WITHOUT_SERVER(db);
    const QString other = QFileInfo(db.path()).path() + QStringLiteral("/other.gdb");
    const database::Credentials user = ServerDatabase::testUser();
    FbConnection::create(ServerDatabase::host() + u':' + other, user.user, user.password);
    const QString gone = QFileInfo(db.path()).path() + QStringLiteral("/gone.gdb");

    const struct {
        const char *name;
        ServerFields fields;
        const char *location;
        const char *reason;
    } cases[] = {
        {"wrong password",
         {ServerDatabase::host(), 3050, db.path(), user.user, QStringLiteral("wrong")},
         nullptr,
         "неверное имя пользователя или пароль."},
        {"unknown host",
         {QStringLiteral("no-such-host.invalid"), 3050, db.path(), user.user, user.password},
         "no-such-host.invalid:",
         "сервер недоступен: проверьте имя компьютера, порт, сеть и то, что сервер Firebird "
         "запущен."},
        {"nothing listens on the port",
         {ServerDatabase::host(), 1, db.path(), user.user, user.password},
         "127.0.0.1/1:",
         "сервер недоступен: проверьте имя компьютера, порт, сеть и то, что сервер Firebird "
         "запущен."},
        {"no such database",
         {ServerDatabase::host(), 3050, gone, user.user, user.password},
         "127.0.0.1:",
         "на сервере нет такой базы данных."},
        {"a database of another program",
         {ServerDatabase::host(), 3050, other, user.user, user.password},
         "127.0.0.1:",
         "это база данных другой программы, в ней нет документов Zarnik."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ConnectionDialog dialog(prompts, {});
        chooseServer(dialog, c.fields);
        const QString location =
            c.location ? QString::fromUtf8(c.location) + c.fields.path : db.location();
        prompts.expectError(
            QStringLiteral("База данных %1: %2").arg(location, QString::fromUtf8(c.reason)),
            kCaption);
        click(dialog, "btnOk");
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        prompts.verify();
    }
    FbConnection dropped;
    dropped.attach(ServerDatabase::host() + u':' + other, user.user, user.password);
    dropped.drop();
}

// "Сервис" → "Подключение к базе данных..." on the register of the demo database.
class SwitchingDatabases : public MainWindowTest {
protected:
    SwitchingDatabases() : MainWindowTest(TempDatabase::Demo) {}

    void SetUp() override
    {
        forgetSettings();
        MainWindowTest::SetUp();
        openWindow();
        service = std::make_unique<DatabaseService>(
            DatabaseService{*window, session, dm, prompts, db.path(), {}, &keyring});
        addDatabaseServiceCommands(*service);
    }

    void switchTo(DialogRunner runner)
    {
        service->runDialog = std::move(runner);
        auto *action = window->serviceMenu()->findChild<QAction *>(QStringLiteral("actConnection"));
        ASSERT_TRUE(action);
        action->trigger();
    }

    QStringList documents() { return columnTexts(*dm.DSetDocs, QStringLiteral("NUMSCH")); }

    FakeKeyring keyring;
    std::unique_ptr<DatabaseService> service;
};

TEST_F(SwitchingDatabases, TheChosenFileReplacesTheOpenOneAndIsKeptForTheNextStart)
{
    ASSERT_FALSE(documents().isEmpty());
    const TempDatabase empty;
    switchTo(answeredWith([&](QDialog &dialog) {
        EXPECT_EQ(child<QLineEdit>(dialog, "edFile")->text(), db.path()) << "the open one first";
        chooseFile(dialog, empty.path());
    }));
    EXPECT_TRUE(documents().isEmpty());
    EXPECT_EQ(service->location, empty.path());
    EXPECT_EQ(database::savedLocation(programSettings()), empty.path());
    EXPECT_TRUE(database::savedUser(programSettings()).isEmpty());
}

TEST_F(SwitchingDatabases, CancelChangesNothing)
{
    const QStringList before = documents();
    switchTo([](QDialog &dialog) {
        click(dialog, "btnCancel");
        return dialog.result();
    });
    EXPECT_EQ(documents(), before);
    EXPECT_EQ(service->location, db.path());
    EXPECT_TRUE(database::savedLocation(programSettings()).isEmpty());
}

TEST_F(SwitchingDatabases, AFailedSwitchReopensTheOldDatabaseAndSaysWhy)
{
    // Posted and not yet committed: the switch commits it first.
    dm.DSetKNP->append();
    dm.DSetKNP->setValue(QStringLiteral("KNP"), QStringLiteral("911"));
    dm.DSetKNP->post();
    const QStringList before = documents();
    auto vanishing = std::make_unique<TempDatabase>();
    const QString path = vanishing->path();
    prompts.expectError(QStringLiteral("Не удалось перейти на другую базу данных, открыта "
                                       "прежняя.\nФайл %1: такого файла нет.")
                            .arg(path),
                        kCaption);
    switchTo([&](QDialog &dialog) {
        chooseFile(dialog, path);
        click(dialog, "btnOk");
        // Gone between the check and the switch.
        vanishing.reset();
        return dialog.result();
    });
    EXPECT_EQ(documents(), before);
    EXPECT_EQ(service->location, db.path());
    EXPECT_TRUE(database::savedLocation(programSettings()).isEmpty());
    dm.DSetKNP->close();
    dm.DSetKNP->setSelectSql(QStringLiteral("select * from KNP where KNP='911'"));
    dm.DSetKNP->open();
    EXPECT_FALSE(dm.DSetKNP->isEmpty());
}

TEST_F(SwitchingDatabases, AServersPasswordGoesToTheKeyringAndNeverIntoTheSettings)
{
    const ServerDatabase server(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(server);
    const database::Credentials user = ServerDatabase::testUser();
    const QString key = passwordKey(server.location(), user.user);
    for (const bool withKeyring : {true, false}) {
        SCOPED_TRACE(withKeyring ? "with a keyring" : "without a keyring");
        keyring.available = withKeyring;
        keyring.kept.clear();
        if (!withKeyring)
            prompts.expectInform(QStringLiteral(
                "Пароль не удалось запомнить: на этом компьютере нет хранилища паролей. "
                "Программа будет спрашивать его при каждом запуске."));
        switchTo(answeredWith([&](QDialog &dialog) {
            chooseServer(dialog, {ServerDatabase::host(), 3050, server.path(), user.user,
                                  user.password, true});
        }));
        prompts.verify();
        EXPECT_EQ(service->location, server.location());
        EXPECT_FALSE(documents().isEmpty()) << "the server's documents are listed";
        EXPECT_EQ(keyring.kept.count(key), withKeyring ? 1u : 0u);
        EXPECT_EQ(database::savedLocation(programSettings()), server.location());
        EXPECT_EQ(database::savedUser(programSettings()), user.user);
        const QByteArray conf = settingsFileText();
        EXPECT_TRUE(conf.contains(user.user.toUtf8()));
        EXPECT_FALSE(conf.contains(user.password.toUtf8())) << conf.toStdString();
    }
    // Not to be remembered any more: forgotten.
    keyring.available = true;
    keyring.kept[key] = user.password;
    switchTo(answeredWith([&](QDialog &dialog) {
        EXPECT_TRUE(child<QCheckBox>(dialog, "chkRememberPassword")->isChecked());
        child<QCheckBox>(dialog, "chkRememberPassword")->setChecked(false);
    }));
    EXPECT_EQ(keyring.kept.count(key), 0u);
    dm.DataModuleDestroy();
}

// The other commands of "Сервис" work on the server's database as its user: the copy lands
// on this computer, a restore from it brings a deleted document back, and while another
// program is connected the restore is refused before any file is chosen.
TEST_F(SwitchingDatabases, OnAServerTheCommandsWorkAsItsUserWithTheCopyOnThisComputer)
{
    const ServerDatabase server(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(server);
    const database::Credentials user = ServerDatabase::testUser();
    switchTo(answeredWith([&](QDialog &dialog) {
        chooseServer(dialog,
                     {ServerDatabase::host(), 3050, server.path(), user.user, user.password});
    }));
    ASSERT_EQ(service->location, server.location());
    const auto trigger = [this](const char *name) {
        window->serviceMenu()->findChild<QAction *>(QString::fromLatin1(name))->trigger();
    };
    QTemporaryDir here;
    const QString copy = here.filePath(QStringLiteral("copy.fbk"));
    service->now = [] { return QDateTime(QDate(2026, 3, 14), QTime(9, 5)); };
    prompts.expectSaveFile(QStringLiteral("Резервная копия"), {}, copy);
    prompts.expectInform(QStringLiteral("Резервная копия записана в файл «%1».").arg(copy));
    trigger("actBackup");
    prompts.verify();
    ASSERT_TRUE(QFile::exists(copy));
    prompts.expectInform(QStringLiteral("Проверка базы данных: ошибок не найдено"));
    trigger("actValidate");

    const QStringList before = documents();
    {
        FbStatement wrongDelete(dm.TsnRW);
        wrongDelete.prepare(QStringLiteral("DELETE FROM DETAILDOCS"));
        wrongDelete.execute();
        FbStatement deleteDocuments(dm.TsnRW);
        deleteDocuments.prepare(QStringLiteral("DELETE FROM DOCS"));
        deleteDocuments.execute();
    }
    session.refresh();
    ASSERT_TRUE(documents().isEmpty());
    const QString kept =
        here.filePath(QStringLiteral("ZNDB1.2.GDB.before-restore-2026-03-14-0905.fbk"));
    prompts.expectFile(QStringLiteral("Восстановить из копии"), copy);
    prompts.expectConfirm(QStringLiteral("Заменить текущую базу данных данными из копии "
                                         "«copy.fbk»? Текущая база данных будет сохранена как "
                                         "«%1».")
                              .arg(kept),
                          true);
    prompts.expectInform(QStringLiteral("База данных восстановлена из копии «copy.fbk». Прежняя "
                                        "база данных сохранена как «%1».")
                             .arg(kept));
    trigger("actRestore");
    prompts.verify();
    EXPECT_EQ(documents(), before);

    ServerClientProcess other(server.location(), user.user, user.password);
    ASSERT_TRUE(other.started());
    for (int i = 0; i < 100 && zbackup::restoreRefusal(server.location(), user).isEmpty(); ++i)
        QThread::msleep(50);
    // No file is chosen for a restore that cannot be done: a file window would be unexpected.
    prompts.expectError(zbackup::restoreRefusal(server.location(), user),
                        QStringLiteral("Восстановить из копии"));
    trigger("actRestore");
    prompts.verify();
    EXPECT_EQ(documents(), before);
    dm.DataModuleDestroy();
}

// The start of the program on a database it cannot open.
class StartupOffer : public ::testing::Test {
protected:
    void SetUp() override
    {
        forgetSettings();
        options.databasePath = folder.filePath(QStringLiteral("ZNDB1.2.GDB"));
        options.prompts = &prompts;
        options.passwords = &keyring;
        options.running = [this](TfrmMain &window, TDM &dm) {
            shownDocuments = columnTexts(*dm.DSetDocs, QStringLiteral("NUMSCH"));
            QTimer::singleShot(0, &window, [&window] { click(window, "btnClose"); });
        };
    }
    void expectTheStartupError()
    {
        prompts.expectError(QString(), QStringLiteral("Error"));
        prompts.expectConfirm(QStringLiteral("Выбрать другую базу данных?"), true);
    }

    QTemporaryDir folder;
    ScriptedPrompts prompts;
    FakeKeyring keyring;
    StartupOptions options;
    QStringList shownDocuments;
};

TEST_F(StartupOffer, YesOpensTheChosenDatabaseAndGoesOn)
{
    const TempDatabase demo(TempDatabase::Demo);
    expectTheStartupError();
    options.runDialog = answeredWith([&](QDialog &dialog) { chooseFile(dialog, demo.path()); });
    EXPECT_EQ(runZarnik(options), 0);
    EXPECT_FALSE(shownDocuments.isEmpty());
    EXPECT_EQ(database::savedLocation(programSettings()), demo.path());
}

TEST_F(StartupOffer, CancelInTheWindowEndsTheProgram)
{
    expectTheStartupError();
    options.runDialog = [](QDialog &dialog) {
        click(dialog, "btnCancel");
        return dialog.result();
    };
    EXPECT_EQ(runZarnik(options), 0);
    EXPECT_TRUE(shownDocuments.isEmpty());
    EXPECT_TRUE(database::savedLocation(programSettings()).isEmpty());
}

// A server named on the command line with no user known: the window, open on that server,
// takes the user and password.
TEST_F(StartupOffer, AServerWithNoUserIsCompletedInTheWindow)
{
    const ServerDatabase server(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(server);
    const database::Credentials user = ServerDatabase::testUser();
    options.databasePath = server.location();
    prompts.expectError(kConnectionErrorText +
                            QStringLiteral("\nДля базы данных на сервере %1 нужны имя "
                                           "пользователя и пароль.")
                                .arg(server.location()),
                        QStringLiteral("Error"));
    prompts.expectConfirm(QStringLiteral("Выбрать другую базу данных?"), true);
    options.runDialog = answeredWith([&](QDialog &dialog) {
        EXPECT_TRUE(child<QRadioButton>(dialog, "rbServer")->isChecked());
        EXPECT_EQ(child<QLineEdit>(dialog, "edServerPath")->text(), server.path());
        typeInto(dialog, "edUser", user.user);
        typeInto(dialog, "edPassword", user.password);
    });
    EXPECT_EQ(runZarnik(options), 0);
    EXPECT_FALSE(shownDocuments.isEmpty());
    EXPECT_EQ(database::savedUser(programSettings()), user.user);
}

// A server kept in the settings: its password comes from the keyring, else it is asked.
TEST_F(StartupOffer, AKeptServerTakesThePasswordFromTheKeyringOrAsksIt)
{
    const ServerDatabase server(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(server);
    const database::Credentials user = ServerDatabase::testUser();
    options.databasePath = server.location();
    for (const bool kept : {true, false}) {
        SCOPED_TRACE(kept ? "kept in the keyring" : "asked");
        QSettings settings = programSettings();
        database::saveLocation(settings, server.location(), user.user);
        keyring.kept.clear();
        if (kept)
            keyring.kept[passwordKey(server.location(), user.user)] = user.password;
        else
            prompts.expectPassword(QStringLiteral("Пароль пользователя %1 для базы данных %2:")
                                       .arg(user.user, server.location()),
                                   user.password);
        shownDocuments.clear();
        EXPECT_EQ(runZarnik(options), 0);
        EXPECT_FALSE(shownDocuments.isEmpty());
        prompts.verify();
    }
}

} // namespace
