// Preparing the pages of each form of one document over a document of many lines.

#include "report_engine.h"
#include "sample_data.h"
#include "template_loader.h"

#include <benchmark/benchmark.h>

using namespace zreport;

namespace {

void prepareForm(benchmark::State &state, const char *templateName)
{
    const int lines = int(state.range(0));
    double total = 0;
    const auto rekvizity = sample::rekvizity();
    const auto detail = sample::detail(lines, &total);
    const auto document = sample::document(total, total * 12 / 112, lines);
    const DataSources sources{{"DM.DSRekvizity", rekvizity.get()},
                              {"DM.DSDocs", document.get()},
                              {"DM.DSDetail", detail.get()}};
    QString error;
    const auto report = ztemplates::loadBuiltinTemplate(QString::fromLatin1(templateName), &error);
    if (!report) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    ReportEngine engine(*report, sources);
    for (auto _ : state) {
        if (!engine.run())
            state.SkipWithError("the run reported errors");
    }
    state.counters["pages"] = engine.prepared().pageCount();
}

} // namespace

BENCHMARK_CAPTURE(prepareForm, VatInvoice, "repSchF")->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(prepareForm, WaybillLandscape, "repNaklKn")
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(prepareForm, WaybillPortrait, "repNaklAlb")
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(prepareForm, ActLandscape, "repActKn")->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(prepareForm, ActPortrait, "repActAlb")->Arg(1000)->Unit(benchmark::kMillisecond);
