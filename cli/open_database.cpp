#include "open_database.h"

#include "data/db_error.h"
#include "data/open_failure.h"
#include "data/program_tables.h"
#include "data/tdm.h"

#include <QFileInfo>

#include <cstdio>

QString missingDatabase(const QString &db)
{
    if (database::isServerLocation(db) || QFileInfo(db).isFile())
        return {};
    return QStringLiteral("no database file %1").arg(db);
}

bool openDatabase(TDM &dm, const QString &db, const char *command,
                  const database::Credentials &serverUser)
{
    // A connection string goes to the server as typed; a file is named in full so that the
    // messages and the engine agree on which file it is.
    const QString path = database::isServerLocation(db) ? db : QFileInfo(db).absoluteFilePath();
    try {
        dm.DataModuleCreate(path, serverUser);
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s: %s\n%s\n", command,
                     qPrintable(database::openFailureLine(path, e)), qPrintable(e.message()));
        return false;
    }
    if (!dm.missingProgramParts().isEmpty())
        std::fprintf(stderr, "%s: %s\n", command,
                     qPrintable(missingProgramPartsText(dm.missingProgramParts())));
    return true;
}
