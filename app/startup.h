#pragma once

#include <QString>

#include <functional>

class PromptService;
class TDM;
class TfrmMain;

// How the program is started: where its database is and who answers its messages.
struct StartupOptions {
    QString databasePath;
    PromptService *prompts = nullptr;
    // Runs once the main window is shown, before the event loop; the event loop is not
    // entered when the main window has been closed by then.
    std::function<void(TfrmMain &, TDM &)> running;
};

// The connection failure message of the start-up.
extern const QString kConnectionErrorText;

// Starts the program, runs it until its main window closes and shuts it down; gives the
// process's exit code. A database that cannot be opened ends the start after one message,
// with no other window created and nothing written.
int runZarnik(const StartupOptions &options);
