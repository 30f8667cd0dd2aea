#pragma once

#include "data/server_location.h"

#include <QString>

class TDM;

// Why a command's --db names no database: a file of this computer that is not there. Empty for
// an existing file and for a server's connection string, which only the server can check.
QString missingDatabase(const QString &db);

// Opens the database of a command's --db (a file or a server's connection string, with
// `serverUser` or else ISC_USER and ISC_PASSWORD) for dm; when it cannot, prints "COMMAND:
// reason" and the engine's own text to standard error and gives false (the command then exits
// with 1).
bool openDatabase(TDM &dm, const QString &db, const char *command,
                  const database::Credentials &serverUser = {});
