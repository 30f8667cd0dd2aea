#pragma once

#include <QString>

class TDM;

// Opens the database of a command's --db for dm; when it cannot, prints "COMMAND: reason" and
// the engine's own text to standard error and gives false (the command then exits with 1).
bool openDatabase(TDM &dm, const QString &path, const char *command);
