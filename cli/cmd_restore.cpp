#include "command_line.h"
#include "commands.h"
#include "server_user_options.h"

#include "backup/database_backup.h"

#include <QDateTime>
#include <QFileInfo>

#include <cstdio>

int runRestore(const QStringList &args)
{
    CommandLine line(QStringLiteral("restore"),
                     QStringLiteral("FILE.fbk PATH [--replace] [--user NAME --password WORD]"),
                     QStringLiteral("Restores a backup into a new database file, checked before "
                                    "it takes the name PATH; PATH may be a server's database "
                                    "(host:/path/file.gdb), which only its owner or SYSDBA "
                                    "may replace, while no one else is connected."));
    const QCommandLineOption replaceOption(
        QStringLiteral("replace"),
        QStringLiteral("Replace an existing PATH (refused while it is open elsewhere)."));
    line.parser().addOption(replaceOption);
    const ServerUserOptions serverUser(line, QStringLiteral("restore"));
    line.parser().addPositionalArgument(QStringLiteral("FILE.fbk"),
                                        QStringLiteral("the backup to restore"));
    line.parser().addPositionalArgument(QStringLiteral("PATH"),
                                        QStringLiteral("the database file to write"));
    if (const std::optional<int> exitCode = line.parse(args))
        return *exitCode;
    const QStringList positional = line.parser().positionalArguments();
    if (positional.size() != 2)
        return line.usageError(positional.size() < 2 ? QStringLiteral("FILE.fbk and PATH are "
                                                                      "needed")
                                                     : QStringLiteral("one FILE.fbk and one PATH"));
    const QString backup = QFileInfo(positional[0]).absoluteFilePath();
    const bool onServer = database::isServerLocation(positional[1]);
    const QString target = onServer ? positional[1] : QFileInfo(positional[1]).absoluteFilePath();
    const std::optional<database::Credentials> credentials = serverUser.forLocation(target);
    if (!credentials)
        return 1;
    const bool replace = line.parser().isSet(replaceOption);
    if (onServer && replace) {
        // The server's files cannot be kept beside it from here: the old database is kept as
        // a backup beside FILE.fbk.
        QString kept;
        const zbackup::Result result = zbackup::replaceDatabase(
            backup, target, QDateTime::currentDateTime(), {}, &kept, *credentials);
        if (!result.done()) {
            std::fprintf(stderr, "restore: %s\n", qPrintable(result.message));
            return 1;
        }
        std::printf("Restored %s into %s; the database it replaced was kept in %s\n",
                    qPrintable(backup), qPrintable(target), qPrintable(kept));
        return 0;
    }
    if (!onServer && !replace && (QFileInfo::exists(target) || QFileInfo(target).isSymLink())) {
        std::fprintf(stderr,
                     "restore: %s already exists; it was left untouched (--replace "
                     "replaces it).\n",
                     qPrintable(target));
        return 2;
    }
    const zbackup::Result result =
        zbackup::restoreBackup(backup, target, replace, {}, *credentials);
    if (!result.done()) {
        std::fprintf(stderr, "restore: %s\n", qPrintable(result.message));
        return 1;
    }
    std::printf("Restored %s into %s\n", qPrintable(backup), qPrintable(target));
    return 0;
}
