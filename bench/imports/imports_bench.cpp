// 100,000 goods from a CSV price list: read and checked, then written in one step.

#include "data/database_file.h"
#include "data/tdm.h"
#include "imports/column_mapping.h"
#include "imports/csv_reader.h"
#include "imports/import_plan.h"
#include "imports/import_writer.h"
#include "peak_memory.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kGoods = 100'000;

// A supplier's price list as a Russian spreadsheet writes it.
const QByteArray &priceList()
{
    static const QByteArray csv = [] {
        QByteArray text = "\xEF\xBB\xBFНаименование;Ед. изм.;Цена;Остаток\r\n";
        for (int i = 0; i < kGoods; ++i)
            text += "\"Товар №" + QByteArray::number(i) + ", упаковка\";шт;\"1 " +
                    QByteArray::number(i % 1000) + ",50\";" + QByteArray::number(i % 50) + "\r\n";
        return text;
    }();
    return csv;
}

ImportPlan planOf(const ImportTable &table)
{
    return planImport(table,
                      {ImportTarget::Goods, guessMapping(ImportTarget::Goods, table.header), 0},
                      [](int, const QString &) { return std::optional<int>(); });
}

void ReadAndCheckGoods(benchmark::State &state)
{
    for (auto _ : state) {
        const TableRead read = csv::readBytes(priceList());
        const ImportPlan plan = planOf(read.table);
        if (plan.added != kGoods)
            state.SkipWithError("not every row was accepted");
    }
    state.counters["peak_MB"] = double(peakMemoryMb());
}
BENCHMARK(ReadAndCheckGoods)->Unit(benchmark::kMillisecond);

void WriteGoods(benchmark::State &state)
{
    const ImportPlan plan = planOf(csv::readBytes(priceList()).table);
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("import.gdb"));
        database::create(path);
        TDM dm;
        dm.DataModuleCreate(path);
        state.ResumeTiming();
        writePlan(dm.TsnRW, ImportTarget::Goods, plan);
        dm.TsnRW.commit();
    }
    state.counters["peak_MB"] = double(peakMemoryMb());
}
BENCHMARK(WriteGoods)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
