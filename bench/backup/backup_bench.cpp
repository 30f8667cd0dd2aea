// Backup and restore of a database of 100,000 documents and 1,000,000 lines. The work is the
// engine's: the program's peak memory (maxrss) shows that it never reads the data itself.
#include "bench_database.h"
#include "peak_memory.h"

#include "backup/database_backup.h"
#include "data/date_time.h"
#include "data/fb_statement.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

namespace {

constexpr int kDocuments = 100'000;
constexpr int kLinesPerDocument = 10;

void fill(FbConnection &connection)
{
    FbTransaction transaction(connection);
    transaction.start();
    FbStatement doc(transaction);
    doc.prepare(QStringLiteral("insert into DOCS (KOD, KODARCHIV, NAMEORG, DATASCH, NUMSCH) "
                               "values (:KOD, 0, :NAMEORG, :DATASCH, :KOD)"));
    FbStatement line(transaction);
    line.prepare(QStringLiteral(
        "insert into DETAILDOCS (KOD, KODDOCS, NUM, NAME, EDIZM, KOLVO, CENASHT, CENASUMBEZNDS, "
        "STNDS, SUMNDS, STREALIZ) values (:KOD, :KODDOCS, :NUM, 'Бумага офисная А4, 80 г/м2', "
        "'пачка', 40, 2350, 81034.48, 16, 12965.52, 94000)"));
    int lineKey = 0;
    for (int kod = 1; kod <= kDocuments; ++kod) {
        doc.setParameter(0, kod);
        doc.setParameter(1, QStringLiteral("ТОО «Клиент № %1»").arg(kod % 977));
        doc.setParameter(2, datetime::make(QDate(2020, 1, 1).addDays(kod % 2000)));
        doc.execute();
        for (int n = 1; n <= kLinesPerDocument; ++n) {
            line.setParameter(0, ++lineKey);
            line.setParameter(1, kod);
            line.setParameter(2, n);
            line.execute();
        }
    }
    transaction.commit();
}

QString millionLineDatabase()
{
    return generatedDatabase("ZARNIK_BENCH_BACKUP_DB", QStringLiteral("zarnik-bench-1m-lines.gdb"),
                             fill);
}

void reportPeakMemory(benchmark::State &state)
{
    state.counters["peak_MB"] = peakMemoryMb();
}

void BM_Backup(benchmark::State &state)
{
    const QString database = millionLineDatabase();
    const QString target = QDir::temp().filePath(QStringLiteral("zarnik-bench.fbk"));
    for (auto _ : state) {
        const zbackup::Result result = zbackup::backupDatabase(database, target);
        if (!result.done())
            state.SkipWithError(result.message.toStdString().c_str());
    }
    reportPeakMemory(state);
}
BENCHMARK(BM_Backup)->Unit(benchmark::kSecond)->Iterations(1);

void BM_RestoreWithValidation(benchmark::State &state)
{
    const QString backup = QDir::temp().filePath(QStringLiteral("zarnik-bench.fbk"));
    if (!QFile::exists(backup))
        zbackup::backupDatabase(millionLineDatabase(), backup);
    const QString target = QDir::temp().filePath(QStringLiteral("zarnik-bench-restored.gdb"));
    for (auto _ : state) {
        const zbackup::Result result = zbackup::restoreBackup(backup, target, true);
        if (!result.done())
            state.SkipWithError(result.message.toStdString().c_str());
    }
    QFile::remove(target);
    reportPeakMemory(state);
}
BENCHMARK(BM_RestoreWithValidation)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    millionLineDatabase(); // generated once, outside the timings
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
