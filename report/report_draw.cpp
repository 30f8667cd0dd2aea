#include "report_draw.h"

#include "report_units.h"
#include "text_layout.h"
#include "text_metrics.h"

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QRawFont>

#include <cmath>

namespace zreport {

namespace {

int r(double v)
{
    return int(std::nearbyint(v));
}

// Raw fonts at device sizes, made once per face and size.
QRawFont deviceFont(const ReportFont &font, int pixelSize)
{
    static QMutex mutex;
    static QHash<QString, QRawFont> faces;
    const QString key = font.name.toLower() + QLatin1Char('/') + QChar(font.bold ? 'b' : '-') +
                        QChar(font.italic ? 'i' : '-');
    QMutexLocker lock(&mutex);
    auto it = faces.find(key);
    if (it == faces.end()) {
        if (faces.size() > 256) // a hostile file may name any number of fonts
            faces.clear();
        QFont f(font.name);
        f.setBold(font.bold);
        f.setItalic(font.italic);
        f.setPixelSize(100);
        f.setHintingPreference(QFont::PreferNoHinting);
        f.setStyleStrategy(QFont::NoFontMerging);
        it = faces.insert(key, QRawFont::fromFont(f));
    }
    QRawFont raw = it.value();
    raw.setPixelSize(pixelSize);
    return raw;
}

struct DeviceRect {
    int x0, y0, x1, y1;
};

void drawSolidSide(QPainter &painter, const FrameLine &line, int thickness, bool vertical, int at,
                   int from, int to, bool extendStart, bool extendEnd)
{
    const int half = thickness / 2;
    const int start = from - (extendStart ? half : 0);
    const int end = to + (extendEnd ? thickness - half : 0);
    const QRect rect = vertical ? QRect(at - half, start, thickness, std::max(1, end - start))
                                : QRect(start, at - half, std::max(1, end - start), thickness);
    painter.fillRect(rect, line.color);
}

void drawDottedSide(QPainter &painter, const FrameLine &line, int thickness, bool vertical, int at,
                    int from, int to)
{
    QPen pen(line.color, thickness, Qt::CustomDashLine, Qt::FlatCap);
    pen.setDashPattern({1, 1});
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const double c = at - thickness / 2 + thickness / 2.0;
    if (vertical)
        painter.drawLine(QPointF(c, from), QPointF(c, to));
    else
        painter.drawLine(QPointF(from, c), QPointF(to + 1, c));
}

void drawFrame(QPainter &painter, const Frame &frame, const DeviceRect &d, double sx, double sy)
{
    if (!frame.typ || !frame.color.isValid() || frame.width <= 0)
        return;
    const bool hasLeft = frame.typ & ftLeft, hasRight = frame.typ & ftRight;
    const bool hasTop = frame.typ & ftTop, hasBottom = frame.typ & ftBottom;
    const auto side = [&](const FrameLine &line, bool vertical, int at, int from, int to,
                          bool extendStart, bool extendEnd) {
        if (!line.color.isValid() || line.width <= 0)
            return;
        const int thickness = std::max(1, r(line.width * (vertical ? sx : sy)));
        if (line.style == FrameLineStyle::fsDot)
            drawDottedSide(painter, line, thickness, vertical, at, from, to);
        else
            drawSolidSide(painter, line, thickness, vertical, at, from, to, extendStart, extendEnd);
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

void drawLines(QPainter &painter, const TextStyle &style, const PreparedPage &page,
               const PreparedObject &object, const TextBox &box, double sx, double sy)
{
    if (object.lineCount == 0)
        return;
    const int devicePixels = r(style.font.pointSize() * sy * kUnitsPerInch / 72.0);
    if (devicePixels < 1)
        return;
    const QRawFont raw = deviceFont(style.font, devicePixels);
    const MeasuringFont measuring = TextMetrics::instance().font(style.font);
    const double dotsToDevice = sx / kDotsPerUnit;
    const double pitch = lineHeight(style) * sy;
    const int blockHeight = r(object.lineCount * pitch);
    const int available = box.height();
    int blockTop = box.top;
    if (style.vAlign == VAlign::vaCenter)
        blockTop += r((available - blockHeight) / 2.0);
    else if (style.vAlign == VAlign::vaBottom)
        blockTop += available - blockHeight;
    const int extra = int(std::lround(style.charSpacing * kDotsPerUnit));
    const bool slanted = style.font.bold || style.font.italic;
    const double ascent = raw.ascent();

    painter.setPen(style.font.color);
    std::vector<int> cumulative;
    QList<QPointF> positions;
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
                x += r(style.paragraphGap * sx);
        }
        const double baseline = blockTop + r(i * pitch) + ascent;
        measuring.cumulativeAdvances(text, extra, cumulative);
        const QList<quint32> glyphs = raw.glyphIndexesForString(text.toString());
        positions.resize(glyphs.size());
        qsizetype glyph = 0;
        for (qsizetype c = 0; c < text.size() && glyph < glyphs.size(); ++c) {
            if (text.at(c).isLowSurrogate() && c > 0 && text.at(c - 1).isHighSurrogate())
                continue;
            positions[glyph++] = QPointF(x + cumulative[size_t(c)] * dotsToDevice, baseline);
        }
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        painter.drawGlyphRun(QPointF(0, 0), run);
        // Decorations span the line's 600-dpi width, like the glyphs placed along it.
        const double thickness = std::max(1.0, raw.lineThickness());
        if (style.font.underline)
            painter.fillRect(
                QRectF(x, baseline + raw.underlinePosition() - thickness / 2, width, thickness),
                style.font.color);
        if (style.font.strikeOut)
            painter.fillRect(
                QRectF(x, baseline - raw.xHeight() / 2 - thickness / 2, width, thickness),
                style.font.color);
    }
}

} // namespace

void drawPreparedObject(QPainter &painter, const PreparedReport &report, const PreparedPage &page,
                        const PreparedObject &object, double left, double top, double sx, double sy,
                        double ox, double oy)
{
    const TextStyle &style = report.style(object.style);
    const DeviceRect d{r(ox + sx * left), r(oy + sy * top), r(ox + sx * (left + object.width)),
                       r(oy + sy * (top + object.height))};
    if (style.fill.isValid())
        painter.fillRect(QRect(QPoint(d.x0, d.y0), QPoint(d.x1 - 1, d.y1 - 1)), style.fill);
    drawFrame(painter, style.frame, d, sx, sy);
    const TextBox box = textBox(style, left, top, object.width, object.height, sx, sy, ox, oy);
    painter.save();
    if (style.clipped)
        painter.setClipRect(
            QRect(box.left, box.top, std::max(0, box.width()), std::max(0, box.height())),
            Qt::IntersectClip);
    drawLines(painter, style, page, object, box, sx, sy);
    painter.restore();
}

void drawPreparedPage(QPainter &painter, const PreparedReport &report, const PreparedPage &page,
                      double sx, double sy, double ox, double oy)
{
    const double originX = ox + page.settings.leftMargin * kUnitsPerMm * sx;
    const double originY = oy + page.settings.topMargin * kUnitsPerMm * sy;
    for (const PreparedBand &band : page.bands) {
        for (quint32 i = 0; i < band.objectCount; ++i) {
            const PreparedObject &object = page.objects[band.firstObject + i];
            drawPreparedObject(painter, report, page, object, band.left + object.left,
                               band.top + object.top, sx, sy, originX, originY);
        }
    }
}

} // namespace zreport
