#include "command_line.h"
#include "commands.h"
#include "server_user_options.h"

#include "backup/database_backup.h"

#include <QFileInfo>

#include <cstdio>

int runBackup(const QStringList &args)
{
    CommandLine line(QStringLiteral("backup"),
                     QStringLiteral("--db LOCATION [--user NAME --password WORD] FILE.fbk"),
                     QStringLiteral("Writes a backup of the database, of a server's too, into "
                                    "FILE.fbk on this computer; FILE.fbk appears only once the "
                                    "backup is complete."));
    const QCommandLineOption dbOption({QStringLiteral("database"), QStringLiteral("db")},
                                      QStringLiteral("the database"), QStringLiteral("LOCATION"));
    line.parser().addOption(dbOption);
    const ServerUserOptions serverUser(line, QStringLiteral("backup"));
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
    const QString location = line.parser().value(dbOption);
    const std::optional<database::Credentials> credentials = serverUser.forLocation(location);
    if (!credentials)
        return 1;
    const zbackup::Result result = zbackup::backupDatabase(location, target, {}, *credentials);
    if (!result.done()) {
        std::fprintf(stderr, "backup: %s\n", qPrintable(result.message));
        return 1;
    }
    std::printf("Backed up into %s\n", qPrintable(target));
    return 0;
}
