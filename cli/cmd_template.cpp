#include "command_line.h"
#include "commands.h"
#include "open_database.h"
#include "server_user_options.h"

#include "data/business_templates.h"
#include "data/db_error.h"
#include "data/tdm.h"
#include "printing/form_template.h"
#include "report/output_file.h"
#include "templates/template_loader.h"
#include "templates/template_titles.h"

#include <QIODevice>

#include <cstdio>
#include <map>
#include <optional>

namespace {

// What one run asks for, checked before any file or database is touched.
struct TemplateAction {
    QString verb;
    QString name;
    QString file;
    QString db;
};

// How many words each verb takes, itself included, and how they read in a usage error.
const std::map<QString, std::pair<int, const char *>> kVerbs = {
    {QStringLiteral("export"), {3, "export takes NAME FILE"}},
    {QStringLiteral("import"), {3, "import takes NAME FILE"}},
    {QStringLiteral("reset"), {2, "reset takes NAME"}},
    {QStringLiteral("list"), {1, "list takes no arguments"}},
};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    zreport::OutputFile output(path);
    QString error;
    QIODevice *device = output.open(&error);
    if (device)
        device->write(bytes);
    if (!device || !output.commit(&error)) {
        std::fprintf(stderr, "template: %s\n", qPrintable(error));
        return false;
    }
    return true;
}

int list(TDM *dm)
{
    std::map<QString, business_templates::StoredTemplate> stored;
    if (dm) {
        if (!dm->TsnRW.isActive())
            dm->TsnRW.start();
        for (business_templates::StoredTemplate &entry : business_templates::list(dm->TsnRW))
            stored[entry.name] = std::move(entry);
    }
    for (const QString &name : ztemplates::builtinTemplateNames()) {
        QString line = name + u'\t' + ztemplates::builtinTemplateTitle(name);
        if (dm) {
            const auto own = stored.find(name);
            line += own == stored.end()
                        ? QStringLiteral("\tbuilt-in")
                        : QStringLiteral("\tbusiness\t%1\t%2")
                              .arg(own->second.changedBy,
                                   own->second.changedAt.toString(u"dd.MM.yyyy HH:mm"));
        }
        std::printf("%s\n", line.toUtf8().constData());
    }
    return 0;
}

int exportTemplate(TDM *dm, const TemplateAction &action)
{
    bool own = false;
    const QByteArray body = dm ? formTemplateBody(*dm, action.name, &own)
                               : ztemplates::builtinTemplateBody(action.name);
    if (!writeFile(action.file, body))
        return 1;
    // The file itself may be going to standard output.
    std::fprintf(zreport::OutputFile::isStandardOutput(action.file) ? stderr : stdout, "%s: %s\n",
                 qPrintable(action.name), own ? "the business's version" : "the built-in version");
    return 0;
}

int runOnDatabase(TDM &dm, const TemplateAction &action, const QByteArray &importBody)
{
    if (action.verb == u"list")
        return list(&dm);
    if (action.verb == u"export")
        return exportTemplate(&dm, action);
    FbTransaction transaction(dm.ZNDB);
    transaction.start();
    if (action.verb == u"import") {
        business_templates::store(transaction, action.name, importBody);
        transaction.commit();
        std::printf("%s: the business's version stored\n", qPrintable(action.name));
        return 0;
    }
    const bool had = business_templates::body(transaction, action.name).has_value();
    business_templates::remove(transaction, action.name);
    transaction.commit();
    std::printf(had ? "%s: the built-in version prints again\n"
                    : "%s: the business kept no version of its own\n",
                qPrintable(action.name));
    return 0;
}

} // namespace

int runTemplate(const QStringList &args)
{
    CommandLine line(
        QStringLiteral("template"),
        QStringLiteral("export NAME FILE [--db LOCATION] | import NAME FILE --db LOCATION | "
                       "reset NAME --db LOCATION | list [--db LOCATION] "
                       "[--user NAME --password WORD]"),
        QStringLiteral(
            "The printed forms' templates. export writes the template NAME to FILE (\"-\": "
            "standard output) as the database of --db keeps it for the business, else as built "
            "in; import stores FILE as the business's version of NAME, which every computer "
            "then prints, once it reads as a template; reset removes the business's version, "
            "so the built-in one prints again; list gives each template's name and title "
            "(TAB-separated) and, with --db, whether the business changed it, by whom and "
            "when."));
    const QCommandLineOption dbOption({QStringLiteral("database"), QStringLiteral("db")},
                                      QStringLiteral("The database, a file or on a server."),
                                      QStringLiteral("LOCATION"));
    line.parser().addOption(dbOption);
    const ServerUserOptions serverUser(line, QStringLiteral("template"));
    if (const std::optional<int> exitCode = line.parse(args))
        return *exitCode;
    const QStringList words = line.parser().positionalArguments();
    TemplateAction action{words.value(0), words.value(1), words.value(2),
                          line.parser().value(dbOption)};
    const auto verb = kVerbs.find(action.verb);
    if (verb == kVerbs.end())
        return line.usageError(QStringLiteral("export, import, reset or list is missing"));
    if (words.size() != verb->second.first)
        return line.usageError(QString::fromLatin1(verb->second.second));
    if (action.verb != u"list" && !ztemplates::builtinTemplateNames().contains(action.name))
        return line.usageError(
            QStringLiteral("unknown template %1; the templates are: %2")
                .arg(action.name, ztemplates::builtinTemplateNames().join(QStringLiteral(", "))));
    const bool needsDatabase = action.verb == u"import" || action.verb == u"reset";
    if (needsDatabase && action.db.isEmpty())
        return line.usageError(QStringLiteral("--db is required"));
    if (!action.db.isEmpty()) {
        if (const QString missing = missingDatabase(action.db); !missing.isEmpty())
            return line.usageError(missing);
    }

    QByteArray importBody;
    if (action.verb == u"import") {
        QString problem;
        const std::optional<QByteArray> body = readTemplateFile(action.file, &problem);
        if (!body) {
            std::fprintf(stderr, "template: %s\nnothing was stored\n", qPrintable(problem));
            return 1;
        }
        importBody = *body;
    }
    if (action.db.isEmpty())
        return action.verb == u"list" ? list(nullptr) : exportTemplate(nullptr, action);
    try {
        TDM dm;
        if (!openDatabase(dm, action.db, "template", serverUser.given()))
            return 1;
        return runOnDatabase(dm, action, importBody);
    } catch (const DbError &e) {
        std::fprintf(stderr, "template: %s\n", qPrintable(e.message()));
        return 1;
    }
}
