#include "command_line.h"
#include "commands.h"
#include "server_user_options.h"

#include "backup/database_validation.h"

#include <cstdio>

int runValidate(const QStringList &args)
{
    CommandLine line(QStringLiteral("validate"),
                     QStringLiteral("--db LOCATION [--user NAME --password WORD]"),
                     QStringLiteral("Checks the database's pages, tables and indexes; exit code "
                                    "1 when anything is wrong."));
    const QCommandLineOption dbOption({QStringLiteral("database"), QStringLiteral("db")},
                                      QStringLiteral("the database"), QStringLiteral("LOCATION"));
    line.parser().addOption(dbOption);
    const ServerUserOptions serverUser(line, QStringLiteral("validate"));
    if (const std::optional<int> exitCode = line.parse(args))
        return *exitCode;
    if (!line.parser().isSet(dbOption))
        return line.usageError(QStringLiteral("--db is missing"));
    if (!line.parser().positionalArguments().isEmpty())
        return line.usageError(QStringLiteral("no arguments besides --db"));
    const QString location = line.parser().value(dbOption);
    const std::optional<database::Credentials> credentials = serverUser.forLocation(location);
    if (!credentials)
        return 1;
    const zbackup::Validation validation = zbackup::validateDatabase(location, *credentials);
    const bool sound = validation.checked && validation.findings.isEmpty();
    std::fprintf(sound ? stdout : stderr, "%s\n", qPrintable(validation.message));
    return sound ? 0 : 1;
}
