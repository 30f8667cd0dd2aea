#include "open_database.h"

#include "data/db_error.h"
#include "data/open_failure.h"
#include "data/server_location.h"
#include "data/tdm.h"

#include <QFileInfo>

#include <cstdio>

bool openDatabase(TDM &dm, const QString &db, const char *command)
{
    // A connection string goes to the server as typed; a file is named in full so that the
    // messages and the engine agree on which file it is.
    const QString path = database::isServerLocation(db) ? db : QFileInfo(db).absoluteFilePath();
    try {
        dm.DataModuleCreate(path);
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s: %s\n%s\n", command,
                     qPrintable(database::openFailureLine(path, e)), qPrintable(e.message()));
        return false;
    }
    return true;
}
