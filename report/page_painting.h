#pragma once

#include "prepared_report.h"

#include <QString>

#include <functional>
#include <vector>

class QPagedPaintDevice;

// Painting prepared pages on a paged device: the PDF writer, a printer, and every export that
// draws through QPainter. Each sheet gets the paper size and orientation of its page and is
// drawn at the device's resolution by the same code that paints the preview and images.
namespace zreport {

struct PagePainting {
    // Indexes of the pages to paint, in this order (repeat an index for copies); empty: all.
    std::vector<int> pages;
    // Called before a sheet is painted with its position in `pages` and the page's index;
    // returning false stops the job (a cancelled print), and paintPreparedPages returns false
    // with an empty error.
    std::function<bool(int sheet, int pageIndex)> beforePage;
};

// Opens a painter on the device, paints the chosen pages one per sheet and closes it. The
// sheet's top-left corner is the paper's corner whatever margins the device keeps (a printer's
// unprintable border only clips). False with a message in `error` when the device cannot be
// painted on or a page index is out of range.
bool paintPreparedPages(const PreparedReport &report, QPagedPaintDevice &device,
                        const PagePainting &painting = {}, QString *error = nullptr);

} // namespace zreport
