#pragma once

#include "prepared_report.h"

#include <QPointF>
#include <QSizeF>
#include <QString>

#include <functional>
#include <vector>

class QPagedPaintDevice;

// Painting prepared pages on a paged device: the PDF writer, a printer, and every export that
// draws through QPainter. Each sheet gets the paper size and orientation of its page and is
// drawn at the device's resolution by the same code that paints the preview and images.
namespace zreport {

// One page on a sheet: where the page's top-left corner lands, in millimetres from the sheet's
// corner (outside the sheet when only a part of a large page is on it), and its scale.
struct PagePlacement {
    int pageIndex = 0;
    QPointF origin;
    double scale = 1;
    bool operator==(const PagePlacement &) const = default;
};

// One sheet of paper, its size in millimetres as it lies (wider than high: landscape), and
// the pages on it.
struct Sheet {
    QSizeF paper;
    std::vector<PagePlacement> pages;
    bool operator==(const Sheet &) const = default;
};

struct PagePainting {
    // Indexes of the pages to paint, one per sheet of its own paper, in this order (repeat an
    // index for copies); empty: all. Not used when `sheets` are given.
    std::vector<int> pages;
    // Sheets planned otherwise: pages scaled, cut or put together on other paper.
    std::vector<Sheet> sheets;
    // Called before a sheet is painted with its position among the sheets and the index of
    // its first page; returning false stops the job (a cancelled print), and
    // paintPreparedPages returns false with an empty error.
    std::function<bool(int sheet, int pageIndex)> beforePage;
};

// Each page on a sheet of its own paper and orientation.
std::vector<Sheet> sheetsOfOwnPaper(const PreparedReport &report, const std::vector<int> &pages);

// Opens a painter on the device, paints the sheets and closes it. The sheet's top-left corner
// is the paper's corner whatever margins the device keeps (a printer's unprintable border only
// clips). False with a message in `error` when the device cannot be painted on or a page
// index is out of range.
bool paintPreparedPages(const PreparedReport &report, QPagedPaintDevice &device,
                        const PagePainting &painting = {}, QString *error = nullptr);

} // namespace zreport
