#pragma once

#include "startup.h"
#include "ui/prompt_service.h"

// Checking an installed program where nobody sits at the screen (zarnik --exit-when-shown,
// run by the package's test): what would be a message box is printed instead, and once the
// register is up the program says so and closes the way "Выход" does.

// Prints each message to standard error; every question is answered "No".
class StandardErrorPrompts : public PromptService {
public:
    bool confirm(QWidget *parent, const QString &text) override;
    void inform(QWidget *parent, const QString &text) override;
    void error(QWidget *parent, const QString &text, const QString &caption) override;
};

// Runs `first` (when set), then prints "register shown: TITLE; documents: N" to standard
// output and closes the main window.
std::function<void(TfrmMain &, TDM &)>
reportRegisterAndClose(std::function<void(TfrmMain &, TDM &)> first);
