// Time and memory of the report engine on large documents: preparing the pages, writing the
// PDF, drawing a page and saving the prepared report. Peak memory is the process's high-water mark,
// so run one case at a time to read it for that case, e.g.
//   build/bin/bench_report --benchmark_filter='Prepare/Invoice/10000'

#include "peak_memory.h"
#include "report/prepared_io.h"
#include "report/report_draw.h"
#include "report/report_engine.h"
#include "report/report_output.h"
#include "report_bench_main.h"
#include "sample_data.h"
#include "templates/template_loader.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>

#include <ctime>

using namespace zreport;

namespace {

// Invoice lines whose descriptions all differ, a third of them long enough to wrap, so no
// line's text or layout repeats another's.
std::unique_ptr<MemoryRows> distinctDetail(int lines, double *total)
{
    auto rows = sample::emptyDetail();
    double sum = 0;
    for (int i = 0; i < lines; ++i) {
        const double amount = sample::distinctLineAmount(i);
        sum += amount;
        rows->addRow({100 + i, i + 1, sample::distinctLineName(i), QStringLiteral("шт."),
                      sample::distinctLineQuantity(i), sample::distinctLinePrice(i),
                      std::round(amount * 12 / 112 * 100) / 100, amount});
    }
    *total = sum;
    return rows;
}

struct Data {
    explicit Data(int rows, bool distinct = false)
    {
        double total = 0;
        detail = distinct ? distinctDetail(rows, &total) : sample::detail(rows, &total);
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
    state.counters["peak_rss_MB"] = peakMemoryMb();
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

// Times writing the prepared pages of templateName to a file with write; `distinct`: over
// invoice lines that all differ.
template <typename Write>
void writeFile(benchmark::State &state, const char *templateName, const char *fileName, Write write,
               bool distinct = false)
{
    const Data data(int(state.range(0)), distinct);
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

// The PDF of the invoice whose lines all differ, so nothing drawn repeats.
void writeDistinctPdf(benchmark::State &state)
{
    writeFile(state, "repSchet", "report.pdf", savePreparedPdf, true);
}

// The business images at the resolution a user's files have after loading (600 dpi at their
// printed size): a photographed logo as a JPEG, the stamp and the head's signature as
// transparent PNGs.
QHash<QString, QByteArray> businessImages()
{
    const auto encoded = [](const QImage &image, const char *format) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, format);
        return bytes;
    };
    QImage logo(1417, 283, QImage::Format_RGB32);
    QPainter painter(&logo);
    QLinearGradient gradient(0, 0, logo.width(), logo.height());
    gradient.setColorAt(0, QColor(20, 60, 160));
    gradient.setColorAt(1, QColor(240, 200, 40));
    painter.fillRect(logo.rect(), gradient);
    painter.end();
    QImage stamp(945, 945, QImage::Format_ARGB32);
    stamp.fill(Qt::transparent);
    painter.begin(&stamp);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(30, 50, 170, 220), 18));
    painter.drawEllipse(QRectF(20, 20, 905, 905));
    painter.drawEllipse(QRectF(140, 140, 665, 665));
    painter.end();
    QImage signature(945, 283, QImage::Format_ARGB32);
    signature.fill(Qt::transparent);
    painter.begin(&signature);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(20, 20, 120), 10));
    for (int i = 0; i < 12; ++i)
        painter.drawArc(QRectF(40 + i * 70, 60 + (i % 3) * 30, 120, 140), 0, 300 * 16);
    painter.end();
    return {{"logo", encoded(logo, "JPG")},
            {"stamp", encoded(stamp, "PNG")},
            {"head", encoded(signature, "PNG")}};
}

double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// The PDF of the invoice with its logo, stamp and signature beside the same PDF without them,
// written in turns so that both meet the same load: the images are written once however many
// pages there are, and cost little time. The timing is the processor time of the PDF with the
// images; time_ratio divides it by that of the PDF without them.
void writePdfWithImages(benchmark::State &state)
{
    const Data data(int(state.range(0)));
    const auto report = builtin("repSchet");
    ReportEngine plain(*report, data.sources());
    plain.run();
    const QHash<QString, QByteArray> images = businessImages();
    ReportEngine stamped(*report, data.sources());
    stamped.setImages(images);
    stamped.run();
    QTemporaryDir dir;
    const QString plainPath = dir.filePath(QStringLiteral("plain.pdf"));
    const QString stampedPath = dir.filePath(QStringLiteral("stamped.pdf"));
    double plainSeconds = 0, stampedSeconds = 0;
    for (auto _ : state) {
        QString error;
        const double start = processorSeconds();
        const bool plainOk = savePreparedPdf(plain.prepared(), plainPath, &error);
        const double middle = processorSeconds();
        const bool stampedOk = savePreparedPdf(stamped.prepared(), stampedPath, &error);
        const double end = processorSeconds();
        if (!plainOk || !stampedOk)
            state.SkipWithError(qPrintable(error));
        plainSeconds += middle - start;
        stampedSeconds += end - middle;
        state.SetIterationTime(end - middle);
    }
    finish(state, stamped.prepared());
    qint64 imageBytes = 0;
    for (const QByteArray &bytes : images)
        imageBytes += bytes.size();
    const qint64 plainBytes = QFileInfo(plainPath).size();
    const qint64 stampedBytes = QFileInfo(stampedPath).size();
    state.counters["image_files_kB"] = imageBytes / 1024.0;
    state.counters["pdf_plain_kB"] = plainBytes / 1024.0;
    state.counters["pdf_growth_kB"] = (stampedBytes - plainBytes) / 1024.0;
    state.counters["time_ratio"] = plainSeconds > 0 ? stampedSeconds / plainSeconds : 0;
}

// One full page of the distinct invoice drawn into an image at range(0) dpi, as the preview
// paints a sheet (the image is made and cleared once, outside the timing).
void drawPage(benchmark::State &state)
{
    const Data data(1000, true);
    const auto report = builtin("repSchet");
    ReportEngine engine(*report, data.sources());
    engine.run();
    const int dpi = int(state.range(0));
    const PreparedPage &page = engine.prepared().pages().at(1);
    QImage image(int(std::lround(page.settings.paperWidth / 25.4 * dpi)),
                 int(std::lround(page.settings.paperHeight / 25.4 * dpi)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double scale = dpi / 96.0;
    for (auto _ : state)
        drawPreparedPage(painter, engine.prepared(), page, scale, scale);
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
BENCHMARK(writeDistinctPdf)
    ->Name("writePdf/DistinctInvoice")
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(writePdfWithImages)
    ->Name("writePdf/InvoiceWithImages")
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(drawPage)
    ->Name("drawPage/DistinctInvoice")
    ->Arg(96)
    ->Arg(600)
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
    return runReportBenchmarks(argc, argv);
}
