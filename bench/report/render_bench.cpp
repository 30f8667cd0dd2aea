// The invoice printed from a database file the way `zarnik-cli render` prints it: the file
// opened, the document's lines and totals read, the pages prepared, then the PDF written, both
// parts timed in the same run. The document has 10,000 lines whose descriptions all differ, a
// third of them wrapping; the file is generated once into the temporary folder
// (ZARNIK_BENCH_INVOICE_DB names another place), so the same run can be repeated with
//   zarnik-cli render --db <file> --template repSchet --doc 1 --pdf invoice.pdf

#include "bench_database.h"
#include "data/fb_statement.h"
#include "data/tdm.h"
#include "printing/print_job.h"
#include "report/report_engine.h"
#include "report/report_output.h"
#include "report_bench_main.h"
#include "sample_data.h"
#include "templates/template_loader.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cmath>
#include <ctime>

using namespace zreport;

namespace {

constexpr int kDocument = 1; // its KOD

QString invoiceDatabase(int lines)
{
    return generatedDatabase(
        "ZARNIK_BENCH_INVOICE_DB",
        QStringLiteral("zarnik-bench-distinct-invoice-%1.gdb").arg(lines),
        [lines](FbConnection &connection) {
            FbTransaction transaction(connection);
            transaction.start();
            FbStatement own(transaction);
            own.prepare(QStringLiteral(
                "insert into REKVIZITY (KOD, NAMEORG, ADRES, RUK, GLBUX, KBE, BINIIN, IIK, BANK, "
                "BIK, STNDS, VARRASCHET, TEL) values (1, 'ТОО «Степной Ветер»', '010000, г. "
                "Астана, пр. Республики, 12', 'Ахметов А. Б.', 'Садыкова Г. К.', '17', "
                "'080940012345', 'KZ12926180219T620004', 'АО «Казкоммерцбанк»', 'KZKOKZKX', 12, "
                "1, '+7 7172 11-22-33')"));
            own.execute();
            FbStatement doc(transaction);
            doc.prepare(QStringLiteral(
                "insert into DOCS (KOD, KODARCHIV, NAMEORG, BINIIN, ADRES, IIK, BANK, BIK, "
                "OSNOVANIE, DATASCH, NUMSCH, STNDS) values (:KOD, 0, 'ТОО «Клиент»', "
                "'150940023456', '010000, г. Астана, ул. Кенесары, 40', 'KZ45601A861000123456', "
                "'АО «Халык Банк»', 'HSBKKZKX', 'Договор поставки № 15 от 10.01.2026', "
                "'2026-03-02', 1, 12)"));
            doc.setParameter(0, kDocument);
            doc.execute();
            FbStatement line(transaction);
            line.prepare(QStringLiteral(
                "insert into DETAILDOCS (KOD, KODDOCS, NUM, NAME, EDIZM, KOLVO, CENASHT, "
                "CENASUMBEZNDS, STNDS, SUMNDS, STREALIZ) values (:KOD, :KODDOCS, :NUM, :NAME, "
                "'шт.', :KOLVO, :CENASHT, :CENASUMBEZNDS, 12, :SUMNDS, :STREALIZ)"));
            for (int i = 0; i < lines; ++i) {
                const double amount = sample::distinctLineAmount(i);
                const double vat = std::round(amount * 12 / 112 * 100) / 100;
                line.setParameter(0, i + 1);
                line.setParameter(1, kDocument);
                line.setParameter(2, i + 1);
                line.setParameter(3, sample::distinctLineName(i));
                line.setParameter(4, sample::distinctLineQuantity(i));
                line.setParameter(5, sample::distinctLinePrice(i));
                line.setParameter(6, amount - vat);
                line.setParameter(7, vat);
                line.setParameter(8, amount);
                line.execute();
            }
            transaction.commit();
            runStatement(connection,
                         QStringLiteral("SET GENERATOR DOCS_KOD_GEN TO %1").arg(kDocument));
            runStatement(connection,
                         QStringLiteral("SET GENERATOR DETAILDOCS_KOD_GEN TO %1").arg(lines));
        });
}

// Processor time of the whole process (the database engine works in threads of its own).
double processMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Each iteration is one whole print: the file opened and read, the pages prepared (counted
// as prepare_ms, elapsed, and prepare_cpu_ms, processor time), the PDF written (pdf_ms,
// pdf_cpu_ms). The ratio is the run's PDF processor time over its preparation's, which the
// load of other programs on the machine does not change.
void renderFromFile(benchmark::State &state)
{
    const QString path = invoiceDatabase(int(state.range(0)));
    QString error;
    const auto report = ztemplates::loadBuiltinTemplate(QStringLiteral("repSchet"), &error);
    if (!report) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    const QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("invoice.pdf"));
    double prepareMs = 0, pdfMs = 0, prepareCpuMs = 0, pdfCpuMs = 0;
    int pages = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const double cpuStart = processMilliseconds();
        TDM dm;
        dm.DataModuleCreate(path);
        for (Dataset *dataset : dm.mainDatasets())
            dataset->open();
        if (!dm.DSetDocs->locate(kDocument)) {
            state.SkipWithError("the generated document is missing");
            return;
        }
        prepareDocumentTotals(dm, QStringLiteral("repSchet"));
        ReportSources sources(dm);
        ReportEngine engine(*report, sources.sources());
        engine.run();
        const qint64 prepared = clock.nsecsElapsed();
        const double cpuPrepared = processMilliseconds();
        if (!savePreparedPdf(engine.prepared(), pdf, &error)) {
            state.SkipWithError(qPrintable(error));
            return;
        }
        const qint64 written = clock.nsecsElapsed();
        const double cpuWritten = processMilliseconds();
        dm.DSetDocs->cancel();
        prepareMs += double(prepared) / 1e6;
        pdfMs += double(written - prepared) / 1e6;
        prepareCpuMs += cpuPrepared - cpuStart;
        pdfCpuMs += cpuWritten - cpuPrepared;
        pages = engine.prepared().pageCount();
    }
    const double runs = double(state.iterations());
    state.counters["pages"] = pages;
    state.counters["prepare_ms"] = prepareMs / runs;
    state.counters["pdf_ms"] = pdfMs / runs;
    state.counters["prepare_cpu_ms"] = prepareCpuMs / runs;
    state.counters["pdf_cpu_ms"] = pdfCpuMs / runs;
    state.counters["pdf_over_prepare"] = pdfCpuMs / prepareCpuMs;
    state.counters["file_MB"] = double(QFileInfo(pdf).size()) / 1e6;
}

} // namespace

BENCHMARK(renderFromFile)
    ->Name("renderFromFile/DistinctInvoice")
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runReportBenchmarks(argc, argv);
}
