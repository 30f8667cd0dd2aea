#pragma once

#include "prepared_report.h"

#include <QPageLayout>

#include <functional>
#include <vector>

class QPagedPaintDevice;
class QPainter;

// Prepared pages on a paged device (printer, PDF): each sheet at its page's paper size and
// orientation, positions measured from the sheet's edge.
namespace zpreview {

QPageLayout pageLayoutOf(const zreport::PageSettings &settings);

// Paints `pages` (indexes into report.pages()) in order; the device must not be painted on
// yet. `beforePage` may stop the output by returning false (the pages so far stay). False when
// the device could not be painted on.
bool paintPages(QPagedPaintDevice &device, const zreport::PreparedReport &report,
                const std::vector<int> &pages,
                const std::function<bool(int done, int pageIndex)> &beforePage = {});

} // namespace zpreview
