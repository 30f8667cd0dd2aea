#include "page_canvas.h"

#include "prepared_report.h"
#include "text_metrics.h"

#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>

namespace zreport {

PainterCanvas::PainterCanvas(QPainter &painter)
    : m_painter(painter),
      m_rasterDevice(painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster)
{
    m_painter.save();
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(Qt::NoBrush);
}

PainterCanvas::~PainterCanvas()
{
    m_painter.restore();
}

void PainterCanvas::fillRects(const QColor &color, const QRect *rects, size_t count)
{
    if (m_pen != PenState::None) {
        m_painter.setPen(Qt::NoPen);
        m_pen = PenState::None;
    }
    if (m_brushColor != color) {
        m_painter.setBrush(color);
        m_brushColor = color;
    }
    for (size_t i = 0; i < count; ++i)
        m_painter.drawRects(&rects[i], 1);
}

void PainterCanvas::fillRect(const QRectF &rect, const QColor &color)
{
    m_painter.fillRect(rect, color);
}

void PainterCanvas::dottedLine(const QColor &color, int thickness, QPointF from, QPointF to)
{
    QPen pen(color, thickness, Qt::CustomDashLine, Qt::FlatCap);
    pen.setDashPattern({1, 1});
    m_painter.setPen(pen);
    m_pen = PenState::Other;
    m_painter.drawLine(from, to);
}

void PainterCanvas::glyphs(const FontFace *, const DeviceFont &font, int, const QColor &color,
                           const QList<quint32> &glyphs, const QList<QPointF> &positions)
{
    usePenColor(color);
    QGlyphRun run;
    run.setRawFont(font.raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    m_painter.drawGlyphRun(QPointF(0, 0), run);
}

void PainterCanvas::image(const QRectF &target, const PreparedImage &image)
{
    // A scanned stamp scaled down without smoothing loses its thin lines.
    const bool smooth = m_painter.testRenderHint(QPainter::SmoothPixmapTransform);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    m_painter.drawImage(target, image.image);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}

void PainterCanvas::beginClip(const QRect &rect)
{
    m_clipPen = m_pen;
    m_clipPenColor = m_penColor;
    m_painter.save();
    m_painter.setClipRect(rect, Qt::IntersectClip);
}

void PainterCanvas::endClip()
{
    m_painter.restore();
    m_pen = m_clipPen;
    m_penColor = m_clipPenColor;
}

void PainterCanvas::usePenColor(const QColor &color)
{
    if (m_pen == PenState::Plain && m_penColor == color)
        return;
    m_painter.setPen(color);
    m_pen = PenState::Plain;
    m_penColor = color;
}

} // namespace zreport
