#pragma once

#include "ui/dialog_runner.h"

#include <QString>

#include <functional>

class PasswordStore;
class PromptService;
class TDM;
class TfrmMain;

// How the program is started: where its database is and who answers its messages.
struct StartupOptions {
    QString databasePath;
    PromptService *prompts = nullptr;
    PasswordStore *passwords = nullptr; // a server's remembered passwords
    // Runs the connection window offered when the database cannot be opened.
    DialogRunner runDialog = execDialog;
    // Runs once the main window is shown, before the event loop; the event loop is not
    // entered when the main window has been closed by then.
    std::function<void(TfrmMain &, TDM &)> running;
};

// The connection failure message of the start-up, and the offer that follows it.
extern const QString kConnectionErrorText;
extern const QString kChooseAnotherDatabaseText;

// Starts the program, runs it until its main window closes and shuts it down; gives the
// process's exit code. A database that cannot be opened is told in one message, then the
// connection window is offered; declined, the start ends with no other window created and
// nothing written.
int runZarnik(const StartupOptions &options);
