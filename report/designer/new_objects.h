#pragma once

#include "report/report_model.h"

#include <memory>

// The objects the designer's add commands put on the page, unnamed. A line and a rectangle
// are memos without text drawn by their frame, as the engine prints them.
namespace zdesigner {

std::unique_ptr<zreport::TfrxView> newMemo();
std::unique_ptr<zreport::TfrxView> newPicture();
std::unique_ptr<zreport::TfrxView> newLine();
std::unique_ptr<zreport::TfrxView> newRectangle();

} // namespace zdesigner
