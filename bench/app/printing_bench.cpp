// Time of the printing commands on a document with 1,000 lines: preparing the cash receipt
// order, the power of attorney and the payment order, and the register's "Счет" from the
// click to the report shower (totals re-read from the database, words, template loaded), with
// and without the shower preparing the pages.

#include "app/tfrm_main.h"
#include "core/work_session.h"
#include "data/database_file.h"
#include "data/tdm.h"
#include "form_bench.h"
#include "recording_prompts.h"
#include "report/report_engine.h"
#include "sample_data.h"

#include "widget_bench_main.h"
#include <benchmark/benchmark.h>

#include <QPushButton>
#include <QTemporaryDir>

#include <memory>

using namespace zreport;

namespace {

constexpr int kLines = 1000;

void prepareForm(benchmark::State &state, const char *templateName)
{
    double total = 0;
    const auto rekvizity = sample::orderRekvizity();
    const auto detail = sample::orderDetail(int(state.range(0)), &total);
    sample::OrderDocument d;
    d.total = total;
    d.vat = total * 12 / 112;
    const auto document = sample::orderDocument(d);
    prepareFormPages(state, templateName,
                     {{"DM.DSRekvizity", rekvizity.get()},
                      {"DM.DSDocs", document.get()},
                      {"DM.DSDetail", detail.get()}});
}

// A database with one document of kLines lines, made once.
struct Register {
    QTemporaryDir dir;
    TDM dm;
    WorkSession session{dm};
    RecordingPrompts prompts; // any message is a fault: the click must reach the shower
    std::unique_ptr<TfrmMain> window;

    Register()
    {
        const QString path = dir.filePath(QStringLiteral("ZNDB1.2.GDB"));
        database::create(path);
        dm.DataModuleCreate(path);
        for (Dataset *dataset : dm.mainDatasets())
            dataset->open();
        dm.DSetDocs->append();
        dm.DSetDocs->setValue(QStringLiteral("NAMEORG"), QStringLiteral("ТОО «Степной Ветер»"));
        dm.DSetDocs->setValue(QStringLiteral("NUMSCH"), 1);
        dm.DSetDocs->post();
        const qint64 kod = dm.DSetDocs->asInteger(QStringLiteral("KOD"));
        for (int i = 0; i < kLines; ++i) {
            dm.DSetDetail->append();
            dm.DSetDetail->setValue(QStringLiteral("KODDOCS"), kod);
            dm.DSetDetail->setValue(QStringLiteral("NUM"), i + 1);
            dm.DSetDetail->setValue(QStringLiteral("NAME"), sample::lineName(i));
            dm.DSetDetail->setValue(QStringLiteral("EDIZM"), QStringLiteral("шт."));
            dm.DSetDetail->setValue(QStringLiteral("STNDS"), 12);
            dm.DSetDetail->setValue(QStringLiteral("CENASHT"), 1250.5 + 100 * (i % 7));
            dm.DSetDetail->setValue(QStringLiteral("KOLVO"), i % 5 + 1);
            dm.DSetDetail->post();
        }
        dm.TsnRW.commit();
        dm.closeAllDatasets();
        window = std::make_unique<TfrmMain>(session, prompts);
    }
};

// Made at the first use and destroyed before the application: the window needs it.
std::unique_ptr<Register> g_register;

Register &shared()
{
    if (!g_register)
        g_register = std::make_unique<Register>();
    return *g_register;
}

void clickInvoice(benchmark::State &state, bool prepare)
{
    Register &r = shared();
    int shown = 0;
    int pages = 0;
    r.window->setReportShower([&](const TfrxReport &report, const DataSources &sources) {
        ++shown;
        if (prepare) {
            ReportEngine engine(report, sources);
            engine.run();
            pages = engine.prepared().pageCount();
        }
    });
    auto *button = r.window->findChild<QPushButton *>(QStringLiteral("btnSch"));
    for (auto _ : state)
        button->click();
    if (!r.prompts.message.isEmpty())
        state.SkipWithError(qPrintable(r.prompts.message));
    else if (shown != int(state.iterations()))
        state.SkipWithError("the shower was not called at every click");
    state.counters["pages"] = pages;
}

} // namespace

BENCHMARK_CAPTURE(prepareForm, CashReceipt, "repPrix")->Arg(kLines)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(prepareForm, PowerOfAttorney, "repDov")
    ->Arg(kLines)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(prepareForm, PaymentOrder, "repPlat")->Arg(kLines)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(clickInvoice, ToShower, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(clickInvoice, ToPreparedPages, true)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv, true, [] { g_register.reset(); });
}
