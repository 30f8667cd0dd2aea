// The common actions on the local Firebird server over TCP, on 100,000 documents: the register
// opened to its first row, the next document with its lines, the editor on a document of 1,000
// lines, "Счет" to its prepared pages and each reference list opened, and the register as the
// program starts. Each runs at the server's
// own speed and again with 20 ms added to every round trip (the argument), and reports the
// engine calls and the network round trips it took beside its time.

#include "app/tfrm_main.h"
#include "bench_database.h"
#include "core/work_session.h"
#include "data/db_error.h"
#include "data/engine_calls.h"
#include "data/tdm.h"
#include "editor/tfrm_schet.h"
#include "recording_prompts.h"
#include "refbooks/tfrm_knp.h"
#include "refbooks/tfrm_nomenkl.h"
#include "refbooks/tfrm_org.h"
#include "refbooks/tfrm_osnovanie.h"
#include "report/report_engine.h"
#include "server_bench_database.h"
#include "tcp_relay.h"

#include "widget_bench_main.h"
#include <QApplication>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

// One user at the register of the server's large database, connected through the relay.
struct Office {
    TcpRelay relay;
    TDM dm;
    WorkSession session{dm};
    // Printing is confirmed although the generated documents' identification numbers are not
    // checked ones; any message is a fault: each action must run through.
    RecordingPrompts prompts{true};
    std::unique_ptr<TfrmMain> window;
    int pages = 0;

    Office()
    {
        dm.DataModuleCreate(serverLocation(serverRegisterDatabase(), relay.port()),
                            benchServerUser());
        window = std::make_unique<TfrmMain>(session, prompts);
        window->setReportShower(
            [this](const zreport::TfrxReport &report, const zreport::DataSources &sources) {
                zreport::ReportEngine engine(report, sources);
                engine.run();
                pages = engine.prepared().pageCount();
            });
        window->show();
    }
    ~Office() { dm.DSetDocs->cancel(); }

    // The register listing only the long document, as if found by its client.
    void showLongDocument()
    {
        dm.DSetDocs->close();
        dm.DSetDocs->setSelectSql(QStringLiteral("select * from DOCS where KOD = :LONGKOD"),
                                  {{QStringLiteral("LONGKOD"), kLongDocument}});
        dm.DSetDocs->open();
    }
};

std::unique_ptr<Office> g_office;

Office &office()
{
    if (!g_office)
        g_office = std::make_unique<Office>();
    return *g_office;
}

// Counts the engine calls and the round trips of the timed part of a benchmark.
class CallCounter {
public:
    explicit CallCounter(const TcpRelay &relay) : m_relay(relay) {}
    void start()
    {
        m_calls = engine_calls::sinceStart();
        m_trips = m_relay.roundTrips();
    }
    void stop()
    {
        m_sum += engine_calls::sinceStart() - m_calls;
        m_tripSum += m_relay.roundTrips() - m_trips;
    }
    void report(benchmark::State &state) const
    {
        const auto perAction = [&](std::uint64_t value) {
            return benchmark::Counter(double(value), benchmark::Counter::kAvgIterations);
        };
        state.counters["prepared"] = perAction(m_sum.prepared);
        state.counters["executed"] = perAction(m_sum.executed);
        state.counters["fetched"] = perAction(m_sum.fetched);
        state.counters["tx"] = perAction(m_sum.transactions);
        state.counters["round_trips"] = perAction(m_tripSum);
    }

private:
    const TcpRelay &m_relay;
    engine_calls::Counts m_calls, m_sum;
    std::uint64_t m_trips = 0, m_tripSum = 0;
};

// Runs `action` timed and counted, `between` untimed after each.
template <class Action, class Between>
void measure(benchmark::State &state, Action action, Between between)
{
    Office &o = office();
    o.relay.setRoundTripDelayMs(int(state.range(0)));
    CallCounter counter(o.relay);
    for (auto _ : state) {
        counter.start();
        action(o);
        counter.stop();
        state.PauseTiming();
        between(o);
        state.ResumeTiming();
    }
    o.relay.setRoundTripDelayMs(0);
    counter.report(state);
    if (!o.prompts.message.isEmpty())
        state.SkipWithError(qPrintable(o.prompts.message));
}

void nothing(Office &) {}

// The register opened as the program starts: the filters cleared, which spans the invoice
// dates of every listed document, and everything opened to the first row with its lines.
void StartRegister(benchmark::State &state)
{
    std::unique_ptr<TfrmMain> started;
    measure(
        state,
        [&](Office &o) {
            started = std::make_unique<TfrmMain>(o.session, o.prompts);
            started->show();
            QApplication::processEvents();
        },
        [&](Office &) { started.reset(); });
}

// "Запрос": the register's statement re-run, everything committed and reopened, to the first
// row with its lines.
void RegisterToFirstRow(benchmark::State &state)
{
    measure(
        state,
        [](Office &o) {
            o.window->findChild<QPushButton *>(QStringLiteral("btnZapros"))->click();
            benchmark::DoNotOptimize(o.dm.DSetDetail->asString(QStringLiteral("NAME")));
        },
        nothing);
}

// One step down the register: the next document and its lines.
void NextDocumentWithLines(benchmark::State &state)
{
    office().window->findChild<QPushButton *>(QStringLiteral("btnZapros"))->click();
    measure(
        state,
        [](Office &o) {
            o.dm.DSetDocs->next();
            benchmark::DoNotOptimize(o.dm.DSetDetail->asString(QStringLiteral("NAME")));
        },
        nothing);
}

// From "Изменить" to the painted editor on the document of 1,000 lines (the lines read
// again, the window built, shown and painted); closed with "Отмена" untimed.
void EditorOnThousandLines(benchmark::State &state)
{
    office().showLongDocument();
    std::unique_ptr<TfrmSchet> editor;
    measure(
        state,
        [&](Office &o) {
            o.dm.DSetDetail->close();
            o.dm.DSetDetail->open();
            editor = std::make_unique<TfrmSchet>(o.dm, o.prompts, DocumentPickers{},
                                                 EditorMode::Current);
            editor->show();
            QApplication::processEvents();
            editor->grab();
        },
        [&](Office &o) {
            editor->reject();
            editor.reset();
            o.dm.DSetDocs->cancel();
        });
    if (office().dm.DSetDetail->recordCount() != kLongDocumentLines)
        state.SkipWithError("the long document does not have its lines");
}

// "Счет" on the document of 1,000 lines, from the click to its prepared pages.
void InvoiceToPreparedPages(benchmark::State &state)
{
    office().showLongDocument();
    measure(
        state,
        [](Office &o) { o.window->findChild<QPushButton *>(QStringLiteral("btnSch"))->click(); },
        nothing);
    state.counters["pages"] = office().pages;
}

// A reference list from its command to the painted window over its first rows.
template <class Window> void OpenReferenceList(benchmark::State &state)
{
    std::unique_ptr<Window> window;
    measure(
        state,
        [&](Office &o) {
            window = std::make_unique<Window>(RefbookContext{o.dm, o.prompts, execDialog, {}},
                                              o.window.get());
            window->show();
            QApplication::processEvents();
            window->grab();
        },
        [&](Office &) { window.reset(); });
}

} // namespace

// 0: the local server as it is; 20: 20 ms added to every round trip.
BENCHMARK(StartRegister)->Arg(0)->Arg(20)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(RegisterToFirstRow)->Arg(0)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(NextDocumentWithLines)->Arg(0)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(EditorOnThousandLines)->Arg(0)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(InvoiceToPreparedPages)->Arg(0)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenReferenceList<TfrmOrg>)
    ->Name("OpenClients")
    ->Arg(0)
    ->Arg(20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(OpenReferenceList<TfrmNomenkl>)
    ->Name("OpenGoods")
    ->Arg(0)
    ->Arg(20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(OpenReferenceList<TfrmKNP>)
    ->Name("OpenKnp")
    ->Arg(0)
    ->Arg(20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(OpenReferenceList<TfrmOsnovanie>)
    ->Name("OpenGrounds")
    ->Arg(0)
    ->Arg(20)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    try {
        return runWidgetBenchmarks(argc, argv, true, [] { g_office.reset(); });
    } catch (const DbError &e) {
        std::fprintf(stderr,
                     "no server database for the benchmarks (scripts/firebird_server): %s\n",
                     qPrintable(e.message()));
        return 1;
    }
}
