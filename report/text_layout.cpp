#include "text_layout.h"

#include "report_units.h"

#include <cmath>

namespace zreport {

double roundHalfEven(double v)
{
    return std::nearbyint(v);
}

static int r(double v)
{
    return int(roundHalfEven(v));
}

TextBox textBox(const TextStyle &style, double left, double top, double width, double height,
                double sx, double sy, double ox, double oy)
{
    const Frame &f = style.frame;
    TextBox box;
    box.left = r(ox + sx * left) + r(style.gapX * sx);
    box.top = r(oy + sy * top) + r(style.gapY * sy);
    box.right = r(ox + sx * (left + width)) - r(style.gapX * sx) + 1;
    box.bottom = r(oy + sy * (top + height)) - r(style.gapY * sy) + 1;
    if (f.typ & ftLeft)
        box.left += r((f.width - 1) / 2 * sx);
    if (f.typ & ftTop)
        box.top += r((f.width - 1) / 2 * sy);
    if (f.typ & ftRight)
        box.right -= r(f.width / 2 * sx);
    if (f.typ & ftBottom)
        box.bottom -= r(f.width / 2 * sy);
    return box;
}

double lineHeight(const TextStyle &style)
{
    const int dots = TextMetrics::pixelSizeAt600(style.font.pointSize());
    return dots / kDotsPerUnit + style.lineSpacing;
}

double memoHeightFor(const TextStyle &style, int lineCount)
{
    double text = lineCount * lineHeight(style);
    if (lineCount > 0 && style.lineSpacing < 0)
        text -= style.lineSpacing;
    double extras = 2 * style.gapY;
    if (style.frame.typ & ftTop)
        extras += (style.frame.width - 1) / 2;
    if (style.frame.typ & ftBottom)
        extras += style.frame.width / 2;
    if (style.frame.dropShadow)
        extras += style.frame.shadowWidth;
    return roundHalfEven(text + extras);
}

namespace {

thread_local std::vector<int> t_advances;

void addLine(std::vector<LaidOutLine> &lines, qsizetype paragraphStart, qsizetype start,
             qsizetype end, int width, bool first)
{
    LaidOutLine line;
    line.start = quint32(paragraphStart + start);
    line.length = quint32(end - start);
    line.width = width;
    line.firstOfParagraph = first;
    lines.push_back(line);
}

void wrapParagraph(QStringView text, qsizetype offset, const MeasuringFont &font,
                   const TextStyle &style, int layoutWidth, std::vector<LaidOutLine> &lines)
{
    const size_t firstIndex = lines.size();
    const int extra = int(std::lround(style.charSpacing * kDotsPerUnit));
    if (text.isEmpty()) {
        // An empty stored line still takes a line: it counts as one blank.
        addLine(lines, offset, 0, 0, font.advance(QLatin1Char(' ')) + extra, true);
    } else {
        std::vector<int> &cum = t_advances;
        font.cumulativeAdvances(text, extra, cum);
        const qsizetype n = text.size();
        const double fullWidth = layoutWidth * kDotsPerUnit;
        const double firstWidth = (layoutWidth - style.paragraphGap) * kDotsPerUnit;
        if (!style.wordWrap || n < 2 || cum[size_t(n)] < firstWidth) {
            addLine(lines, offset, 0, n, cum[size_t(n)], true);
        } else {
            qsizetype start = 0;
            qsizetype lastBlank = -1;
            double width = firstWidth;
            qsizetype i = 0;
            while (i < n) {
                if (text.at(i) == QLatin1Char(' '))
                    lastBlank = i;
                if (cum[size_t(i) + 1] - cum[size_t(start)] > width) {
                    const bool first = start == 0;
                    if (lastBlank >= start) {
                        addLine(lines, offset, start, lastBlank,
                                cum[size_t(lastBlank)] - cum[size_t(start)], first);
                        start = lastBlank + 1;
                        lastBlank = -1;
                        width = fullWidth;
                        if (start > i)
                            i = start;
                        continue; // the current character starts the new line's measure
                    }
                    if (i > start) {
                        addLine(lines, offset, start, i, cum[size_t(i)] - cum[size_t(start)],
                                first);
                        start = i;
                        width = fullWidth;
                        continue;
                    }
                    addLine(lines, offset, i, i + 1, cum[size_t(i) + 1] - cum[size_t(i)], first);
                    start = i + 1;
                    width = fullWidth;
                }
                ++i;
            }
            if (start < n)
                addLine(lines, offset, start, n, cum[size_t(n)] - cum[size_t(start)], start == 0);
        }
    }
    if (lines.size() > firstIndex)
        lines.back().lastOfParagraph = true;
}

} // namespace

void layoutText(QStringView text, const TextStyle &style, int layoutWidth,
                std::vector<LaidOutLine> &lines)
{
    lines.clear();
    if (text.isEmpty())
        return;
    const MeasuringFont font = TextMetrics::instance().font(style.font);
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        const qsizetype stop = end < 0 ? text.size() : end;
        wrapParagraph(text.mid(start, stop - start), start, font, style, layoutWidth, lines);
        if (end < 0)
            break;
        start = end + 1;
    }
}

} // namespace zreport
