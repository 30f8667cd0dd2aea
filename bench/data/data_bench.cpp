// The register on a large file: 100,000 documents with 300,000 lines.

#include "bench_database.h"
#include "data/tdm.h"
#include "peak_memory.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

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
        if (!dm.DSetDocs->locate(kBenchDocuments))
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
