#include "command_line.h"
#include "commands.h"
#include "server_user_options.h"

#include "data/db_error.h"
#include "data/fb_connection.h"
#include "data/open_failure.h"
#include "data/program_tables.h"

#include <cstdio>

int runUpgradeDb(const QStringList &args)
{
    CommandLine line(QStringLiteral("upgrade-db"),
                     QStringLiteral("--db LOCATION [--user NAME --password WORD]"),
                     QStringLiteral("Adds the tables, triggers, roles and grants this version "
                                    "keeps in the database where they are missing; run as the "
                                    "database's owner, SYSDBA or an RDB$ADMIN. Exit code 1 when "
                                    "anything is still missing."));
    const QCommandLineOption dbOption({QStringLiteral("database"), QStringLiteral("db")},
                                      QStringLiteral("the database"), QStringLiteral("LOCATION"));
    line.parser().addOption(dbOption);
    const ServerUserOptions serverUser(line, QStringLiteral("upgrade-db"));
    if (const std::optional<int> exitCode = line.parse(args))
        return *exitCode;
    const std::variant<QString, int> database = line.databaseWithoutArguments(dbOption);
    if (const int *exitCode = std::get_if<int>(&database))
        return *exitCode;
    const QString &location = std::get<QString>(database);
    const std::optional<database::Credentials> credentials = serverUser.forLocation(location);
    if (!credentials)
        return 1;
    QStringList missing;
    try {
        FbConnection connection;
        connection.attach(location, credentials->user, credentials->password);
        missing = ensureProgramTables(connection);
        connection.detach();
    } catch (const DbError &e) {
        std::fprintf(stderr, "upgrade-db: %s\n%s\n",
                     qPrintable(database::openFailureLine(location, e)), qPrintable(e.message()));
        return 1;
    }
    if (!missing.isEmpty()) {
        std::fprintf(stderr, "upgrade-db: %s\n", qPrintable(missingProgramPartsText(missing)));
        return 1;
    }
    std::printf("%s\n", qPrintable(QStringLiteral("в базе данных есть всё, что нужно программе")));
    return 0;
}
