#include "commands.h"

#include "db_error.h"
#include "print_job.h"
#include "report_engine.h"
#include "report_output.h"
#include "tdm.h"
#include "template_loader.h"

#include <QFileInfo>

#include <optional>

#include <cstdio>

namespace {

const char kUsage[] =
    "usage: zarnik-cli render --db PATH --template NAME [--doc KOD] [--tip N] [--json FILE]\n"
    "                         [--pdf FILE] [--png PREFIX [--dpi N]]\n";

struct RenderOptions {
    QString db, templateName, json, pdf, png;
    std::optional<int> doc;
    int tip = 0;
    int dpi = 150;
};

int usage(const QString &problem)
{
    if (!problem.isEmpty())
        std::fprintf(stderr, "render: %s\n", qPrintable(problem));
    std::fputs(kUsage, stderr);
    return 2;
}

// Reads the options; an error text when they cannot be used.
QString parse(const QStringList &args, RenderOptions &o)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &name = args[i];
        if (i + 1 >= args.size())
            return QStringLiteral("%1 needs a value").arg(name);
        const QString value = args[++i];
        bool ok = true;
        if (name == QLatin1String("--db"))
            o.db = value;
        else if (name == QLatin1String("--template"))
            o.templateName = value;
        else if (name == QLatin1String("--json"))
            o.json = value;
        else if (name == QLatin1String("--pdf"))
            o.pdf = value;
        else if (name == QLatin1String("--png"))
            o.png = value;
        else if (name == QLatin1String("--doc"))
            o.doc = value.toInt(&ok);
        else if (name == QLatin1String("--tip"))
            o.tip = value.toInt(&ok);
        else if (name == QLatin1String("--dpi"))
            o.dpi = value.toInt(&ok);
        else
            return QStringLiteral("unknown option %1").arg(name);
        if (!ok)
            return QStringLiteral("%1 needs a whole number, not \"%2\"").arg(name, value);
    }
    if (o.db.isEmpty() || o.templateName.isEmpty())
        return QStringLiteral("--db and --template are required");
    if (o.tip < 0 || o.tip > 2)
        return QStringLiteral("--tip is 0, 1 or 2");
    if (o.dpi < 10 || o.dpi > 1200)
        return QStringLiteral("--dpi is between 10 and 1200");
    if (!ztemplates::builtinTemplateNames().contains(o.templateName))
        return QStringLiteral("unknown template %1; the templates are: %2")
            .arg(o.templateName, ztemplates::builtinTemplateNames().join(QStringLiteral(", ")));
    if (!QFileInfo(o.db).isFile())
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
    return ok;
}

} // namespace

int runRender(const QStringList &args)
{
    RenderOptions o;
    if (const QString problem = parse(args, o); !problem.isEmpty())
        return usage(problem);

    QString error;
    const auto report = ztemplates::loadBuiltinTemplate(o.templateName, &error);
    if (!report) {
        std::fprintf(stderr, "render: %s\n", qPrintable(error));
        return 1;
    }
    try {
        TDM dm;
        dm.DataModuleCreate(QFileInfo(o.db).absoluteFilePath());
        if (const QString problem = prepareData(dm, o); !problem.isEmpty()) {
            std::fprintf(stderr, "render: %s\n", qPrintable(problem));
            return o.doc ? 2 : 1;
        }
        ReportSources sources(dm);
        zreport::ReportEngine engine(*report, sources.sources());
        const bool ran = engine.run();
        // The totals were worked out for this print only; the file stays as it was.
        dm.DSetDocs->cancel();
        if (!engine.errors().isEmpty())
            std::fprintf(stderr, "%s\n", qPrintable(zreport::runErrorsText(engine.errors())));
        const bool written = writeOutputs(engine.prepared(), o);
        std::printf("%s: %d page(s)\n", qPrintable(o.templateName), engine.prepared().pageCount());
        return ran && engine.errors().isEmpty() && written ? 0 : 1;
    } catch (const DbError &e) {
        std::fprintf(stderr, "render: %s\n", qPrintable(e.message()));
        return 1;
    }
}
