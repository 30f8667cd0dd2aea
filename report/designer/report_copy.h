#pragma once

#include "report/report_model.h"

#include <memory>

namespace zdesigner {

// A copy of a template as its file would give it, with the images and the title handed to it
// by whoever prints it; nullptr with the reason in *error when it does not read back.
std::unique_ptr<zreport::TfrxReport> copyOfReport(const zreport::TfrxReport &report,
                                                  QString *error);

} // namespace zdesigner
