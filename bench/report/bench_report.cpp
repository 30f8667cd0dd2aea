// Time and memory of the report engine on large documents: preparing the pages, writing the
// PDF and saving the prepared report. Peak memory is the process's high-water mark, so run
// one case at a time to read it for that case, e.g.
//   build/bin/bench_report --benchmark_filter='Prepare/Invoice/10000'

#include "prepared_io.h"
#include "report_engine.h"
#include "report_output.h"
#include "sample_data.h"
#include "template_loader.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <sys/resource.h>

using namespace zreport;

namespace {

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

struct Data {
    explicit Data(int rows)
    {
        double total = 0;
        detail = sample::detail(rows, &total);
        document = sample::document(total, total * 12 / 112, rows);
        clients = sample::clients(rows);
    }
    DataSources sources() const
    {
        return {{"DM.DSRekvizity", rekvizity.get()},
                {"DM.DSDocs", document.get()},
                {"DM.DSDetail", detail.get()},
                {"DM.DSClients", clients.get()}};
    }
    std::unique_ptr<MemoryRows> rekvizity = sample::rekvizity();
    std::unique_ptr<MemoryRows> document, detail, clients;
};

std::unique_ptr<TfrxReport> builtin(const char *name)
{
    QString error;
    auto report = ztemplates::loadBuiltinTemplate(QString::fromLatin1(name), &error);
    if (!report)
        qFatal("%s", qPrintable(error));
    return report;
}

void finish(benchmark::State &state, const PreparedReport &prepared)
{
    const double pages = prepared.pageCount();
    state.counters["pages"] = pages;
    state.counters["pages_per_second"] =
        benchmark::Counter(pages * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["peak_rss_MB"] = peakMegabytes();
}

void prepare(benchmark::State &state, const char *templateName)
{
    const Data data(int(state.range(0)));
    const auto report = builtin(templateName);
    ReportEngine engine(*report, data.sources());
    for (auto _ : state) {
        if (!engine.run())
            state.SkipWithError("the run reported errors");
    }
    finish(state, engine.prepared());
}

// Times writing the prepared pages of templateName to a file with write.
template <typename Write>
void writeFile(benchmark::State &state, const char *templateName, const char *fileName, Write write)
{
    const Data data(int(state.range(0)));
    const auto report = builtin(templateName);
    ReportEngine engine(*report, data.sources());
    engine.run();
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(fileName));
    for (auto _ : state) {
        QString error;
        if (!write(engine.prepared(), path, &error))
            state.SkipWithError(qPrintable(error));
    }
    finish(state, engine.prepared());
    state.counters["file_MB"] = QFileInfo(path).size() / 1048576.0;
}

void writePdf(benchmark::State &state, const char *templateName)
{
    writeFile(state, templateName, "report.pdf", savePreparedPdf);
}

void savePrepared(benchmark::State &state, const char *templateName)
{
    writeFile(state, templateName, "report.fp3", savePreparedReport);
}

void loadPrepared(benchmark::State &state, const char *templateName)
{
    const Data data(int(state.range(0)));
    const auto report = builtin(templateName);
    ReportEngine engine(*report, data.sources());
    engine.run();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.fp3"));
    savePreparedReport(engine.prepared(), path, nullptr);
    PreparedReport loaded;
    for (auto _ : state) {
        QString error;
        if (!loadPreparedReport(path, loaded, &error))
            state.SkipWithError(qPrintable(error));
    }
    finish(state, loaded);
}

} // namespace

BENCHMARK_CAPTURE(prepare, Invoice, "repSchet")
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(prepare, ClientListing, "repOrg")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(writePdf, Invoice, "repSchet")
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(writePdf, ClientListing, "repOrg")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(savePrepared, Invoice, "repSchet")
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(savePrepared, ClientListing, "repOrg")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(loadPrepared, Invoice, "repSchet")->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
