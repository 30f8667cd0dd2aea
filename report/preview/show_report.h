#pragma once

#include "report/report_model.h"
#include "report/report_rows.h"

class QWidget;

namespace zpreview {

struct PreviewHooks;

// Opens the modal, maximised preview window at once and builds the report's pages in it over
// `sources`; returns when the user has closed the window.
void showReport(const zreport::TfrxReport &report, const zreport::DataSources &sources,
                QWidget *parent = nullptr);
// The same with the child dialogs, messages and file names answered through `hooks`.
void showReport(const zreport::TfrxReport &report, const zreport::DataSources &sources,
                const PreviewHooks &hooks, QWidget *parent = nullptr);

} // namespace zpreview
