#pragma once

#include "db_error.h"

#include <QString>

// Why a database file could not be opened, in words a user can act on.
namespace database {

enum class OpenFailure {
    Missing,      // no file under that name
    InUse,        // another program (another window of this one) holds it
    ReadOnly,     // the file, or the user's rights on it, allow reading only
    NotADatabase, // something else is in the file
    Other,        // the engine's own words
};

OpenFailure classifyOpenFailure(const QString &path, const DbError &error);

// "Файл /full/path/ZNDB1.2.GDB: <reason>" on one line.
QString openFailureLine(const QString &path, const DbError &error);

// The same line for a database that opens but holds no tables of this program.
QString notProgramDatabaseLine(const QString &location);

} // namespace database
