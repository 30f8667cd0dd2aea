#pragma once

#include "design_drawing.h"

#include <QWidget>

#include <memory>
#include <vector>

// The designed page: the paper as it prints, the band names beside it, a grid, the chosen
// objects with their handles. Objects are chosen with a click (Shift adds or takes one away)
// or a rubber band, moved and sized with the mouse and the arrow keys (Shift+arrows size,
// Ctrl+arrows move by one unit instead of a grid step), on the grid while snapping is on.
namespace zdesigner {

class DesignView : public QWidget {
    Q_OBJECT
public:
    explicit DesignView(DesignDocument &document, QWidget *parent = nullptr);

    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    double gridStepMm() const { return m_gridMm; }
    void setGridStepMm(double mm);
    bool snapping() const { return m_snap; }
    void setSnapping(bool on) { m_snap = on; }

    // Where a point of the printable area (units) is in the widget, and back.
    QPointF toWidget(QPointF units) const;
    QPointF toUnits(QPointF widgetPoint) const;

    const DesignDrawing &drawing() const { return m_drawing; }

signals:
    void zoomChanged(double zoom);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    enum class Drag { None, Move, Resize, Rubber };

    void documentChanged();
    void updateSize();
    double pageHeightUnits() const; // the paper, or more when the bands need it
    QPointF paperCorner() const;
    double snap(double units) const;
    // The handle of a chosen object under a widget point: 0-7 clockwise from the top left.
    int handleAt(QPointF widgetPoint, zreport::TfrxView **view) const;
    std::vector<QRectF> handleRects(const QRectF &box) const;
    void moveBy(QPointF delta);
    void resizeTo(QPointF units);
    void finishDrag();
    void paintGrid(QPainter &painter, const QRectF &paper) const;
    void paintBands(QPainter &painter, const QRectF &paper) const;
    void paintOutlines(QPainter &painter) const;

    DesignDocument &m_document;
    DesignDrawing m_drawing;
    double m_zoom = 1.0;
    double m_gridMm = 1.0;
    bool m_snap = true;

    Drag m_drag = Drag::None;
    QPointF m_pressUnits;
    QPointF m_pressWidget;
    int m_handle = -1;
    zreport::TfrxView *m_resized = nullptr;
    std::vector<zreport::TfrxView *> m_dragged;
    std::vector<QRectF> m_startRects;
    std::vector<std::unique_ptr<zreport::TfrxView>> m_before;
    bool m_dragChanged = false;
    QRectF m_rubber; // units
};

} // namespace zdesigner
