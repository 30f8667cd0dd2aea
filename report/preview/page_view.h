#pragma once

#include "report/prepared_report.h"

#include <QAbstractScrollArea>
#include <QRectF>

#include <vector>

// The page area: prepared pages laid out in centred rows on grey, the current one framed.
namespace zpreview {

class PageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum class ZoomMode { Default, WholePage, PageWidth };

    explicit PageView(QWidget *parent = nullptr);

    // The pages shown; `count` of them (the run may still be adding more).
    void setReport(const zreport::PreparedReport *report, int count);
    int pageCount() const { return m_count; }

    int currentPage() const { return m_current; } // from 1; 0 when there are no pages
    // Limited to 1 … page count; scrolls the page into view.
    void goToPage(int page);

    double zoom() const { return m_zoom; }
    ZoomMode zoomMode() const { return m_mode; }
    // Below 0.25 becomes 0.25; switches the mode to Default.
    void setZoom(double zoom);
    void setZoomMode(ZoomMode mode);
    // 0.25 unless set (the thumbnails show pages at 0.1).
    void setMinimumZoom(double zoom) { m_minZoom = zoom; }

    // Marks an object of a page (from 1) as found and scrolls it into view.
    void showFound(int page, const QRectF &unitsRect);

    // Page rectangles in content pixels (for tests and the thumbnails).
    const std::vector<QRect> &pageRects() const { return m_rects; }
    // The page under a point of the viewport, from 1; 0 when none.
    int pageAt(const QPoint &viewportPoint) const;

    // Keys of the page area are handled; Ctrl+P/S/O/F and F3 become signals, so the window
    // decides whether they apply.
signals:
    void currentPageChanged(int page);
    void zoomChanged(double zoom);
    void printRequested();
    void saveRequested();
    void openRequested();
    void findRequested();
    void findNextRequested();
    void fullScreenToggled();
    void pageClicked(int page, QPointF unitsInPage);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void relayout();
    void applyZoomMode();
    QSizeF pagePixels(int index) const;
    int availableWidth() const;
    void scrollBy(int dx, int dy);

    const zreport::PreparedReport *m_report = nullptr;
    int m_count = 0;
    int m_current = 0;
    double m_zoom = 1.0;
    double m_minZoom = 0.25;
    ZoomMode m_mode = ZoomMode::Default;
    std::vector<QRect> m_rects;
    QSize m_contentSize;
    int m_tallest = 0;
    int m_foundPage = 0;
    QRectF m_foundRect;
};

} // namespace zpreview
