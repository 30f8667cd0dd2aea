// The register's first row and "Запрос" with and without what was paid and the status of each
// document, the overdue filter, and what clients owe, on a copy of the large database with one
// payment and a due date for each of its 100,000 current documents.

#include "bench_database.h"
#include "core/register_statements.h"
#include "data/date_time.h"
#include "data/debts.h"
#include "data/fb_statement.h"
#include "data/tdm.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

namespace {

// A third of the documents paid in full, a third in half, a third in a third; each due ten days
// after its invoice date.
QString paymentsDatabase()
{
    const QString path = QDir::temp().filePath(QStringLiteral("zarnik-bench-100k-payments.gdb"));
    if (QFileInfo::exists(path))
        return path;
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    QFile::copy(benchDatabase(), partial);
    {
        TDM dm;
        dm.DataModuleCreate(partial);
        dm.TsnRW.start();
        FbStatement::run(
            dm.TsnRW,
            QStringLiteral(
                "insert into PAYMENTS (KOD, KODDOCS, DATAOPL, AMOUNT, KIND, SOURCE) "
                "select D.KOD, D.KOD, D.DATASCH, round((select sum(L.STREALIZ) from DETAILDOCS L "
                "where L.KODDOCS = D.KOD) / (mod(D.KOD, 3) + 1), 2), 0, 0 from DOCS D "
                "where D.KODARCHIV = 0"));
        FbStatement::run(dm.TsnRW, QStringLiteral("insert into DUEDATES (KODDOCS, SROK) "
                                                  "select KOD, DATASCH + 10 from DOCS "
                                                  "where KODARCHIV = 0 and DATASCH is not null"));
        dm.TsnRW.commit();
        runStatement(
            dm.ZNDB,
            QStringLiteral("set generator PAYMENTS_KOD_GEN to %1").arg(kBenchDocuments + 1));
        dm.DataModuleDestroy();
    }
    QFile::rename(partial, path);
    return path;
}

struct Register {
    TDM dm;
    Register()
    {
        dm.DataModuleCreate(paymentsDatabase());
        dm.DSetRekvizity->open();
    }
};

Register &shared()
{
    static Register r;
    return r;
}

// The register opened on a statement, to the rows its grid reads first.
void openToGridRows(TDM &dm, const SelectStatement &statement, int rows)
{
    Dataset &docs = *dm.DSetDocs;
    docs.close();
    docs.setSelectSql(statement.sql, statement.parameters);
    docs.open();
    for (int i = 1; i < rows && !docs.eof(); ++i)
        docs.next();
    benchmark::DoNotOptimize(docs.asString(QStringLiteral("NAMEORG")));
}

// The statements as they were before the two columns.
const SelectStatement kViewBefore{
    QStringLiteral("select * from DOCS where KODARCHIV=0 order by NUMSCH"), {}};

SelectStatement queryBefore()
{
    return {QStringLiteral("select * from DOCS where KODARCHIV=0 and datasch between :DATE1 and "
                           ":DATE2 order by NUMSCH"),
            {{QStringLiteral("DATE1"), datetime::make(QDate(2000, 1, 1))},
             {QStringLiteral("DATE2"), datetime::make(QDate(2100, 1, 1))}}};
}

void RegisterFirstRowBefore(benchmark::State &state)
{
    for (auto _ : state)
        openToGridRows(shared().dm, kViewBefore, 1);
}
BENCHMARK(RegisterFirstRowBefore)->Unit(benchmark::kMillisecond);

void RegisterFirstRowWithPayments(benchmark::State &state)
{
    for (auto _ : state)
        openToGridRows(shared().dm, viewStatement(RegisterView::Current), 1);
}
BENCHMARK(RegisterFirstRowWithPayments)->Unit(benchmark::kMillisecond);

// "Запрос": committed, and the register read again to the 64 rows a grid reads first.
void QueryBefore(benchmark::State &state)
{
    TDM &dm = shared().dm;
    for (auto _ : state) {
        dm.TsnRW.commit();
        openToGridRows(dm, queryBefore(), 64);
    }
}
BENCHMARK(QueryBefore)->Unit(benchmark::kMillisecond);

void QueryWithPayments(benchmark::State &state)
{
    TDM &dm = shared().dm;
    for (auto _ : state) {
        dm.TsnRW.commit();
        openToGridRows(
            dm,
            queryStatement(RegisterView::Current, QString(), QDate(2000, 1, 1), QDate(2100, 1, 1)),
            64);
    }
}
BENCHMARK(QueryWithPayments)->Unit(benchmark::kMillisecond);

void OverdueFilterToGridRows(benchmark::State &state)
{
    for (auto _ : state)
        openToGridRows(shared().dm, viewStatement(RegisterView::Current, PaymentFilter::Overdue),
                       64);
}
BENCHMARK(OverdueFilterToGridRows)->Unit(benchmark::kMillisecond);

// Also all that the debtors' window reads before it shows its first rows: the documents of a
// client come with its figures.
void DebtorsAtToday(benchmark::State &state)
{
    TDM &dm = shared().dm;
    for (auto _ : state) {
        if (!dm.TsnRW.isActive())
            dm.TsnRW.start();
        const Debts debts = clientDebts(dm.TsnRW, QDate::currentDate());
        benchmark::DoNotOptimize(debts.total.due);
        state.counters["clients"] = double(debts.clients.size());
    }
}
BENCHMARK(DebtorsAtToday)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
