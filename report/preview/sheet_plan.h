#pragma once

#include "report/page_painting.h"
#include "report/prepared_report.h"

#include <QSizeF>

#include <vector>

// Which sheet of paper each printed page goes on, by the print dialog's "Режим печати".
namespace zpreview {

enum class PrintMode { Default, Split, Join, Scale };

// The pages (indexes, in printing order) on sheets of `sheetPaper` (millimetres, either way
// up; empty: each page on its own paper). Every sheet is turned the way that suits its pages.
// - Default: each page unscaled on its own sheet, at the sheet's corner.
// - Split: a page larger than the sheet is cut into sheet-sized parts, row by row.
// - Join: pages follow one another left to right and in rows down the sheet while they fit.
// - Scale: each page enlarged or reduced to fill its sheet, centred.
// A page that cannot go on the sheet whole in the join mode is reduced to fit it alone.
std::vector<zreport::Sheet> planSheets(const zreport::PreparedReport &report,
                                       const std::vector<int> &pages, PrintMode mode,
                                       const QSizeF &sheetPaper);

} // namespace zpreview
