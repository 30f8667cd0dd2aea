#pragma once

#include "report/report_rows.h"

namespace benchmark {
class State;
}

// Times preparing the pages of the built-in template `templateName` over `sources`, and
// counts the pages; a template that does not load or a run with errors fails the benchmark.
void prepareFormPages(benchmark::State &state, const char *templateName,
                      const zreport::DataSources &sources);
