#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

class PromptService;
class QWidget;
class TDM;
class TfrmMain;

// What the commands on the database itself ("Сервис" menu) work with. The file choosers and
// the clock are replaceable, so that tests answer in place of the user.
struct DatabaseService {
    TfrmMain &main;
    TDM &dm;
    PromptService &prompts;
    QString location; // the open database
    // The file to write (caption, suggested path) or to read (caption, folder); empty when
    // the user gave none.
    std::function<QString(QWidget *, const QString &, const QString &)> chooseSaveFile = {};
    std::function<QString(QWidget *, const QString &, const QString &)> chooseOpenFile = {};
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
};

// Choosers of the running program: the desktop's file windows.
DatabaseService withFileDialogs(DatabaseService service);

// "Резервная копия...", "Восстановить из копии...", "Проверить базу данных" in the main
// window's "Сервис" menu. `service` must outlive the window.
void addDatabaseServiceCommands(DatabaseService &service);

void backupCommand(DatabaseService &service);
void restoreCommand(DatabaseService &service);
void validateCommand(DatabaseService &service);

// The business's name, which names its backups.
QString businessName(TDM &dm);
