#include "command_line.h"
#include "commands.h"

#include "backup/database_backup.h"

#include <cstdio>

int runValidate(const QStringList &args)
{
    CommandLine line(QStringLiteral("validate"), QStringLiteral("--db LOCATION"),
                     QStringLiteral("Checks the database's pages, tables and indexes; exit code "
                                    "1 when anything is wrong."));
    const QCommandLineOption dbOption({QStringLiteral("database"), QStringLiteral("db")},
                                      QStringLiteral("the database"), QStringLiteral("LOCATION"));
    line.parser().addOption(dbOption);
    if (const std::optional<int> exitCode = line.parse(args))
        return *exitCode;
    if (!line.parser().isSet(dbOption))
        return line.usageError(QStringLiteral("--db is missing"));
    if (!line.parser().positionalArguments().isEmpty())
        return line.usageError(QStringLiteral("no arguments besides --db"));
    const zbackup::Validation validation = zbackup::validateDatabase(line.parser().value(dbOption));
    const bool sound = validation.checked && validation.findings.isEmpty();
    std::fprintf(sound ? stdout : stderr, "%s\n", qPrintable(validation.message));
    return sound ? 0 : 1;
}
