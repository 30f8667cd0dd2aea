#include "command_line.h"
#include "commands.h"

#include "backup/database_backup.h"

#include <QFileInfo>

#include <cstdio>

int runRestore(const QStringList &args)
{
    CommandLine line(QStringLiteral("restore"), QStringLiteral("FILE.fbk PATH [--replace]"),
                     QStringLiteral("Restores a backup into a new database file, checked before "
                                    "it takes the name PATH."));
    const QCommandLineOption replaceOption(
        QStringLiteral("replace"),
        QStringLiteral("Replace an existing PATH (refused while it is open elsewhere)."));
    line.parser().addOption(replaceOption);
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
    const QString target = QFileInfo(positional[1]).absoluteFilePath();
    const bool replace = line.parser().isSet(replaceOption);
    if (!replace && (QFileInfo::exists(target) || QFileInfo(target).isSymLink())) {
        std::fprintf(stderr,
                     "restore: %s already exists; it was left untouched (--replace "
                     "replaces it).\n",
                     qPrintable(target));
        return 2;
    }
    const zbackup::Result result = zbackup::restoreBackup(backup, target, replace);
    if (!result.done()) {
        std::fprintf(stderr, "restore: %s\n", qPrintable(result.message));
        return 1;
    }
    std::printf("Restored %s into %s\n", qPrintable(backup), qPrintable(target));
    return 0;
}
