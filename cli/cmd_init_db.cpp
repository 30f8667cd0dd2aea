#include "command_line.h"
#include "commands.h"

#include "data/database_file.h"
#include "data/db_error.h"
#include "data/demo_data.h"
#include "data/tdm.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

int runInitDb(const QStringList &args)
{
    CommandLine line(QStringLiteral("init-db"), QStringLiteral("[--demo] PATH"),
                     QStringLiteral("Creates a new, empty database file; an existing file is "
                                    "never touched."));
    const QCommandLineOption demoOption(QStringLiteral("demo"),
                                        QStringLiteral("Fill it with a sample business."));
    line.parser().addOption(demoOption);
    line.parser().addPositionalArgument(QStringLiteral("PATH"),
                                        QStringLiteral("the database file to create"));
    if (const std::optional<int> exitCode = line.parse(args))
        return *exitCode;
    const bool demo = line.parser().isSet(demoOption);
    const QStringList positional = line.parser().positionalArguments();
    if (positional.size() != 1)
        return line.usageError(positional.isEmpty() ? QStringLiteral("PATH is missing")
                                                    : QStringLiteral("one PATH only"));
    QString path = positional.front();
    path = QFileInfo(path).absoluteFilePath();
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
        std::fprintf(stderr, "init-db: %s already exists; it was left untouched.\n",
                     qPrintable(path));
        return 2;
    }
    try {
        database::create(path);
    } catch (const DbError &e) {
        std::fprintf(stderr, "init-db: cannot create %s:\n%s\n", qPrintable(path),
                     qPrintable(e.message()));
        return 1;
    }
    try {
        if (demo) {
            TDM dm;
            dm.DataModuleCreate(path);
            fillDemoData(dm);
            dm.DataModuleDestroy();
        }
    } catch (const DbError &e) {
        // The file is new and ours; a half-filled one would only mislead.
        QFile::remove(path);
        std::fprintf(stderr, "init-db: cannot create %s:\n%s\n", qPrintable(path),
                     qPrintable(e.message()));
        return 1;
    }
    std::printf("Created %s%s\n", qPrintable(path), demo ? " with demo data" : "");
    return 0;
}
