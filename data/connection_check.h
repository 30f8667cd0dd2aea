#pragma once

#include "server_location.h"

#include <QString>

// Whether a database can be worked with before the program switches to it.
namespace database {

// Attaches to `location` as the data module would, looks for the program's documents table
// and lets go again. Empty when all is well, else the reason on one line, in the words of
// openFailureLine().
QString connectionProblem(const QString &location, const Credentials &serverCredentials);

} // namespace database
