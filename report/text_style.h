#pragma once

#include "report_model.h"

// Everything about a memo that its layout and drawing need besides its place and text.
// Prepared pages share one record among all memos that look alike.
namespace zreport {

struct TextStyle {
    ReportFont font;
    Frame frame;
    QColor fill; // invalid: transparent
    HAlign hAlign = HAlign::haLeft;
    VAlign vAlign = VAlign::vaTop;
    double gapX = 2;
    double gapY = 1;
    double lineSpacing = 2;
    double paragraphGap = 0;
    double charSpacing = 0;
    bool wordWrap = true;
    bool clipped = true;
    bool wysiwyg = true;

    static TextStyle of(const TfrxMemoView &memo);
    bool operator==(const TextStyle &) const = default;
};

} // namespace zreport
