#pragma once

#include "text_metrics.h"
#include "text_style.h"

#include <QRect>
#include <QString>

#include <vector>

// Breaking a memo's text into lines on the 600-dpi measuring device, and its height.
namespace zreport {

struct LaidOutLine {
    quint32 start = 0; // into the text, whose paragraphs are separated by '\n'
    quint32 length = 0;
    qint32 width = 0; // dots at 600 dpi
    bool firstOfParagraph = false;
    bool lastOfParagraph = false;
};

// Integer edges of the area inside the frame and gaps, at a scale (1 for layout); right and
// bottom are exclusive as on the reference device, hence the "+ 1".
struct TextBox {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};
TextBox textBox(const TextStyle &style, double left, double top, double width, double height,
                double scaleX = 1, double scaleY = 1, double offsetX = 0, double offsetY = 0);

// Height of one line in units: the 600-dpi font height / 6.25 plus the line spacing.
double lineHeight(const TextStyle &style);

// Lays the text out in a box `layoutWidth` units wide.
void layoutText(QStringView text, const TextStyle &style, int layoutWidth,
                std::vector<LaidOutLine> &lines);

// The height the memo needs for `lineCount` lines, rounded to whole units (halves to even).
double memoHeightFor(const TextStyle &style, int lineCount);

double roundHalfEven(double v);

} // namespace zreport
