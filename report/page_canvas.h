#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRect>

class QPainter;

// What the drawing of prepared pages puts on a device: filled rectangles, dotted frame lines,
// glyph runs and clipping, in device coordinates (y down). The drawing decides what goes where
// once; a canvas only turns that into its own output (QPainter for the screen, images and
// printers, a PDF page stream for the PDF file).
namespace zreport {

class FontFace;
struct DeviceFont;
struct PreparedImage;

class PageCanvas {
public:
    virtual ~PageCanvas() = default;

    // Solid rectangles of one colour, each its own fill: viewers snap a lone thin rectangle to
    // the pixel grid, which keeps frame lines crisp.
    virtual void fillRects(const QColor &color, const QRect *rects, size_t count) = 0;
    virtual void fillRect(const QRectF &rect, const QColor &color) = 0;
    // A line of square dots `thickness` long with gaps as long, flat ends, centred on the line.
    virtual void dottedLine(const QColor &color, int thickness, QPointF from, QPointF to) = 0;
    // Glyphs of `face` at `pixels` device pixels, each at its baseline position.
    virtual void glyphs(const FontFace *face, const DeviceFont &font, int pixels,
                        const QColor &color, const QList<quint32> &glyphs,
                        const QList<QPointF> &positions) = 0;
    // The image scaled to fill `target`, its transparent parts showing what lies below.
    virtual void image(const QRectF &target, const PreparedImage &image) = 0;
    // Everything until endClip() is clipped to `rect` as well.
    virtual void beginClip(const QRect &rect) = 0;
    virtual void endClip() = 0;
    // Whether a run of glyphs this large is best drawn at once (the raster engine fills large
    // glyphs as outlines, and one outline of a whole page's text costs more than its parts).
    virtual bool drawsLargeTextAtOnce() const { return false; }
};

// A canvas on an active painter; the painter's state is restored when the canvas goes. The
// pen and brush are changed only when a call needs other ones, since every change costs a
// vector device (PDF, printer) a restated graphics state.
class PainterCanvas final : public PageCanvas {
public:
    explicit PainterCanvas(QPainter &painter);
    ~PainterCanvas() override;
    PainterCanvas(const PainterCanvas &) = delete;
    PainterCanvas &operator=(const PainterCanvas &) = delete;

    void fillRects(const QColor &color, const QRect *rects, size_t count) override;
    void fillRect(const QRectF &rect, const QColor &color) override;
    void dottedLine(const QColor &color, int thickness, QPointF from, QPointF to) override;
    void glyphs(const FontFace *face, const DeviceFont &font, int pixels, const QColor &color,
                const QList<quint32> &glyphs, const QList<QPointF> &positions) override;
    void image(const QRectF &target, const PreparedImage &image) override;
    void beginClip(const QRect &rect) override;
    void endClip() override;
    bool drawsLargeTextAtOnce() const override { return m_rasterDevice; }

private:
    void usePenColor(const QColor &color);

    QPainter &m_painter;
    // What the painter holds: no pen, a plain pen of m_penColor, or another (dotted) pen.
    enum class PenState { None, Plain, Other } m_pen = PenState::None;
    QColor m_penColor;
    QColor m_brushColor; // invalid: no brush
    const bool m_rasterDevice;
    // The pen as it was before beginClip(), which the painter's restore brings back.
    PenState m_clipPen = PenState::None;
    QColor m_clipPenColor;
};

} // namespace zreport
