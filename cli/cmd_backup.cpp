#include "command_line.h"
#include "commands.h"

#include "backup/database_backup.h"

#include <QFileInfo>

#include <cstdio>

int runBackup(const QStringList &args)
{
    CommandLine line(QStringLiteral("backup"), QStringLiteral("--db LOCATION FILE.fbk"),
                     QStringLiteral("Writes a backup of the database; FILE.fbk appears only "
                                    "once the backup is complete."));
    const QCommandLineOption dbOption({QStringLiteral("database"), QStringLiteral("db")},
                                      QStringLiteral("the database"), QStringLiteral("LOCATION"));
    line.parser().addOption(dbOption);
    line.parser().addPositionalArgument(QStringLiteral("FILE.fbk"),
                                        QStringLiteral("the backup file to write"));
    if (const std::optional<int> exitCode = line.parse(args))
        return *exitCode;
    const QStringList positional = line.parser().positionalArguments();
    if (!line.parser().isSet(dbOption))
        return line.usageError(QStringLiteral("--db is missing"));
    if (positional.size() != 1)
        return line.usageError(positional.isEmpty() ? QStringLiteral("FILE.fbk is missing")
                                                    : QStringLiteral("one FILE.fbk only"));
    const QString target = QFileInfo(positional.front()).absoluteFilePath();
    const zbackup::Result result = zbackup::backupDatabase(line.parser().value(dbOption), target);
    if (!result.done()) {
        std::fprintf(stderr, "backup: %s\n", qPrintable(result.message));
        return 1;
    }
    std::printf("Backed up into %s\n", qPrintable(target));
    return 0;
}
