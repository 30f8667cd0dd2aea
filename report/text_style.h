#pragma once

#include "report_model.h"

// Everything about a memo that its layout and drawing need besides its place and text.
// Prepared pages share one record among all memos that look alike.
namespace zreport {

struct TextStyle : TextFormat {
    ReportFont font;
    Frame frame;
    QColor fill; // invalid: transparent

    static TextStyle of(const TfrxMemoView &memo);
    bool operator==(const TextStyle &) const = default;
};

} // namespace zreport
