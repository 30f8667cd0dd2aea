#pragma once

#include <QString>

class TDM;

// Opens the database of a command's --db (a file or a server's connection string) for dm; when it
// cannot, prints "COMMAND: reason" and the engine's own text to standard error and gives false (the
// command then exits with 1).
bool openDatabase(TDM &dm, const QString &db, const char *command);
