// The client list and the goods list on 20,000 rows each: opening the window to its first
// row, one keystroke of the quick search, and a sort that returns to the row. The file is
// generated once into the temporary folder (ZARNIK_BENCH_REFBOOKS_DB names another place).

#include "bench_database.h"
#include "data/fb_statement.h"
#include "data/tdm.h"
#include "refbooks/tfrm_nomenkl.h"
#include "refbooks/tfrm_org.h"
#include "ui/db_grid.h"
#include "ui/prompt_service.h"

#include "widget_bench_main.h"
#include <QCoreApplication>
#include <QHeaderView>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kRows = 20'000;

// The two reference books of kRows rows each, generated once.
QString refbooksDatabase()
{
    return generatedDatabase(
        "ZARNIK_BENCH_REFBOOKS_DB", QStringLiteral("zarnik-bench-refbooks-20k.gdb"),
        [](FbConnection &connection) {
            FbTransaction transaction(connection);
            transaction.start();
            FbStatement client(transaction);
            client.prepare(QStringLiteral(
                "insert into CLIENTS (KOD, TIP, NAMEORG, KBE, BINIIN, ADRES, IIK, BANK, BIK, TEL) "
                "values (:KOD, 0, :NAMEORG, '17', :BINIIN, '010000, г. Астана, ул. Кенесары, 40', "
                "'KZ45601A861000123456', 'АО «Халык Банк»', :BIK, '+7 7172 55-66-77')"));
            FbStatement item(transaction);
            item.prepare(QStringLiteral("insert into NOMENKLOTURA (KOD, TIP, NAME, EDIZM, CENA, "
                                        "OSTATOK) values (:KOD, 0, :NAME, 'шт', :CENA, :OSTATOK)"));
            for (int k = 1; k <= kRows; ++k) {
                // Names spread over the alphabet, so that sorting moves the rows about.
                const int spread = (k * 7919) % kRows;
                client.setParameter(0, k);
                client.setParameter(
                    1, QStringLiteral("ТОО «Клиент № %1»").arg(spread, 5, 10, QLatin1Char('0')));
                client.setParameter(2, QString::number(100000000000LL + spread));
                client.setParameter(3, QStringLiteral("BIK%1").arg(k % 97));
                client.execute();
                item.setParameter(0, k);
                item.setParameter(
                    1, QStringLiteral("Товар № %1").arg(spread, 5, 10, QLatin1Char('0')));
                item.setParameter(2, double(k % 1000) + 0.5);
                item.setParameter(3, double(k % 50));
                item.execute();
            }
            transaction.commit();
            runStatement(connection, QStringLiteral("SET GENERATOR CLIENTS_KOD_GEN TO 20000"));
            runStatement(connection, QStringLiteral("SET GENERATOR NOMENKLOTURA_KOD_GEN TO 20000"));
        });
}

// Answers nothing: the measured steps ask nothing.
class SilentPrompts : public PromptService {
public:
    bool confirm(QWidget *, const QString &) override { return false; }
    void inform(QWidget *, const QString &) override {}
    void error(QWidget *, const QString &, const QString &) override {}
};

struct Fixture {
    TDM dm;
    SilentPrompts prompts;
    Fixture()
    {
        dm.DataModuleCreate(refbooksDatabase());
        for (Dataset *d : dm.mainDatasets())
            d->open();
    }
    RefbookContext context() { return {dm, prompts, execDialog, {}}; }
};

Fixture &shared()
{
    static Fixture f;
    return f;
}

template <class Window> void OpenToFirstRow(benchmark::State &state)
{
    Fixture &f = shared();
    for (auto _ : state) {
        Window window(f.context());
        window.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.grid()->model()->rowCount());
    }
}
BENCHMARK(OpenToFirstRow<TfrmOrg>)->Name("ClientsOpenToFirstRow")->Unit(benchmark::kMillisecond);
BENCHMARK(OpenToFirstRow<TfrmNomenkl>)->Name("GoodsOpenToFirstRow")->Unit(benchmark::kMillisecond);

// One keystroke that finds a row near the end of the list: each iteration types one more
// letter or takes one back (the first search has read the whole list already).
template <class Window> void QuickSearchKeystroke(benchmark::State &state)
{
    Fixture &f = shared();
    Window window(f.context());
    window.show();
    const QString wanted = window.objectName() == QLatin1String("frmOrg")
                               ? QStringLiteral("тоо «клиент № 19990")
                               : QStringLiteral("товар № 19990");
    window.quickSearch(wanted);
    bool whole = false;
    for (auto _ : state) {
        whole = !whole;
        window.quickSearch(whole ? wanted : wanted.chopped(1));
    }
}
BENCHMARK(QuickSearchKeystroke<TfrmOrg>)
    ->Name("ClientsQuickSearchKeystroke")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(QuickSearchKeystroke<TfrmNomenkl>)
    ->Name("GoodsQuickSearchKeystroke")
    ->Unit(benchmark::kMillisecond);

// A title click on the middle of the list: reopen in the other order and come back to the
// row that was current.
template <class Window> void SortAndReturn(benchmark::State &state)
{
    Fixture &f = shared();
    Window window(f.context());
    window.show();
    window.quickSearch(window.objectName() == QLatin1String("frmOrg")
                           ? QStringLiteral("тоо «клиент № 10000")
                           : QStringLiteral("товар № 10000"));
    DbGrid *grid = window.grid();
    int column = 0;
    for (auto _ : state) {
        column = column == 0 ? 2 : 0;
        Q_EMIT grid->titleClicked(column);
    }
}
BENCHMARK(SortAndReturn<TfrmOrg>)->Name("ClientsSortAndReturn")->Unit(benchmark::kMillisecond);
BENCHMARK(SortAndReturn<TfrmNomenkl>)->Name("GoodsSortAndReturn")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv, false);
}
