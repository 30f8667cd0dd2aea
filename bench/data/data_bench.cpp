// The register on a large file: 100,000 documents with 300,000 lines. The file is generated
// once into the temporary folder (ZARNIK_BENCH_DB names another place) and reused.

#include "database_file.h"
#include "date_time.h"
#include "fb_statement.h"
#include "tdm.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

constexpr int kDocuments = 100'000;
constexpr int kLinesPerDocument = 3;

QString benchDatabase()
{
    QString path = qEnvironmentVariable("ZARNIK_BENCH_DB");
    if (path.isEmpty())
        path = QDir::temp().filePath(QStringLiteral("zarnik-bench-100k.gdb"));
    if (QFileInfo::exists(path))
        return path;
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    database::create(partial);
    {
        FbConnection connection;
        connection.attach(partial, database::userName(), database::password());
        FbTransaction transaction(connection);
        transaction.start();
        FbStatement doc(transaction);
        doc.prepare(QStringLiteral(
            "insert into DOCS (KOD, KODARCHIV, NAMEORG, BINIIN, ADRES, IIK, BANK, BIK, OSNOVANIE, "
            "KNP, DATASCH, NUMSCH, STNDS) values (:KOD, 0, :NAMEORG, '150940023456', "
            "'010000, г. Астана, ул. Кенесары, 40', 'KZ45601A861000123456', 'АО «Халык Банк»', "
            "'HSBKKZKX', 'Договор поставки № 15 от 10.01.2026', '710', :DATASCH, :NUMSCH, 16)"));
        FbStatement line(transaction);
        line.prepare(QStringLiteral(
            "insert into DETAILDOCS (KOD, KODDOCS, NUM, NAME, EDIZM, KOLVO, CENASHT, "
            "CENASUMBEZNDS, STNDS, SUMNDS, STREALIZ) values (:KOD, :KODDOCS, :NUM, "
            "'Бумага офисная А4, 80 г/м2, 500 листов', 'пачка', 40, 2350, 81034.48, 16, "
            "12965.52, 94000)"));
        int lineKey = 0;
        for (int d = 1; d <= kDocuments; ++d) {
            doc.setParameter(0, d);
            doc.setParameter(1, QStringLiteral("ТОО «Клиент № %1»").arg(d % 977));
            doc.setParameter(2, datetime::make(QDate(2020, 1, 1).addDays(d % 2000)));
            doc.setParameter(3, d);
            doc.execute();
            for (int n = 1; n <= kLinesPerDocument; ++n) {
                line.setParameter(0, ++lineKey);
                line.setParameter(1, d);
                line.setParameter(2, n);
                line.execute();
            }
        }
        transaction.commit();
        for (const char *sql : {"SET GENERATOR DOCS_KOD_GEN TO 100000",
                                "SET GENERATOR DETAILDOCS_KOD_GEN TO 300000"}) {
            FbTransaction t(connection);
            t.start();
            FbStatement st(t);
            st.prepare(QString::fromLatin1(sql));
            st.execute();
            t.commit();
        }
    }
    QFile::rename(partial, path);
    return path;
}

struct Register {
    TDM dm;
    Register()
    {
        dm.DataModuleCreate(benchDatabase());
        dm.DSetRekvizity->open();
    }
};

Register &shared()
{
    static Register r;
    return r;
}

long peakMemoryMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

void OpenDocsToFirstRow(benchmark::State &state)
{
    TDM &dm = shared().dm;
    for (auto _ : state) {
        dm.DSetDocs->close();
        dm.DSetDocs->open();
        benchmark::DoNotOptimize(dm.DSetDocs->asString(QStringLiteral("NAMEORG")));
    }
    state.counters["peak_MB"] = double(peakMemoryMb());
}
BENCHMARK(OpenDocsToFirstRow)->Unit(benchmark::kMillisecond);

void ScrollThousandDocumentsWithLines(benchmark::State &state)
{
    TDM &dm = shared().dm;
    dm.DSetDetail->open();
    for (auto _ : state) {
        dm.DSetDocs->close();
        dm.DSetDocs->open();
        for (int i = 0; i < 1000; ++i) {
            dm.DSetDocs->next();
            benchmark::DoNotOptimize(dm.DSetDetail->asFloat(QStringLiteral("STREALIZ")));
        }
    }
    state.SetItemsProcessed(state.iterations() * 1000);
    state.counters["per_detail_requery_us"] =
        benchmark::Counter(double(state.iterations()) * 1000,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["peak_MB"] = double(peakMemoryMb());
}
BENCHMARK(ScrollThousandDocumentsWithLines)->Unit(benchmark::kMillisecond);

void LocateLastDocument(benchmark::State &state)
{
    TDM &dm = shared().dm;
    dm.DSetDetail->close();
    for (auto _ : state) {
        dm.DSetDocs->close();
        dm.DSetDocs->open();
        if (!dm.DSetDocs->locate(kDocuments))
            state.SkipWithError("the last document was not found");
    }
    state.counters["peak_MB"] = double(peakMemoryMb());
}
BENCHMARK(LocateLastDocument)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
