#include "design_view.h"

#include "arrange.h"

#include "report/report_units.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace zdesigner {

using namespace zreport;

namespace {

constexpr double kGutter = 130; // pixels left of the paper for the band names
constexpr double kBorder = 12;  // pixels around the paper
constexpr double kHandle = 6;   // pixels, a handle's side

} // namespace

DesignView::DesignView(DesignDocument &document, QWidget *parent)
    : QWidget(parent), m_document(document)
{
    setObjectName(QStringLiteral("designView"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    connect(&m_document, &DesignDocument::changed, this, &DesignView::documentChanged);
    connect(&m_document, &DesignDocument::selectionChanged, this, qOverload<>(&QWidget::update));
    documentChanged();
}

void DesignView::setZoom(double zoom)
{
    zoom = std::clamp(zoom, 0.25, 4.0);
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    updateSize();
    update();
    emit zoomChanged(m_zoom);
}

void DesignView::setGridStepMm(double mm)
{
    m_gridMm = mm;
    update();
}

void DesignView::documentChanged()
{
    m_drawing.update(m_document);
    updateSize();
    update();
}

double DesignView::pageHeightUnits() const
{
    const TfrxReportPage *page = m_document.page();
    if (!page)
        return 0;
    const PageSettings &s = page->settings;
    return std::max(s.paperHeight * kUnitsPerMm,
                    (s.topMargin + s.bottomMargin) * kUnitsPerMm + m_document.bandsHeight());
}

void DesignView::updateSize()
{
    const TfrxReportPage *page = m_document.page();
    const double width = page ? page->settings.paperWidth * kUnitsPerMm : 0;
    setFixedSize(int(std::ceil(kGutter + kBorder * 2 + width * m_zoom)),
                 int(std::ceil(kBorder * 2 + pageHeightUnits() * m_zoom)));
}

QPointF DesignView::paperCorner() const
{
    return {kGutter + kBorder, kBorder};
}

QPointF DesignView::toWidget(QPointF units) const
{
    const TfrxReportPage *page = m_document.page();
    const double left = page ? page->settings.leftMargin * kUnitsPerMm : 0;
    const double top = page ? page->settings.topMargin * kUnitsPerMm : 0;
    return paperCorner() + QPointF((left + units.x()) * m_zoom, (top + units.y()) * m_zoom);
}

QPointF DesignView::toUnits(QPointF widgetPoint) const
{
    const QPointF origin = toWidget({0, 0});
    return (widgetPoint - origin) / m_zoom;
}

double DesignView::snap(double units) const
{
    return m_snap ? snapped(units, m_gridMm) : units;
}

// --- painting ------------------------------------------------------------------------------

void DesignView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0xA0, 0xA0, 0xA0));
    const TfrxReportPage *page = m_document.page();
    if (!page)
        return;
    const QRectF paper(paperCorner(),
                       QSizeF(page->settings.paperWidth * kUnitsPerMm, pageHeightUnits()) * m_zoom);
    painter.fillRect(paper, Qt::white);
    paintGrid(painter, paper);
    paintBands(painter, paper);
    m_drawing.paint(painter, m_zoom, m_zoom, paper.left(), paper.top());
    paintOutlines(painter);

    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor chosen(0x1E, 0x60, 0xD0);
    for (const TfrxView *view : m_document.selection()) {
        const QRectF box(toWidget(m_document.rectOnPage(view).topLeft()),
                         m_document.rectOnPage(view).size() * m_zoom);
        painter.setPen(QPen(chosen, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box);
        painter.setPen(chosen);
        painter.setBrush(Qt::white);
        for (const QRectF &handle : handleRects(box))
            painter.drawRect(handle);
    }
    if (m_drag == Drag::Rubber) {
        painter.setPen(QPen(chosen, 1, Qt::DotLine));
        painter.setBrush(QColor(0x1E, 0x60, 0xD0, 0x20));
        painter.drawRect(QRectF(toWidget(m_rubber.topLeft()), m_rubber.size() * m_zoom));
    }
}

void DesignView::paintGrid(QPainter &painter, const QRectF &paper) const
{
    // Dots every grid step, or every fifth when the steps would crowd each other.
    double step = m_gridMm * kUnitsPerMm * m_zoom;
    while (step > 0 && step < 6)
        step *= 5;
    if (step <= 0)
        return;
    const QPointF origin = toWidget({0, 0});
    painter.setPen(QPen(QColor(0xC8, 0xC8, 0xC8), 1));
    const double firstX = origin.x() - std::floor((origin.x() - paper.left()) / step) * step;
    const double firstY = origin.y() - std::floor((origin.y() - paper.top()) / step) * step;
    std::vector<QPointF> dots;
    for (double y = firstY; y < paper.bottom(); y += step) {
        for (double x = firstX; x < paper.right(); x += step)
            dots.emplace_back(x, y);
    }
    painter.drawPoints(dots.data(), int(dots.size()));
}

void DesignView::paintBands(QPainter &painter, const QRectF &paper) const
{
    const TfrxBand *current = m_document.currentBand();
    QFont font = painter.font();
    font.setPointSizeF(8);
    painter.setFont(font);
    for (const PlacedBand &placed : m_document.bands()) {
        const double top = toWidget({0, placed.top}).y();
        const double bottom = toWidget({0, placed.top + placed.band->height}).y();
        const QRectF label(kBorder / 2, top, kGutter - kBorder / 2, std::max(14.0, bottom - top));
        painter.fillRect(label, placed.band == current ? QColor(0xFF, 0xE8, 0xA0)
                                                       : QColor(0xE4, 0xE4, 0xE4));
        painter.setPen(Qt::black);
        painter.drawText(label.adjusted(4, 1, -2, 0), Qt::AlignLeft | Qt::AlignTop,
                         placed.band->name);
        painter.setPen(QPen(QColor(0x90, 0x90, 0x90), 1, Qt::DashLine));
        painter.drawLine(QPointF(label.left(), bottom), QPointF(paper.right(), bottom));
    }
}

void DesignView::paintOutlines(QPainter &painter) const
{
    // Objects without a frame show where they are; a picture without its image says whose it is.
    painter.setBrush(Qt::NoBrush);
    for (const TfrxView *view : m_document.allObjects()) {
        const QRectF box(toWidget(m_document.rectOnPage(view).topLeft()),
                         m_document.rectOnPage(view).size() * m_zoom);
        const auto *picture = dynamic_cast<const TfrxPictureView *>(view);
        if (picture && !m_document.report().images.contains(picture->imageName)) {
            painter.setPen(QPen(QColor(0x70, 0x70, 0x70), 1, Qt::DashLine));
            painter.drawRect(box);
            painter.drawText(box, Qt::AlignCenter | Qt::TextWordWrap,
                             picture->imageName.isEmpty() ? picture->name : picture->imageName);
        } else if (view->frame.typ == 0) {
            painter.setPen(QPen(QColor(0xB0, 0xB0, 0xB0), 1, Qt::DotLine));
            painter.drawRect(box);
        }
    }
}

std::vector<QRectF> DesignView::handleRects(const QRectF &box) const
{
    const double h = kHandle;
    const double xs[] = {box.left(), box.center().x(), box.right()};
    const double ys[] = {box.top(), box.center().y(), box.bottom()};
    // Clockwise from the top left: 0 TL, 1 T, 2 TR, 3 R, 4 BR, 5 B, 6 BL, 7 L.
    const int at[8][2] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {1, 2}, {0, 2}, {0, 1}};
    std::vector<QRectF> rects;
    for (const auto &p : at)
        rects.emplace_back(xs[p[0]] - h / 2, ys[p[1]] - h / 2, h, h);
    return rects;
}

int DesignView::handleAt(QPointF widgetPoint, TfrxView **view) const
{
    for (TfrxView *chosen : m_document.selection()) {
        const QRectF box(toWidget(m_document.rectOnPage(chosen).topLeft()),
                         m_document.rectOnPage(chosen).size() * m_zoom);
        const std::vector<QRectF> handles = handleRects(box);
        for (int i = 0; i < int(handles.size()); ++i) {
            if (handles[size_t(i)].adjusted(-2, -2, 2, 2).contains(widgetPoint)) {
                *view = chosen;
                return i;
            }
        }
    }
    return -1;
}

// --- mouse ---------------------------------------------------------------------------------

void DesignView::mousePressEvent(QMouseEvent *event)
{
    setFocus();
    if (event->button() != Qt::LeftButton || !m_document.page())
        return;
    m_pressWidget = event->position();
    m_pressUnits = toUnits(event->position());
    m_dragChanged = false;
    TfrxView *handleOwner = nullptr;
    const int handle = handleAt(event->position(), &handleOwner);
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (handle >= 0 && !shift) {
        m_drag = Drag::Resize;
        m_handle = handle;
        m_resized = handleOwner;
        m_dragged = {handleOwner};
    } else if (TfrxView *view = m_document.objectAt(m_pressUnits, 3 / m_zoom)) {
        std::vector<TfrxView *> chosen = m_document.selection();
        if (shift) {
            const auto found = std::find(chosen.begin(), chosen.end(), view);
            if (found != chosen.end())
                chosen.erase(found);
            else
                chosen.push_back(view);
            m_document.setSelection(chosen);
            m_drag = Drag::None;
            return;
        }
        if (!m_document.isSelected(view))
            m_document.setSelection({view});
        m_drag = Drag::Move;
        m_dragged = m_document.selection();
    } else {
        if (!shift)
            m_document.setSelection({});
        if (TfrxBand *band = m_document.bandAt(m_pressUnits.y()))
            m_document.setCurrentBand(band);
        m_drag = Drag::Rubber;
        m_rubber = QRectF(m_pressUnits, QSizeF());
        return;
    }
    m_startRects.clear();
    m_before.clear();
    for (TfrxView *view : m_dragged) {
        m_startRects.push_back(m_document.rectOnPage(view));
        m_before.push_back(cloneView(*view));
    }
}

void DesignView::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF units = toUnits(event->position());
    switch (m_drag) {
    case Drag::Move:
        // A few pixels of a click's tremble move nothing.
        if (!m_dragChanged && (event->position() - m_pressWidget).manhattanLength() < 3)
            return;
        moveBy(units - m_pressUnits);
        break;
    case Drag::Resize:
        resizeTo(units);
        break;
    case Drag::Rubber:
        m_rubber = QRectF(m_pressUnits, units).normalized();
        update();
        break;
    case Drag::None:
        break;
    }
}

void DesignView::moveBy(QPointF delta)
{
    // The first object lands on the grid of its band; the others keep their places beside it.
    const QRectF &anchor = m_startRects.front();
    const double bandTop = m_document.bandTop(DesignDocument::bandOf(m_dragged.front()));
    const double dx = snap(anchor.left() + delta.x()) - anchor.left();
    const double dy = snap(anchor.top() - bandTop + delta.y()) + bandTop - anchor.top();
    for (size_t i = 0; i < m_dragged.size(); ++i)
        m_document.setRectOnPage(m_dragged[i], m_startRects[i].translated(dx, dy));
    m_dragChanged = true;
    documentChanged();
}

void DesignView::resizeTo(QPointF units)
{
    QRectF box = m_startRects.front();
    const double bandTop = m_document.bandTop(DesignDocument::bandOf(m_resized));
    const double x = snap(units.x());
    const double y = snap(units.y() - bandTop) + bandTop;
    const bool left = m_handle == 0 || m_handle == 6 || m_handle == 7;
    const bool right = m_handle >= 2 && m_handle <= 4;
    const bool top = m_handle <= 2;
    const bool bottom = m_handle >= 4 && m_handle <= 6;
    if (left)
        box.setLeft(std::min(x, box.right()));
    if (right)
        box.setRight(std::max(x, box.left()));
    if (top)
        box.setTop(std::min(y, box.bottom()));
    if (bottom)
        box.setBottom(std::max(y, box.top()));
    m_document.setRectOnPage(m_resized, box);
    m_dragChanged = true;
    documentChanged();
}

void DesignView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    finishDrag();
}

void DesignView::finishDrag()
{
    const Drag drag = m_drag;
    m_drag = Drag::None;
    if (drag == Drag::Rubber) {
        std::vector<TfrxView *> chosen = m_document.selection();
        for (TfrxView *view : m_document.objectsIn(m_rubber)) {
            if (!m_document.isSelected(view))
                chosen.push_back(view);
        }
        m_document.setSelection(chosen);
        update();
        return;
    }
    if ((drag == Drag::Move || drag == Drag::Resize) && m_dragChanged) {
        bool moved = false;
        for (size_t i = 0; i < m_dragged.size(); ++i)
            moved = moved || m_document.rectOnPage(m_dragged[i]) != m_startRects[i];
        if (moved && drag == Drag::Resize) {
            m_document.recordChange(m_dragged, std::move(m_before), QStringLiteral("Размер"));
        } else if (moved) {
            // One step to undo: the move and the bands the objects were dropped into.
            m_document.undoStack().beginMacro(QStringLiteral("Перемещение"));
            m_document.recordChange(m_dragged, std::move(m_before), QStringLiteral("Перемещение"));
            m_document.moveToBandsUnder(m_dragged);
            m_document.undoStack().endMacro();
        }
    }
    m_before.clear();
    m_dragged.clear();
}

// --- keys and wheel ------------------------------------------------------------------------

void DesignView::keyPressEvent(QKeyEvent *event)
{
    int dx = 0, dy = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -1;
        break;
    case Qt::Key_Right:
        dx = 1;
        break;
    case Qt::Key_Up:
        dy = -1;
        break;
    case Qt::Key_Down:
        dy = 1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (m_document.selection().empty())
        return;
    const bool fine = event->modifiers() & Qt::ControlModifier;
    const double step = fine || !m_snap ? 1.0 : m_gridMm * kUnitsPerMm;
    const bool resizing = event->modifiers() & Qt::ShiftModifier;
    const bool onGrid = !fine && m_snap;
    auto along = [&](double value, int direction) {
        return onGrid ? snapped(value + direction * step, m_gridMm) : value + direction * step;
    };
    if (resizing) {
        m_document.changeObjects(
            m_document.selection(), QStringLiteral("Размер"),
            [&](TfrxView &view) {
                if (dx)
                    view.width = std::max(0.0, along(view.left + view.width, dx) - view.left);
                if (dy)
                    view.height = std::max(0.0, along(view.top + view.height, dy) - view.top);
            },
            QStringLiteral("keys-size"));
    } else {
        m_document.changeObjects(
            m_document.selection(), QStringLiteral("Перемещение"),
            [&](TfrxView &view) {
                if (dx)
                    view.left = along(view.left, dx);
                if (dy)
                    view.top = along(view.top, dy);
            },
            QStringLiteral("keys-move"));
    }
}

void DesignView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QWidget::wheelEvent(event);
        return;
    }
    setZoom(m_zoom * (event->angleDelta().y() > 0 ? 1.25 : 0.8));
    event->accept();
}

} // namespace zdesigner
