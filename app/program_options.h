#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The command line of zarnik.
struct ProgramOptions {
    QString database; // --database LOCATION, or empty
    // --exit-when-shown, for checking an installed program without a person at the screen:
    // messages go to standard error and the program closes once its register is up.
    bool exitWhenShown = false;
    // Set when the program should stop at once with this code (after --help, --version or a
    // mistaken option).
    std::optional<int> exitCode;
};

// Reads the arguments (the program's name first). Prints the help, the version or what is
// wrong with them itself.
ProgramOptions readProgramOptions(const QStringList &arguments);
