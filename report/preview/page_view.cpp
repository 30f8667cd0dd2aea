#include "page_view.h"

#include "report/report_draw.h"
#include "report/report_units.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace zpreview {

namespace {

constexpr int kGap = 10;
constexpr int kSideAllowance = 26;
constexpr double kMinWheelZoom = 0.3;

} // namespace

PageView::PageView(QWidget *parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

void PageView::setReport(const zreport::PreparedReport *report, int count)
{
    m_report = report;
    m_count = report ? std::clamp(count, 0, report->pageCount()) : 0;
    if (m_foundPage > m_count)
        m_foundPage = 0;
    const int before = m_current;
    m_current = m_count == 0 ? 0 : std::clamp(m_current, 1, m_count);
    applyZoomMode();
    relayout();
    viewport()->update();
    if (m_current != before)
        emit currentPageChanged(m_current);
}

QSizeF PageView::pagePixels(int index) const
{
    const zreport::PageSettings &s = m_report->pages()[size_t(index)].settings;
    return {s.paperWidth * zreport::kUnitsPerMm * m_zoom,
            s.paperHeight * zreport::kUnitsPerMm * m_zoom};
}

int PageView::availableWidth() const
{
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return width() - scrollBar - kSideAllowance;
}

void PageView::relayout()
{
    m_rects.assign(size_t(m_count), QRect());
    const int available = availableWidth();
    int y = kGap;
    int widest = 0;
    m_tallest = 0;
    std::vector<std::pair<int, int>> rows; // first index, past-the-end index
    for (int i = 0; i < m_count;) {
        int rowWidth = 0, rowHeight = 0, j = i;
        while (j < m_count) {
            const QSizeF size = pagePixels(j);
            const int w = int(std::lround(size.width()));
            const int next = rowWidth == 0 ? w : rowWidth + kGap + w;
            if (j > i && next > available)
                break;
            rowWidth = next;
            rowHeight = std::max(rowHeight, int(std::lround(size.height())));
            ++j;
        }
        int x = 0;
        for (int k = i; k < j; ++k) {
            const QSizeF size = pagePixels(k);
            m_rects[size_t(k)] =
                QRect(x, y, int(std::lround(size.width())), int(std::lround(size.height())));
            x += m_rects[size_t(k)].width() + kGap;
        }
        rows.emplace_back(i, j);
        widest = std::max(widest, rowWidth);
        m_tallest = std::max(m_tallest, rowHeight);
        y += rowHeight + kGap;
        i = j;
    }
    // Rows are centred in the wider of the area and the widest row.
    const int contentWidth = std::max(viewport()->width(), widest + 2 * kGap);
    for (const auto &[first, last] : rows) {
        const int rowWidth = m_rects[size_t(last - 1)].right() + 1;
        const int shift = (contentWidth - rowWidth) / 2;
        for (int k = first; k < last; ++k)
            m_rects[size_t(k)].translate(shift, 0);
    }
    m_contentSize = QSize(contentWidth, y);
    horizontalScrollBar()->setRange(0, std::max(0, contentWidth - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setRange(0, std::max(0, y - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
}

void PageView::applyZoomMode()
{
    if (m_mode == ZoomMode::Default || !m_report || m_current < 1)
        return;
    const zreport::PageSettings &s = m_report->pages()[size_t(m_current - 1)].settings;
    const double pageWidth = s.paperWidth * zreport::kUnitsPerMm;
    const double pageHeight = s.paperHeight * zreport::kUnitsPerMm;
    double zoom = availableWidth() / pageWidth;
    if (m_mode == ZoomMode::WholePage)
        zoom = std::min(zoom, (height() - kSideAllowance) / pageHeight);
    zoom = std::max(zoom, m_minZoom);
    if (zoom != m_zoom) {
        m_zoom = zoom;
        emit zoomChanged(m_zoom);
    }
}

void PageView::setZoom(double zoom)
{
    m_mode = ZoomMode::Default;
    const double z = std::max(zoom, m_minZoom);
    // Keep the current page where it was while the scale changes.
    m_zoom = z;
    relayout();
    if (m_current >= 1)
        goToPage(m_current);
    viewport()->update();
    emit zoomChanged(m_zoom);
}

void PageView::setZoomMode(ZoomMode mode)
{
    m_mode = mode;
    applyZoomMode();
    relayout();
    if (m_current >= 1)
        goToPage(m_current);
    viewport()->update();
    emit zoomChanged(m_zoom);
}

void PageView::goToPage(int page)
{
    if (m_count == 0)
        return;
    const int target = std::clamp(page, 1, m_count);
    const bool changed = target != m_current;
    m_current = target;
    const QRect &r = m_rects[size_t(target - 1)];
    verticalScrollBar()->setValue(r.top() - kGap);
    if (r.left() < horizontalScrollBar()->value() ||
        r.right() > horizontalScrollBar()->value() + viewport()->width())
        horizontalScrollBar()->setValue(r.left() - kGap);
    viewport()->update();
    if (changed)
        emit currentPageChanged(m_current);
}

void PageView::showFound(int page, const QRectF &unitsRect)
{
    if (page < 1 || page > m_count)
        return;
    m_foundPage = page;
    m_foundRect = unitsRect;
    const bool changed = page != m_current;
    m_current = page;
    const QRect &r = m_rects[size_t(page - 1)];
    const int y = r.top() + int(unitsRect.top() * m_zoom);
    const int x = r.left() + int(unitsRect.left() * m_zoom);
    // The hit comes into view 20 pixels inside the edge of the area.
    if (y < verticalScrollBar()->value() ||
        y + unitsRect.height() * m_zoom > verticalScrollBar()->value() + viewport()->height())
        verticalScrollBar()->setValue(y - 20);
    if (x < horizontalScrollBar()->value() ||
        x > horizontalScrollBar()->value() + viewport()->width())
        horizontalScrollBar()->setValue(x - 20);
    viewport()->update();
    if (changed)
        emit currentPageChanged(m_current);
}

int PageView::pageAt(const QPoint &viewportPoint) const
{
    const QPoint p =
        viewportPoint + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    for (size_t i = 0; i < m_rects.size(); ++i)
        if (m_rects[i].contains(p))
            return int(i) + 1;
    return 0;
}

void PageView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    painter.fillRect(exposed, QColor(128, 128, 128));
    if (!m_report)
        return;
    const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QRect visible = exposed.translated(scroll);
    // Rows go down the content, so the visible pages are found by their tops.
    const int tallest = m_tallest;
    auto first =
        std::lower_bound(m_rects.begin(), m_rects.end(), visible.top(),
                         [tallest](const QRect &r, int top) { return r.top() + tallest < top; });
    for (auto it = first; it != m_rects.end() && it->top() <= visible.bottom(); ++it) {
        if (!it->intersects(visible))
            continue;
        const int index = int(it - m_rects.begin());
        const QRect r = it->translated(-scroll);
        painter.fillRect(r, Qt::white);
        painter.setPen(Qt::black);
        painter.drawRect(r.adjusted(-1, -1, 0, 0));
        const zreport::PreparedPage &page = m_report->pages()[size_t(index)];
        painter.save();
        painter.setClipRect(r.intersected(exposed));
        // Only the objects that reach into the exposed part are drawn.
        const double originX = r.left() + page.settings.leftMargin * zreport::kUnitsPerMm * m_zoom;
        const double originY = r.top() + page.settings.topMargin * zreport::kUnitsPerMm * m_zoom;
        const QRectF clip = QRectF(r.intersected(exposed)).adjusted(-2, -2, 2, 2);
        for (const zreport::PreparedBand &band : page.bands) {
            for (quint32 i = 0; i < band.objectCount; ++i) {
                const zreport::PreparedObject &object = page.objects[band.firstObject + i];
                const double left = band.left + object.left, top = band.top + object.top;
                const QRectF objectRect(originX + left * m_zoom, originY + top * m_zoom,
                                        object.width * m_zoom, object.height * m_zoom);
                if (!objectRect.adjusted(-2, -2, 2, 2).intersects(clip))
                    continue;
                zreport::drawPreparedObject(painter, *m_report, page, object, left, top, m_zoom,
                                            m_zoom, originX, originY);
            }
        }
        if (m_foundPage == index + 1) {
            const QRectF found(originX + m_foundRect.left() * m_zoom,
                               originY + m_foundRect.top() * m_zoom, m_foundRect.width() * m_zoom,
                               m_foundRect.height() * m_zoom);
            painter.fillRect(found, QColor(255, 255, 0, 96));
        }
        painter.restore();
        if (index + 1 == m_current) {
            painter.setPen(QPen(QColor(32, 64, 128), 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(r).adjusted(-1, -1, 1, 1));
        }
    }
}

void PageView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    applyZoomMode();
    relayout();
}

void PageView::scrollBy(int dx, int dy)
{
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dx);
    verticalScrollBar()->setValue(verticalScrollBar()->value() + dy);
}

void PageView::keyPressEvent(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Up:
        scrollBy(0, -8);
        break;
    case Qt::Key_Down:
        scrollBy(0, 8);
        break;
    case Qt::Key_Left:
        scrollBy(-8, 0);
        break;
    case Qt::Key_Right:
        scrollBy(8, 0);
        break;
    case Qt::Key_PageUp:
        if (ctrl)
            goToPage(m_current - 1);
        else
            scrollBy(0, -300);
        break;
    case Qt::Key_PageDown:
        if (ctrl)
            goToPage(m_current + 1);
        else
            scrollBy(0, 300);
        break;
    case Qt::Key_Home:
        goToPage(1);
        break;
    case Qt::Key_End:
        goToPage(m_count);
        break;
    case Qt::Key_F3:
        emit findNextRequested();
        break;
    case Qt::Key_P:
    case Qt::Key_S:
    case Qt::Key_O:
    case Qt::Key_F:
        if (!ctrl) {
            QAbstractScrollArea::keyPressEvent(event);
            return;
        }
        if (event->key() == Qt::Key_P)
            emit printRequested();
        else if (event->key() == Qt::Key_S)
            emit saveRequested();
        else if (event->key() == Qt::Key_O)
            emit openRequested();
        else
            emit findRequested();
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void PageView::wheelEvent(QWheelEvent *event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (event->modifiers() & Qt::ControlModifier) {
        const double zoom = m_zoom + 0.1 * notches;
        if (zoom >= kMinWheelZoom)
            setZoom(zoom);
        else if (m_zoom > kMinWheelZoom)
            setZoom(kMinWheelZoom);
    } else {
        scrollBy(0, int(std::lround(-20 * notches)));
    }
    event->accept();
}

void PageView::mousePressEvent(QMouseEvent *event)
{
    const int page = pageAt(event->position().toPoint());
    if (page == 0)
        return;
    if (page != m_current) {
        m_current = page;
        viewport()->update();
        emit currentPageChanged(m_current);
    }
    const QRect r = m_rects[size_t(page - 1)].translated(-horizontalScrollBar()->value(),
                                                         -verticalScrollBar()->value());
    const zreport::PageSettings &s = m_report->pages()[size_t(page - 1)].settings;
    const QPointF inPage = (event->position() - QPointF(r.topLeft())) / m_zoom -
                           QPointF(s.leftMargin, s.topMargin) * zreport::kUnitsPerMm;
    emit pageClicked(page, inPage);
}

void PageView::mouseDoubleClickEvent(QMouseEvent *event)
{
    emit fullScreenToggled();
    event->accept();
}

} // namespace zpreview
