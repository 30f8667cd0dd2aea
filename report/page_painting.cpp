#include "page_painting.h"

#include "report_draw.h"
#include "report_units.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

namespace zreport {

namespace {

// The device's layout with the sheet's paper and orientation, its margins and mode kept.
QPageLayout layoutFor(const QPageLayout &current, const QSizeF &paper)
{
    const bool landscape = paper.width() > paper.height();
    const QSizeF portraitSize(std::min(paper.width(), paper.height()),
                              std::max(paper.width(), paper.height()));
    QPageLayout layout = current;
    layout.setPageSize(QPageSize(portraitSize, QPageSize::Millimeter));
    layout.setOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    return layout;
}

void applyLayout(QPagedPaintDevice &device, const QSizeF &paper)
{
    const QPageLayout wanted = layoutFor(device.pageLayout(), paper);
    if (!wanted.isEquivalentTo(device.pageLayout()))
        device.setPageLayout(wanted);
}

} // namespace

std::vector<Sheet> sheetsOfOwnPaper(const PreparedReport &report, const std::vector<int> &pages)
{
    std::vector<Sheet> sheets;
    sheets.reserve(pages.size());
    for (const int index : pages) {
        const bool known = index >= 0 && index < report.pageCount();
        const PageSettings &s = known ? report.pages()[size_t(index)].settings : PageSettings();
        sheets.push_back({QSizeF(s.paperWidth, s.paperHeight), {{index, {}, 1}}});
    }
    return sheets;
}

bool paintPreparedPages(const PreparedReport &report, QPagedPaintDevice &device,
                        const PagePainting &painting, QString *error)
{
    const auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    std::vector<Sheet> sheets = painting.sheets;
    if (sheets.empty()) {
        std::vector<int> pages = painting.pages;
        if (pages.empty()) {
            pages.resize(size_t(report.pageCount()));
            for (int i = 0; i < report.pageCount(); ++i)
                pages[size_t(i)] = i;
        }
        sheets = sheetsOfOwnPaper(report, pages);
    }
    for (const Sheet &sheet : sheets) {
        for (const PagePlacement &placed : sheet.pages) {
            if (placed.pageIndex < 0 || placed.pageIndex >= report.pageCount())
                return fail(QStringLiteral("Нет страницы %1 в отчёте из %2 страниц")
                                .arg(placed.pageIndex + 1)
                                .arg(report.pageCount()));
        }
    }
    if (!sheets.empty())
        applyLayout(device, sheets.front().paper);

    QPainter painter;
    if (!painter.begin(&device))
        return fail(QStringLiteral("Не удалось начать печать"));
    const double dotsPerMmX = device.logicalDpiX() / 25.4;
    const double dotsPerMmY = device.logicalDpiY() / 25.4;
    const double sx = device.logicalDpiX() / kUnitsPerInch;
    const double sy = device.logicalDpiY() / kUnitsPerInch;
    for (size_t n = 0; n < sheets.size(); ++n) {
        const Sheet &sheet = sheets[n];
        const int firstPage = sheet.pages.empty() ? -1 : sheet.pages.front().pageIndex;
        if (painting.beforePage && !painting.beforePage(int(n), firstPage)) {
            painter.end();
            return fail(QString());
        }
        if (n > 0) {
            applyLayout(device, sheet.paper);
            if (!device.newPage()) {
                painter.end();
                return fail(QStringLiteral("Не удалось начать новую страницу"));
            }
        }
        // The painter starts at the corner of the device's paint rectangle; sheets are drawn
        // from the paper's corner.
        const QRectF paint = device.pageLayout().paintRect(QPageLayout::Millimeter);
        // Pages sharing a sheet must not draw over each other.
        const bool shared = sheet.pages.size() > 1;
        for (const PagePlacement &placed : sheet.pages) {
            const PreparedPage &page = report.pages()[size_t(placed.pageIndex)];
            const double x = (placed.origin.x() - paint.left()) * dotsPerMmX;
            const double y = (placed.origin.y() - paint.top()) * dotsPerMmY;
            if (shared) {
                painter.save();
                painter.setClipRect(QRectF(x, y,
                                           page.settings.paperWidth * placed.scale * dotsPerMmX,
                                           page.settings.paperHeight * placed.scale * dotsPerMmY));
            }
            drawPreparedPage(painter, report, page, sx * placed.scale, sy * placed.scale, x, y);
            if (shared)
                painter.restore();
        }
    }
    if (!painter.end())
        return fail(QStringLiteral("Не удалось завершить печать"));
    return true;
}

} // namespace zreport
