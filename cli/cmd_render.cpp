#include "command_line.h"
#include "commands.h"
#include "open_database.h"
#include "payment_options.h"

#include "data/database_location.h"
#include "data/db_error.h"
#include "data/reconciliation_act.h"
#include "data/server_location.h"
#include "data/tdm.h"
#include "printing/form_template.h"
#include "printing/print_job.h"
#include "printing/reconciliation_rows.h"
#include "report/export/export_filters.h"
#include "report/output_file.h"
#include "report/report_engine.h"
#include "report/report_output.h"
#include "templates/template_loader.h"

#include <QFileInfo>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include <cstdio>

using zreport::OutputFile;

namespace {

const QString kActTemplate = QStringLiteral("repAktSverki");

// The preview's export formats that render writes, each to the file named by its option.
struct ExportFormat {
    const char *option;
    zexport::ExportKind kind;
    const char *description;
};
constexpr ExportFormat kExportFormats[] = {
    {"xlsx", zexport::ExportKind::Xlsx, "Write an Excel workbook (XLSX)."},
    {"docx", zexport::ExportKind::Docx, "Write a Word document (DOCX)."},
    {"odt", zexport::ExportKind::Odt, "Write an OpenDocument text (ODT)."},
    {"html", zexport::ExportKind::Html, "Write an HTML page."},
    {"rtf", zexport::ExportKind::Rtf, "Write an RTF document."},
    {"csv", zexport::ExportKind::Csv, "Write the pages' text as CSV."},
    {"txt", zexport::ExportKind::Text, "Write the pages as plain text."},
};

struct ExportTarget {
    zexport::ExportKind kind;
    QString path;
};

struct RenderOptions {
    QString db, templateName, json, pdf, png;
    std::vector<ExportTarget> exports;
    std::optional<int> doc;
    int tip = 0;
    int dpi = 150;
    // The reconciliation act's client (its KOD in the reference book) and period.
    int client = 0;
    QDate from, to;
    bool mirror = false;
};

// The act's own options: required with its template, refused with any other.
QString readActOptions(const QCommandLineParser &parser, RenderOptions &o)
{
    const bool act = o.templateName == kActTemplate;
    for (const char *name : {"client", "from", "to", "mirror"}) {
        const bool set = parser.isSet(QLatin1String(name));
        if (!act && set)
            return QStringLiteral("--%1 is only for --template %2")
                .arg(QLatin1String(name), kActTemplate);
        if (act && !set && QLatin1String(name) != QLatin1String("mirror"))
            return QStringLiteral("--template %1 needs --%2")
                .arg(kActTemplate, QLatin1String(name));
    }
    if (!act)
        return {};
    bool ok = false;
    o.client = parser.value(QStringLiteral("client")).toInt(&ok);
    if (!ok)
        return QStringLiteral("--client needs a whole number, not \"%1\"")
            .arg(parser.value(QStringLiteral("client")));
    for (const auto &[name, date] : {std::pair{"from", &o.from}, std::pair{"to", &o.to}}) {
        const QString text = parser.value(QLatin1String(name));
        const std::optional<QDate> parsed = parseCommandDate(text);
        if (!parsed)
            return QStringLiteral("--%1 %2 is not a date DD.MM.YYYY")
                .arg(QLatin1String(name), text);
        *date = *parsed;
    }
    if (o.from > o.to)
        return QStringLiteral("--from %1 is after --to %2")
            .arg(o.from.toString(u"dd.MM.yyyy"), o.to.toString(u"dd.MM.yyyy"));
    o.mirror = parser.isSet(QStringLiteral("mirror"));
    return {};
}

// Reads the options; an error text when they cannot be used.
QString readOptions(const QCommandLineParser &parser, RenderOptions &o)
{
    o.db =
        database::chooseLocation(database::currentInputs(parser.value(QStringLiteral("database"))))
            .path;
    o.templateName = parser.value(QStringLiteral("template"));
    o.json = parser.value(QStringLiteral("json"));
    o.pdf = parser.value(QStringLiteral("pdf"));
    o.png = parser.value(QStringLiteral("png"));
    for (const ExportFormat &format : kExportFormats) {
        const QString path = parser.value(QLatin1String(format.option));
        if (path.isEmpty())
            continue;
        if (OutputFile::isStandardOutput(path))
            return QStringLiteral("--%1 writes a file and cannot write to \"-\"")
                .arg(QLatin1String(format.option));
        o.exports.push_back({format.kind, path});
    }
    const auto wholeNumber = [&](const char *name, int &value) -> QString {
        if (!parser.isSet(QLatin1String(name)))
            return {};
        const QString text = parser.value(QLatin1String(name));
        bool ok = false;
        value = text.toInt(&ok);
        return ok ? QString()
                  : QStringLiteral("--%1 needs a whole number, not \"%2\"")
                        .arg(QLatin1String(name), text);
    };
    int doc = 0;
    for (const auto &[name, value] :
         {std::pair{"doc", &doc}, std::pair{"tip", &o.tip}, std::pair{"dpi", &o.dpi}}) {
        if (const QString problem = wholeNumber(name, *value); !problem.isEmpty())
            return problem;
    }
    if (parser.isSet(QStringLiteral("doc")))
        o.doc = doc;
    if (!parser.positionalArguments().isEmpty())
        return QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().front());
    if (o.templateName.isEmpty())
        return QStringLiteral("--template is required");
    if (o.tip < 0 || o.tip > 2)
        return QStringLiteral("--tip is 0, 1 or 2");
    if (o.dpi < 10 || o.dpi > 1200)
        return QStringLiteral("--dpi is between 10 and 1200");
    if (OutputFile::isStandardOutput(o.png))
        return QStringLiteral("--png writes one file per page and cannot write to \"-\"");
    if (OutputFile::isStandardOutput(o.json) && OutputFile::isStandardOutput(o.pdf))
        return QStringLiteral("only one of --json and --pdf can write to \"-\"");
    if (!ztemplates::builtinTemplateNames().contains(o.templateName))
        return QStringLiteral("unknown template %1; the templates are: %2")
            .arg(o.templateName, ztemplates::builtinTemplateNames().join(QStringLiteral(", ")));
    if (const QString problem = readActOptions(parser, o); !problem.isEmpty())
        return problem;
    if (!database::isServerLocation(o.db) && !QFileInfo(o.db).isFile())
        return QStringLiteral("no database file %1").arg(o.db);
    return {};
}

// Puts the document to print, or the listing's rows, in place. An error text when there
// is nothing to print.
QString prepareData(TDM &dm, const RenderOptions &o)
{
    for (Dataset *dataset : dm.mainDatasets())
        dataset->open();
    if (isListingTemplate(o.templateName)) {
        openListing(dm, o.templateName, o.tip);
        return {};
    }
    if (o.doc) {
        // Any document, archived ones included, can be asked for by its key.
        dm.DSetDocs->close();
        dm.DSetDocs->setSelectSql(QStringLiteral("select * from DOCS order by NUMSCH"));
        dm.DSetDocs->open();
        if (!dm.DSetDocs->locate(*o.doc))
            return QStringLiteral("there is no document with KOD %1").arg(*o.doc);
    } else if (dm.DSetDocs->isEmpty()) {
        return QStringLiteral("the register holds no current document");
    }
    prepareDocumentTotals(dm, o.templateName);
    return {};
}

bool writeOutputs(const zreport::PreparedReport &prepared, const RenderOptions &o)
{
    QString error;
    bool ok = true;
    if (!o.json.isEmpty() && !zreport::savePreparedJson(prepared, o.json, &error)) {
        std::fprintf(stderr, "render: %s\n", qPrintable(error));
        ok = false;
    }
    if (!o.pdf.isEmpty() && !zreport::savePreparedPdf(prepared, o.pdf, &error)) {
        std::fprintf(stderr, "render: %s\n", qPrintable(error));
        ok = false;
    }
    if (!o.png.isEmpty() && !zreport::savePreparedPngs(prepared, o.png, o.dpi, &error)) {
        std::fprintf(stderr, "render: %s\n", qPrintable(error));
        ok = false;
    }
    zexport::ExportOptions allPages;
    for (int i = 0; i < prepared.pageCount(); ++i)
        allPages.pages.push_back(i);
    for (const ExportTarget &target : o.exports) {
        if (!zexport::exportPages(target.kind, prepared, allPages, target.path, &error)) {
            std::fprintf(stderr, "render: %s\n", qPrintable(error));
            ok = false;
        }
    }
    return ok;
}

// Runs the report over its sources, writes the outputs and says how many pages it made.
int runAndWrite(const zreport::TfrxReport &report, const zreport::DataSources &sources,
                const RenderOptions &o, const std::function<void()> &afterRun = {})
{
    zreport::ReportEngine engine(report, sources);
    const bool ran = engine.run();
    if (afterRun)
        afterRun();
    if (!engine.errors().isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(zreport::runErrorsText(engine.errors())));
    const bool written = writeOutputs(engine.prepared(), o);
    // Standard output may carry the form itself; the summary then goes to standard error.
    const bool outputOnStdout =
        OutputFile::isStandardOutput(o.json) || OutputFile::isStandardOutput(o.pdf);
    std::fprintf(outputOnStdout ? stderr : stdout, "%s: %d page(s)\n", qPrintable(o.templateName),
                 engine.prepared().pageCount());
    return ran && engine.errors().isEmpty() && written ? 0 : 1;
}

int renderAct(TDM &dm, const zreport::TfrxReport &report, const RenderOptions &o)
{
    if (!dm.TsnRW.isActive())
        dm.TsnRW.start();
    const std::optional<ActClient> client = actClient(dm.TsnRW, o.client);
    if (!client) {
        std::fprintf(stderr, "render: there is no client with KOD %d\n", o.client);
        return 2;
    }
    const ReconciliationAct act = reconciliationAct(dm.TsnRW, *client, o.from, o.to);
    const ReconciliationRows rows(act, {}, o.mirror);
    return runAndWrite(report, rows.sources(), o);
}

} // namespace

int runRender(const QStringList &args)
{
    CommandLine line(
        QStringLiteral("render"),
        QStringLiteral("[--database PATH] --template NAME [--doc KOD] [--tip N] "
                       "[--client KOD --from DD.MM.YYYY --to DD.MM.YYYY [--mirror]] [--json FILE] "
                       "[--pdf FILE] [--png PREFIX [--dpi N]] [--xlsx FILE] [--docx FILE] "
                       "[--odt FILE] [--html FILE] [--rtf FILE] [--csv FILE] [--txt FILE]"),
        QStringLiteral("Lays a printed form out and writes it as JSON, PDF, PNG pages or the "
                       "preview's export formats, any of them at once. A regular file is "
                       "replaced only once it is completely written; a device or a pipe is "
                       "written into; \"-\" is standard output (JSON and PDF only)."));
    QCommandLineParser &parser = line.parser();
    parser.addOptions({
        {{QStringLiteral("database"), QStringLiteral("db")},
         QStringLiteral("The database file (--db is the same). Without it: the one kept in "
                        "the settings, ZNDB1.2.GDB in the current folder, else "
                        "~/.local/share/zarnik/ZNDB1.2.GDB."),
         QStringLiteral("PATH")},
        {QStringLiteral("template"),
         QStringLiteral("The form: %1.")
             .arg(ztemplates::builtinTemplateNames().join(QStringLiteral(", "))),
         QStringLiteral("NAME")},
        {QStringLiteral("doc"),
         QStringLiteral("The document's KOD (by default the first current document)."),
         QStringLiteral("KOD")},
        {QStringLiteral("tip"),
         QStringLiteral("For the listings repOrg and repNomenkl: the kind of clients or goods, "
                        "0, 1 or 2."),
         QStringLiteral("N"), QStringLiteral("0")},
        {QStringLiteral("client"),
         QStringLiteral("For the reconciliation act repAktSverki: the client's KOD in the "
                        "client list."),
         QStringLiteral("KOD")},
        {QStringLiteral("from"), QStringLiteral("For repAktSverki: the first day of the period."),
         QStringLiteral("DD.MM.YYYY")},
        {QStringLiteral("to"), QStringLiteral("For repAktSverki: the last day of the period."),
         QStringLiteral("DD.MM.YYYY")},
        {QStringLiteral("mirror"),
         QStringLiteral("For repAktSverki: fill the client's half as the mirror of ours.")},
        {QStringLiteral("json"), QStringLiteral("Write the laid-out pages as JSON."),
         QStringLiteral("FILE")},
        {QStringLiteral("pdf"), QStringLiteral("Write a PDF."), QStringLiteral("FILE")},
        {QStringLiteral("png"), QStringLiteral("Write PREFIX-1.png, PREFIX-2.png, ..."),
         QStringLiteral("PREFIX")},
        {QStringLiteral("dpi"), QStringLiteral("The PNG pages' resolution, 10 to 1200."),
         QStringLiteral("N"), QStringLiteral("150")},
    });
    for (const ExportFormat &format : kExportFormats)
        parser.addOption({QLatin1String(format.option), QLatin1String(format.description),
                          QStringLiteral("FILE")});
    if (const std::optional<int> exitCode = line.parse(args))
        return *exitCode;
    RenderOptions o;
    if (const QString problem = readOptions(parser, o); !problem.isEmpty())
        return line.usageError(problem);

    try {
        TDM dm;
        if (!openDatabase(dm, o.db, "render"))
            return 1;
        // The business's version of the form when the database keeps one.
        const FormTemplate loaded = loadFormTemplate(dm, o.templateName);
        if (!loaded.report) {
            std::fprintf(stderr, "render: %s\n", qPrintable(loaded.error));
            return 1;
        }
        if (!loaded.warning.isEmpty())
            std::fprintf(stderr, "render: %s\n", qPrintable(loaded.warning));
        const zreport::TfrxReport *report = loaded.report.get();
        if (o.templateName == kActTemplate)
            return renderAct(dm, *report, o);
        if (const QString problem = prepareData(dm, o); !problem.isEmpty()) {
            std::fprintf(stderr, "render: %s\n", qPrintable(problem));
            return o.doc ? 2 : 1;
        }
        ReportSources sources(dm);
        // The totals were worked out for this print only; the file stays as it was.
        return runAndWrite(*report, sources.sources(), o, [&dm] { dm.DSetDocs->cancel(); });
    } catch (const DbError &e) {
        std::fprintf(stderr, "render: %s\n", qPrintable(e.message()));
        return 1;
    }
}
