#include "report_draw.h"

#include "page_canvas.h"
#include "report_units.h"
#include "text_layout.h"
#include "text_metrics.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace zreport {

namespace {

int r(double v)
{
    return int(std::nearbyint(v));
}

// Glyphs up to this many pixels high come from the raster engine's glyph cache.
constexpr int kLargestCachedGlyph = 64;

struct DeviceRect {
    int x0, y0, x1, y1;
};

// The fonts of one style at the painter's scale.
struct StyleFonts {
    bool resolved = false;
    MeasuringFont measuring;
    DeviceFont device;
    int devicePixels = 0;
};

// Draws the objects of prepared pages on one canvas at one scale; the fonts of each style are
// resolved once.
class PageDrawing {
public:
    PageDrawing(PageCanvas &canvas, const PreparedReport &report, double sx, double sy)
        : m_canvas(canvas), m_report(report), m_sx(sx), m_sy(sy), m_fonts(report.styles().size())
    {}

    void page(const PreparedPage &page, double originX, double originY);
    void object(const PreparedPage &page, const PreparedObject &object, double left, double top,
                double ox, double oy);

private:
    struct Placed {
        const PreparedObject *object;
        double left, top;
    };

    void background(const TextStyle &style, const DeviceRect &d);
    void picture(const PreparedObject &object, double left, double top, double ox, double oy);
    void frame(const Frame &frame, const DeviceRect &d);
    void text(const PreparedPage &page, const PreparedObject &object, const TextStyle &style,
              const TextBox &box);
    const StyleFonts &fontsOf(quint32 styleIndex, const TextStyle &style);
    static bool fillsCoverEarlierObjects(const std::vector<Placed> &placed,
                                         const PreparedReport &report);
    static bool drawnInOneColour(const std::vector<Placed> &placed, const PreparedReport &report);

    void fillRect(const QColor &color, const QRect &rect);
    void flushRects();
    void flushText();
    // Adds glyphs drawn without clipping to the run of their face, size and colour.
    void batchText(const FontFace *face, const DeviceFont &device, int pixels, const QColor &color,
                   const QList<quint32> &glyphs, const QList<QPointF> &positions,
                   const std::vector<QRectF> &decorations);

    PageCanvas &m_canvas;
    const PreparedReport &m_report;
    const double m_sx, m_sy;
    std::vector<StyleFonts> m_fonts;
    std::vector<int> m_cumulative;
    QList<quint32> m_glyphs;
    QList<QPointF> m_positions;
    // The characters of a text that its face lacks and its fallback face draws.
    QList<quint32> m_fallbackGlyphs;
    QList<QPointF> m_fallbackPositions;
    std::vector<QRectF> m_decorations;
    std::vector<Placed> m_placed;

    // Solid rectangles waiting to be drawn, in order; a run of one colour sets the brush once.
    std::vector<std::pair<QColor, QRect>> m_rects;
    std::vector<QRect> m_rectsOfColour;
    // On a page of one colour, where the order of rectangles changes nothing, they are merged
    // (see mergeRects).
    bool m_oneColour = false;
    // Unclipped text waiting to be drawn, one glyph run per font, size and colour: every run
    // costs a vector device a saved state and a text object.
    struct TextBatch {
        const FontFace *face;
        int pixels;
        QColor color;
        DeviceFont device;
        QList<quint32> glyphs;
        QList<QPointF> positions;
        std::vector<QRectF> decorations;
    };
    std::vector<TextBatch> m_batches;
};

void PageDrawing::fillRect(const QColor &color, const QRect &rect)
{
    m_rects.emplace_back(color, rect);
}

// Rectangles of one colour covering the same pixels with fewer, longer ones: the sides that
// neighbouring frames share once, and the segments of a ruled line joined into one.
void mergeRects(std::vector<std::pair<QColor, QRect>> &rects)
{
    // Joins rectangles running along one axis (longer along it than across, at the same
    // position and thickness across it) that touch or overlap along it. Rectangles side by
    // side stay apart: a viewer snaps each thin one to its own pixel column.
    const auto join = [&rects](auto runsAlong, auto across, auto along) {
        std::sort(rects.begin(), rects.end(), [&](const auto &a, const auto &b) {
            return std::tuple(across(a.second), along(a.second)) <
                   std::tuple(across(b.second), along(b.second));
        });
        size_t kept = 0;
        for (size_t i = 0; i < rects.size(); ++i) {
            if (kept > 0) {
                QRect &last = rects[kept - 1].second;
                const QRect &next = rects[i].second;
                if (runsAlong(last) && runsAlong(next) && across(last) == across(next) &&
                    along(next).first <= along(last).second) {
                    last = last.united(next);
                    continue;
                }
            }
            rects[kept++] = rects[i];
        }
        rects.resize(kept);
    };
    // Horizontal rules: (top, height) across, [left, right + 1) along; then vertical ones.
    join([](const QRect &r) { return r.width() >= r.height(); },
         [](const QRect &r) { return std::pair(r.y(), r.height()); },
         [](const QRect &r) { return std::pair(r.x(), r.x() + r.width()); });
    join([](const QRect &r) { return r.height() >= r.width(); },
         [](const QRect &r) { return std::pair(r.x(), r.width()); },
         [](const QRect &r) { return std::pair(r.y(), r.y() + r.height()); });
}

void PageDrawing::flushRects()
{
    if (m_oneColour)
        mergeRects(m_rects);
    for (size_t from = 0; from < m_rects.size();) {
        const QColor &color = m_rects[from].first;
        size_t to = from;
        while (to < m_rects.size() && m_rects[to].first == color)
            ++to;
        m_rectsOfColour.clear();
        for (size_t i = from; i < to; ++i)
            m_rectsOfColour.push_back(m_rects[i].second);
        m_canvas.fillRects(color, m_rectsOfColour.data(), m_rectsOfColour.size());
        from = to;
    }
    m_rects.clear();
}

void PageDrawing::flushText()
{
    for (TextBatch &batch : m_batches) {
        if (!batch.glyphs.isEmpty()) {
            m_canvas.glyphs(batch.face, batch.device, batch.pixels, batch.color, batch.glyphs,
                            batch.positions);
            batch.glyphs.clear();
            batch.positions.clear();
        }
    }
    for (TextBatch &batch : m_batches) {
        for (const QRectF &rect : batch.decorations)
            m_canvas.fillRect(rect, batch.color);
        batch.decorations.clear();
    }
}

const StyleFonts &PageDrawing::fontsOf(quint32 styleIndex, const TextStyle &style)
{
    StyleFonts &fonts = m_fonts[styleIndex];
    if (!fonts.resolved) {
        fonts.resolved = true;
        fonts.devicePixels = r(style.font.pointSize() * m_sy * kUnitsPerInch / 72.0);
        fonts.measuring = TextMetrics::instance().font(style.font);
        if (fonts.devicePixels >= 1 && fonts.measuring.face())
            fonts.device = fonts.measuring.face()->atPixelSize(fonts.devicePixels);
    }
    return fonts;
}

void PageDrawing::frame(const Frame &frame, const DeviceRect &d)
{
    if (!frame.typ || !frame.color.isValid() || frame.width <= 0)
        return;
    const bool hasLeft = frame.typ & ftLeft, hasRight = frame.typ & ftRight;
    const bool hasTop = frame.typ & ftTop, hasBottom = frame.typ & ftBottom;
    const auto side = [&](const FrameLine &line, bool vertical, int at, int from, int to,
                          bool extendStart, bool extendEnd) {
        if (!line.color.isValid() || line.width <= 0)
            return;
        const int thickness = std::max(1, r(line.width * (vertical ? m_sx : m_sy)));
        const int half = thickness / 2;
        if (line.style == FrameLineStyle::fsDot) {
            flushRects();
            const double c = at - half + thickness / 2.0;
            if (vertical)
                m_canvas.dottedLine(line.color, thickness, QPointF(c, from), QPointF(c, to));
            else
                m_canvas.dottedLine(line.color, thickness, QPointF(from, c), QPointF(to + 1, c));
            return;
        }
        const int start = from - (extendStart ? half : 0);
        const int end = to + (extendEnd ? thickness - half : 0);
        const QRect rect = vertical ? QRect(at - half, start, thickness, std::max(1, end - start))
                                    : QRect(start, at - half, std::max(1, end - start), thickness);
        fillRect(line.color, rect);
    };
    if (hasLeft)
        side(frame.leftLine, true, d.x0, d.y0, d.y1, hasTop, hasBottom);
    if (hasRight)
        side(frame.rightLine, true, d.x1, d.y0, d.y1, hasTop, hasBottom);
    if (hasTop)
        side(frame.topLine, false, d.y0, d.x0, d.x1, hasLeft, hasRight);
    if (hasBottom)
        side(frame.bottomLine, false, d.y1, d.x0, d.x1, hasLeft, hasRight);
}

void PageDrawing::background(const TextStyle &style, const DeviceRect &d)
{
    if (style.fill.isValid()) {
        const QRect rect(QPoint(d.x0, d.y0), QPoint(d.x1 - 1, d.y1 - 1));
        if (rect.width() > 0 && rect.height() > 0)
            fillRect(style.fill, rect);
    }
    frame(style.frame, d);
}

void PageDrawing::text(const PreparedPage &page, const PreparedObject &object,
                       const TextStyle &style, const TextBox &box)
{
    if (object.lineCount == 0)
        return;
    const StyleFonts &fonts = fontsOf(object.style, style);
    const FontFace *face = fonts.measuring.face();
    if (fonts.devicePixels < 1 || !face)
        return;
    const DeviceFont &device = fonts.device;
    const double dotsToDevice = m_sx / kDotsPerUnit;
    const double pitch = lineHeight(style) * m_sy;
    const int blockHeight = r(object.lineCount * pitch);
    const int available = box.height();
    int blockTop = box.top;
    if (style.vAlign == VAlign::vaCenter)
        blockTop += r((available - blockHeight) / 2.0);
    else if (style.vAlign == VAlign::vaBottom)
        blockTop += available - blockHeight;
    const int extra = int(std::lround(style.charSpacing * kDotsPerUnit));
    const bool slanted = style.font.bold || style.font.italic;
    const double ascent = device.ascent;
    const double pixels = fonts.devicePixels;

    m_glyphs.clear();
    m_positions.clear();
    m_fallbackGlyphs.clear();
    m_fallbackPositions.clear();
    m_decorations.clear();
    QRectF ink;
    for (quint32 i = 0; i < object.lineCount; ++i) {
        const LaidOutLine &line = page.lines[object.firstLine + i];
        const QStringView text = page.lineText(object, line);
        if (text.isEmpty())
            continue;
        const double width = line.width * dotsToDevice;
        const int boxWidth = box.width();
        double x = box.left;
        switch (style.hAlign) {
        case HAlign::haCenter:
            x = box.left + r((boxWidth - width) / 2);
            break;
        case HAlign::haRight:
            x = box.left + boxWidth - width - (slanted ? 1 : 0);
            break;
        default:
            if (line.firstOfParagraph)
                x += r(style.paragraphGap * m_sx);
        }
        const double baseline = blockTop + r(i * pitch) + ascent;
        fonts.measuring.cumulativeAdvances(text, extra, m_cumulative);
        for (qsizetype c = 0; c < text.size(); ++c) {
            const QChar ch = text.at(c);
            quint32 glyph;
            if (ch.isHighSurrogate() && c + 1 < text.size() && text.at(c + 1).isLowSurrogate())
                glyph = face->glyphOfCodePoint(QChar::surrogateToUcs4(ch, text.at(c + 1)));
            else if (ch.isLowSurrogate() && c > 0 && text.at(c - 1).isHighSurrogate())
                continue;
            else if (face->fromFallback(ch))
                glyph = face->fallback()->glyph(ch);
            else
                glyph = face->glyph(ch);
            const QPointF at(x + m_cumulative[size_t(c)] * dotsToDevice, baseline);
            const bool fallback = face->fromFallback(ch);
            (fallback ? m_fallbackGlyphs : m_glyphs).append(glyph);
            (fallback ? m_fallbackPositions : m_positions).append(at);
            const QRectF box = (fallback ? face->fallback() : face)->inkBox(glyph);
            if (!box.isEmpty())
                ink |= QRectF(at + box.topLeft() * pixels, box.size() * pixels);
        }
        // Decorations span the line's 600-dpi width, like the glyphs placed along it.
        const double thickness = std::max(1.0, device.lineThickness);
        if (style.font.underline)
            m_decorations.emplace_back(x, baseline + device.underlinePosition - thickness / 2,
                                       width, thickness);
        if (style.font.strikeOut)
            m_decorations.emplace_back(x, baseline - device.xHeight / 2 - thickness / 2, width,
                                       thickness);
    }
    for (const QRectF &rect : m_decorations)
        ink |= rect;
    if (ink.isEmpty())
        return;

    // Clipping restates the graphics state twice on vector devices, so it is skipped where
    // the ink (with a pixel to spare for anti-aliasing) stays inside the box anyway.
    const QRect clip(box.left, box.top, std::max(0, box.width()), std::max(0, box.height()));
    const bool clipped = style.clipped && !QRectF(clip).adjusted(1, 1, -1, -1).contains(ink);
    if (!clipped) {
        batchText(face, device, fonts.devicePixels, style.font.color, m_glyphs, m_positions,
                  m_decorations);
        if (!m_fallbackGlyphs.isEmpty())
            batchText(face->fallback(), face->fallback()->atPixelSize(fonts.devicePixels),
                      fonts.devicePixels, style.font.color, m_fallbackGlyphs, m_fallbackPositions,
                      {});
        // The raster engine fills glyphs this large as outlines, and one outline of a whole
        // page's text costs far more than its parts.
        if (m_canvas.drawsLargeTextAtOnce() && fonts.devicePixels >= kLargestCachedGlyph)
            flushText();
        return;
    }
    m_canvas.beginClip(clip);
    if (!m_glyphs.isEmpty())
        m_canvas.glyphs(face, device, fonts.devicePixels, style.font.color, m_glyphs, m_positions);
    if (!m_fallbackGlyphs.isEmpty())
        m_canvas.glyphs(face->fallback(), face->fallback()->atPixelSize(fonts.devicePixels),
                        fonts.devicePixels, style.font.color, m_fallbackGlyphs,
                        m_fallbackPositions);
    for (const QRectF &rect : m_decorations)
        m_canvas.fillRect(rect, style.font.color);
    m_canvas.endClip();
}

void PageDrawing::batchText(const FontFace *face, const DeviceFont &device, int pixels,
                            const QColor &color, const QList<quint32> &glyphs,
                            const QList<QPointF> &positions, const std::vector<QRectF> &decorations)
{
    auto batch = std::find_if(m_batches.begin(), m_batches.end(), [&](const TextBatch &b) {
        return b.face == face && b.pixels == pixels && b.color == color;
    });
    if (batch == m_batches.end()) {
        m_batches.push_back({face, pixels, color, device, {}, {}, {}});
        batch = m_batches.end() - 1;
    }
    batch->glyphs += glyphs;
    batch->positions += positions;
    batch->decorations.insert(batch->decorations.end(), decorations.begin(), decorations.end());
}

void PageDrawing::object(const PreparedPage &page, const PreparedObject &object, double left,
                         double top, double ox, double oy)
{
    const TextStyle &style = m_report.style(object.style);
    const DeviceRect d{r(ox + m_sx * left), r(oy + m_sy * top),
                       r(ox + m_sx * (left + object.width)), r(oy + m_sy * (top + object.height))};
    background(style, d);
    flushRects();
    text(page, object, style,
         textBox(style, left, top, object.width, object.height, m_sx, m_sy, ox, oy));
    flushText();
    picture(object, left, top, ox, oy);
}

void PageDrawing::picture(const PreparedObject &object, double left, double top, double ox,
                          double oy)
{
    if (object.image < 0 || size_t(object.image) >= m_report.images().size())
        return;
    const PreparedImage &image = m_report.images()[size_t(object.image)];
    const QRectF target = pictureArea(
        QRectF(ox + m_sx * left, oy + m_sy * top, m_sx * object.width, m_sy * object.height),
        object, image);
    if (!target.isEmpty())
        m_canvas.image(target, image);
}

// Whether drawing all fills and frames before all text would show something differently: a
// fill drawn after the text of an object it overlaps hides that text.
bool PageDrawing::fillsCoverEarlierObjects(const std::vector<Placed> &placed,
                                           const PreparedReport &report)
{
    for (size_t i = 0; i < placed.size(); ++i) {
        const PreparedObject &b = *placed[i].object;
        if (!report.style(b.style).fill.isValid())
            continue;
        const QRectF filled(placed[i].left, placed[i].top, b.width, b.height);
        for (size_t j = 0; j < i; ++j) {
            const PreparedObject &a = *placed[j].object;
            if (a.lineCount > 0 &&
                filled.intersects(QRectF(placed[j].left, placed[j].top, a.width, a.height)))
                return true;
        }
    }
    return false;
}

// Whether the page has no fills and all its frames are of one colour, so a rectangle drawn
// again changes nothing.
bool PageDrawing::drawnInOneColour(const std::vector<Placed> &placed, const PreparedReport &report)
{
    QColor colour;
    for (const Placed &p : placed) {
        const TextStyle &style = report.style(p.object->style);
        if (style.fill.isValid())
            return false;
        if (!style.frame.typ)
            continue;
        for (const FrameLine *line : {&style.frame.leftLine, &style.frame.topLine,
                                      &style.frame.rightLine, &style.frame.bottomLine}) {
            if (!colour.isValid())
                colour = line->color;
            else if (line->color != colour)
                return false;
        }
    }
    return true;
}

void PageDrawing::page(const PreparedPage &page, double originX, double originY)
{
    m_placed.clear();
    for (const PreparedBand &band : page.bands) {
        for (quint32 i = 0; i < band.objectCount; ++i) {
            const PreparedObject &object = page.objects[band.firstObject + i];
            m_placed.push_back({&object, band.left + object.left, band.top + object.top});
        }
    }
    if (fillsCoverEarlierObjects(m_placed, m_report)) {
        for (const Placed &p : m_placed)
            object(page, *p.object, p.left, p.top, originX, originY);
        return;
    }
    // Fills and frames first, then all text: the pen changes twice a page, not twice an object.
    m_oneColour = drawnInOneColour(m_placed, m_report);
    for (const Placed &p : m_placed) {
        const TextStyle &style = m_report.style(p.object->style);
        background(style, DeviceRect{r(originX + m_sx * p.left), r(originY + m_sy * p.top),
                                     r(originX + m_sx * (p.left + p.object->width)),
                                     r(originY + m_sy * (p.top + p.object->height))});
    }
    flushRects();
    m_oneColour = false;
    for (const Placed &p : m_placed) {
        const TextStyle &style = m_report.style(p.object->style);
        text(page, *p.object, style,
             textBox(style, p.left, p.top, p.object->width, p.object->height, m_sx, m_sy, originX,
                     originY));
    }
    flushText();
    // Over the text: a stamp lies over "М.П.", a signature over its line.
    for (const Placed &p : m_placed)
        picture(*p.object, p.left, p.top, originX, originY);
}

} // namespace

void drawPreparedObject(QPainter &painter, const PreparedReport &report, const PreparedPage &page,
                        const PreparedObject &object, double left, double top, double sx, double sy,
                        double ox, double oy)
{
    PainterCanvas canvas(painter);
    PageDrawing(canvas, report, sx, sy).object(page, object, left, top, ox, oy);
}

void drawPreparedPage(QPainter &painter, const PreparedReport &report, const PreparedPage &page,
                      double sx, double sy, double ox, double oy)
{
    PainterCanvas canvas(painter);
    drawPreparedPage(canvas, report, page, sx, sy, ox, oy);
}

void drawPreparedPage(PageCanvas &canvas, const PreparedReport &report, const PreparedPage &page,
                      double sx, double sy, double ox, double oy)
{
    PageDrawing(canvas, report, sx, sy)
        .page(page, ox + page.settings.leftMargin * kUnitsPerMm * sx,
              oy + page.settings.topMargin * kUnitsPerMm * sy);
}

} // namespace zreport
