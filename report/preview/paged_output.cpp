#include "paged_output.h"

#include "report_draw.h"
#include "report_units.h"

#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

namespace zpreview {

QPageLayout pageLayoutOf(const zreport::PageSettings &s)
{
    const bool landscape = s.paperWidth > s.paperHeight;
    const QSizeF portrait(std::min(s.paperWidth, s.paperHeight),
                          std::max(s.paperWidth, s.paperHeight));
    QPageSize size(portrait, QPageSize::Millimeter, QString(), QPageSize::FuzzyOrientationMatch);
    QPageLayout layout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    // Positions are measured from the sheet's edge; what falls into a printer's unprintable
    // margin is cut off rather than the whole page moved.
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

bool paintPages(QPagedPaintDevice &device, const zreport::PreparedReport &report,
                const std::vector<int> &pages,
                const std::function<bool(int done, int pageIndex)> &beforePage)
{
    if (pages.empty())
        return true;
    const auto &all = report.pages();
    device.setPageLayout(pageLayoutOf(all.at(size_t(pages.front())).settings));
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const zreport::PageSettings *previous = nullptr;
    for (size_t i = 0; i < pages.size(); ++i) {
        const zreport::PreparedPage &page = all.at(size_t(pages[i]));
        if (beforePage && !beforePage(int(i), pages[i]))
            break;
        if (previous) {
            if (!(page.settings == *previous))
                device.setPageLayout(pageLayoutOf(page.settings));
            device.newPage();
        }
        previous = &page.settings;
        // The device's origin is the sheet's corner (no margins in the layout), so nothing
        // of the unprintable margin shifts the page.
        const double sx = device.logicalDpiX() / zreport::kUnitsPerInch;
        const double sy = device.logicalDpiY() / zreport::kUnitsPerInch;
        zreport::drawPreparedPage(painter, report, page, sx, sy);
    }
    return painter.end();
}

} // namespace zpreview
