#pragma once

#include "report/report_model.h"
#include "report/report_rows.h"

#include <functional>

// Builds a report over its data sources and shows it to the user: the modal preview in the
// program, a recorder in tests. Windows that print take one, so that a test sees which
// template a command chose and over which rows, without a window of its own.
using ReportShower =
    std::function<void(const zreport::TfrxReport &report, const zreport::DataSources &sources)>;
