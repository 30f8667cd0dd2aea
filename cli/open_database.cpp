#include "open_database.h"

#include "data/db_error.h"
#include "data/open_failure.h"
#include "data/tdm.h"

#include <cstdio>

bool openDatabase(TDM &dm, const QString &path, const char *command)
{
    try {
        dm.DataModuleCreate(path);
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s: %s\n%s\n", command,
                     qPrintable(database::openFailureLine(path, e)), qPrintable(e.message()));
        return false;
    }
    return true;
}
