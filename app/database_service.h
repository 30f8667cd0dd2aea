#pragma once

#include "backup/database_backup.h"
#include "data/server_location.h"
#include "ui/dialog_runner.h"

#include <QDateTime>
#include <QString>

#include <functional>

class PasswordStore;
class PromptService;
class QWidget;
class TDM;
class TfrmMain;
class WorkSession;

// What the commands on the database itself ("Сервис" menu) work with. The file choosers and
// the clock are replaceable, so that tests answer in place of the user.
struct DatabaseService {
    TfrmMain &main;
    WorkSession &session; // commits what was posted before the database is worked on
    TDM &dm;
    PromptService &prompts;
    QString location;                       // the open database
    database::Credentials credentials = {}; // who is connected to a server's database
    PasswordStore *passwords = nullptr;     // where a server's password may be remembered
    DialogRunner runDialog = execDialog;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
};

// "Подключение к базе данных...", "Резервная копия...", "Восстановить из копии...",
// "Проверить базу данных", "Пользователи..." in the main window's "Сервис" menu. `service` must
// outlive the window.
void addDatabaseServiceCommands(DatabaseService &service);

void connectionCommand(DatabaseService &service);
void backupCommand(DatabaseService &service);
void restoreCommand(DatabaseService &service);
void validateCommand(DatabaseService &service);
// "Пользователи...": the users of a server's database and their roles (UsersDialog).
void usersCommand(DatabaseService &service);

// Who asks the engine's services for work on the open database.
zbackup::Credentials serviceCredentials(const DatabaseService &service);

// The business's name, which names its backups.
QString businessName(TDM &dm);

// What the file windows of backups list.
QString backupFileFilter();
