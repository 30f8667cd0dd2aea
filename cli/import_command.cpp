#include "import_command.h"
#include "open_database.h"

#include "command_line.h"
#include "server_user_options.h"

#include "data/db_error.h"
#include "data/tdm.h"
#include "imports/column_mapping.h"
#include "imports/csv_reader.h"
#include "imports/import_plan.h"
#include "imports/import_writer.h"

#include <cstdio>

namespace {

std::optional<DuplicateChoice> duplicateChoice(const QString &text)
{
    if (text == QLatin1String("skip"))
        return DuplicateChoice::Skip;
    if (text == QLatin1String("update"))
        return DuplicateChoice::Update;
    if (text == QLatin1String("add"))
        return DuplicateChoice::AddNew;
    return std::nullopt;
}

QString fieldList(ImportTarget target)
{
    QStringList fields;
    for (const ImportField &field : importFields(target))
        fields << field.column;
    return fields.join(QStringLiteral(", "));
}

} // namespace

int runImport(ImportTarget target, const QStringList &args)
{
    const QString command = target == ImportTarget::Goods ? QStringLiteral("import-goods")
                                                          : QStringLiteral("import-clients");
    const char *name = target == ImportTarget::Goods ? "import-goods" : "import-clients";
    CommandLine line(
        command,
        QStringLiteral("FILE --db LOCATION [--user NAME --password WORD] [--kind N] [--mapping "
                       "FIELD=COLUMN;...] "
                       "[--duplicates skip|update|add] [--skip-bad]"),
        QStringLiteral("Imports the rows of a CSV file (separator and encoding told by the "
                       "file, the first row a header) in one step: all rows or none. Rows with "
                       "errors are listed; then nothing is written and the exit code is 1, "
                       "unless --skip-bad writes the others. Fields: %1.")
            .arg(fieldList(target)));
    const QCommandLineOption dbOption({QStringLiteral("database"), QStringLiteral("db")},
                                      QStringLiteral("The database: a file, or a server's "
                                                     "host:/path/file.gdb."),
                                      QStringLiteral("LOCATION"));
    const QCommandLineOption kindOption(QStringLiteral("kind"),
                                        QStringLiteral("The kind (tab) 0, 1 or 2 of rows without a "
                                                       "kind column; 0 by default."),
                                        QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption mappingOption(
        QStringLiteral("mapping"),
        QStringLiteral("Which column fills which field, by header text or 1-based number, e.g. "
                       "\"NAME=Товар;CENA=3\"; guessed from the header when not given."),
        QStringLiteral("MAPPING"));
    const QCommandLineOption duplicatesOption(
        QStringLiteral("duplicates"),
        QStringLiteral("Rows whose name is already there: skip (default), update or add."),
        QStringLiteral("CHOICE"), QStringLiteral("skip"));
    const QCommandLineOption skipBadOption(QStringLiteral("skip-bad"),
                                           QStringLiteral("Write the good rows even when others "
                                                          "have errors."));
    line.parser().addOptions(
        {dbOption, kindOption, mappingOption, duplicatesOption, skipBadOption});
    const ServerUserOptions serverUser(line, command);
    line.parser().addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("the CSV file"));
    if (const std::optional<int> exitCode = line.parse(args))
        return *exitCode;
    const std::variant<CommandLine::FileAndDatabase, int> given = line.fileAndDatabase(dbOption);
    if (const int *exitCode = std::get_if<int>(&given))
        return *exitCode;
    const auto &[path, db] = std::get<CommandLine::FileAndDatabase>(given);
    bool kindOk = false;
    const int kind = line.parser().value(kindOption).toInt(&kindOk);
    if (!kindOk || kind < 0 || kind > 2)
        return line.usageError(QStringLiteral("--kind must be 0, 1 or 2"));
    const std::optional<DuplicateChoice> duplicates =
        duplicateChoice(line.parser().value(duplicatesOption));
    if (!duplicates)
        return line.usageError(QStringLiteral("--duplicates must be skip, update or add"));

    const TableRead read = csv::readFile(path);
    if (!read.ok()) {
        std::fprintf(stderr, "%s: %s\n", name, qPrintable(read.error));
        return 1;
    }
    PlanRequest request{target, guessMapping(target, read.table.header), kind, *duplicates};
    if (line.parser().isSet(mappingOption)) {
        const MappingRead mapping =
            mappingFromText(target, line.parser().value(mappingOption), read.table.header);
        if (!mapping.error.isEmpty())
            return line.usageError(mapping.error);
        request.mapping = mapping.mapping;
    }

    try {
        TDM dm;
        if (!openDatabase(dm, db, name, serverUser.given()))
            return 1;
        const ExistingRows existing(dm.TsnRW, target);
        const ImportPlan plan = planImport(read.table, request, existing.lookup());
        for (const QString &line : plan.errors + plan.warnings)
            std::printf("%s\n", qPrintable(line));
        std::fprintf(stderr, "%s: %s\n", name, qPrintable(planSummary(plan)));
        if (plan.failed > 0 && !line.parser().isSet(skipBadOption)) {
            std::fprintf(stderr, "%s: есть строки с ошибками, ничего не записано\n", name);
            return 1;
        }
        writePlan(dm.TsnRW, target, plan);
        dm.TsnRW.commit();
        std::fprintf(stderr, "%s: записано\n", name);
        return 0;
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s: %s; ничего не записано\n", name, qPrintable(e.message()));
        return 1;
    }
}
