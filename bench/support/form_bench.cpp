#include "form_bench.h"

#include "report/report_engine.h"
#include "templates/template_loader.h"

#include <benchmark/benchmark.h>

void prepareFormPages(benchmark::State &state, const char *templateName,
                      const zreport::DataSources &sources)
{
    QString error;
    const auto report = ztemplates::loadBuiltinTemplate(QString::fromLatin1(templateName), &error);
    if (!report) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    zreport::ReportEngine engine(*report, sources);
    for (auto _ : state) {
        if (!engine.run())
            state.SkipWithError("the run reported errors");
    }
    state.counters["pages"] = engine.prepared().pageCount();
}
