// The preview on the 10,000-line invoice (334 pages): how soon the first page is shown, how
// long until the last page count, painting one page at 100 %, spooling every page to a CUPS
// queue that prints into PDF files, and the PDF and XLSX exports. Run from build/bin:
//   build/bin/bench_preview
//   build/bin/bench_preview --benchmark_filter=Print   (needs the Zarnik_PDF queue)

#include "report/export/export_filters.h"
#include "report/preview/preview_hooks.h"
#include "report/preview/preview_window.h"
#include "report/preview/print_job.h"
#include "report/preview/printers.h"
#include "sample_data.h"
#include "templates/template_loader.h"

#include "widget_bench_main.h"
#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTimer>

using namespace zreport;
using namespace zpreview;
using namespace zexport;

namespace {

constexpr int kLines = 10000;

struct Invoice {
    Invoice()
    {
        double total = 0;
        detail = sample::detail(kLines, &total);
        document = sample::document(total, total * 12 / 112, kLines);
        QString error;
        report = ztemplates::loadBuiltinTemplate(QStringLiteral("repSchet"), &error);
        if (!report)
            qFatal("%s", qPrintable(error));
    }
    DataSources sources() const
    {
        return {{"DM.DSRekvizity", rekvizity.get()},
                {"DM.DSDocs", document.get()},
                {"DM.DSDetail", detail.get()}};
    }
    std::unique_ptr<MemoryRows> rekvizity = sample::rekvizity();
    std::unique_ptr<MemoryRows> document, detail;
    std::unique_ptr<TfrxReport> report;
};

const Invoice &invoice()
{
    static const Invoice data;
    return data;
}

PreviewHooks silentHooks()
{
    PreviewHooks hooks = PreviewHooks::standard();
    hooks.message = [](QWidget *, const QString &text, const QString &) {
        qWarning("%s", qPrintable(text));
    };
    return hooks;
}

// From the call (window made and shown, the run started by its 50 ms timer inside the window's
// loop, as showReport does) until the first page is painted in the page area; the run is
// then stopped and the window closed.
void firstPageShown(benchmark::State &state)
{
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        double seconds = 0;
        PreviewWindow window(*invoice().report, invoice().sources(), silentHooks());
        window.resize(1280, 900);
        QObject::connect(window.pageView(), &PageView::currentPageChanged, &window, [&](int page) {
            if (page == 1 && seconds == 0) {
                window.pageView()->viewport()->repaint();
                seconds = timer.nsecsElapsed() / 1e9;
                window.closeOrCancel();
            }
        });
        QTimer::singleShot(50, &window, [&window] {
            window.runReport();
            window.closeOrCancel();
        });
        window.exec();
        state.SetIterationTime(seconds);
    }
}

// From the start of the run until every page is built and the page count shown.
void lastPageCount(benchmark::State &state)
{
    int pages = 0;
    for (auto _ : state) {
        PreviewWindow window(*invoice().report, invoice().sources(), silentHooks());
        window.resize(1280, 900);
        window.show();
        QElapsedTimer timer;
        timer.start();
        window.runReport();
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        pages = window.prepared().pageCount();
    }
    state.counters["pages"] = pages;
}

// One repaint of the page area showing a full page at 100 %.
void paintPage(benchmark::State &state)
{
    PreviewWindow window(*invoice().report, invoice().sources(), silentHooks());
    window.resize(1000, 1300);
    window.show();
    window.runReport();
    window.pageView()->setZoom(1.0);
    window.pageView()->goToPage(2);
    for (auto _ : state)
        window.pageView()->viewport()->repaint();
}

// Every page spooled to the cups-pdf queue (until the job is handed to CUPS, not printed).
void printAll(benchmark::State &state)
{
    const QString queue = QStringLiteral("Zarnik_PDF");
    if (!QPrinterInfo::printerInfo(queue).isNull()) {
        PreviewWindow window(*invoice().report, invoice().sources(), silentHooks());
        window.runReport();
        for (auto _ : state) {
            PrintSettings settings;
            settings.printer = queue;
            QString error;
            if (printReport(
                    {window.prepared(), settings, 1, QStringLiteral("bench_preview"), {}, {}},
                    &error) != PrintResult::Printed)
                state.SkipWithError(qPrintable(error));
        }
        state.counters["pages"] = window.prepared().pageCount();
    } else {
        state.SkipWithError("no Zarnik_PDF queue (scripts/cups_pdf_queue)");
    }
}

void exportAs(benchmark::State &state, ExportKind kind, const char *fileName)
{
    PreviewWindow window(*invoice().report, invoice().sources(), silentHooks());
    window.runReport();
    ExportOptions options;
    for (int i = 0; i < window.prepared().pageCount(); ++i)
        options.pages.push_back(i);
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(fileName));
    for (auto _ : state) {
        QString error;
        if (!exportPages(kind, window.prepared(), options, path, &error))
            state.SkipWithError(qPrintable(error));
    }
    state.counters["file_MB"] = QFileInfo(path).size() / 1048576.0;
}

} // namespace

BENCHMARK(firstPageShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(lastPageCount)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(paintPage)->Unit(benchmark::kMillisecond);
BENCHMARK(printAll)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(exportAs, Pdf, ExportKind::Pdf, "invoice.pdf")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK_CAPTURE(exportAs, Xlsx, ExportKind::Xlsx, "invoice.xlsx")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv, true);
}
