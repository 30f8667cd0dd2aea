#include "commands.h"

#include "database_file.h"
#include "db_error.h"
#include "demo_data.h"
#include "tdm.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

int runInitDb(const QStringList &args)
{
    bool demo = false;
    QString path;
    for (const QString &arg : args) {
        if (arg == QLatin1String("--demo") && !demo) {
            demo = true;
        } else if (path.isEmpty() && !arg.startsWith(QLatin1String("--"))) {
            path = arg;
        } else {
            std::fputs("usage: zarnik-cli init-db [--demo] PATH\n", stderr);
            return 2;
        }
    }
    if (path.isEmpty()) {
        std::fputs("usage: zarnik-cli init-db [--demo] PATH\n", stderr);
        return 2;
    }
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
