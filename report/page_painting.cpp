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

// The device's layout with the page's paper and orientation, its margins and mode kept.
QPageLayout layoutFor(const QPageLayout &current, const PageSettings &s)
{
    const bool landscape = s.paperWidth > s.paperHeight;
    const QSizeF portraitSize(std::min(s.paperWidth, s.paperHeight),
                              std::max(s.paperWidth, s.paperHeight));
    QPageLayout layout = current;
    layout.setPageSize(QPageSize(portraitSize, QPageSize::Millimeter));
    layout.setOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    return layout;
}

void applyLayout(QPagedPaintDevice &device, const PageSettings &s)
{
    const QPageLayout wanted = layoutFor(device.pageLayout(), s);
    if (!wanted.isEquivalentTo(device.pageLayout()))
        device.setPageLayout(wanted);
}

} // namespace

bool paintPreparedPages(const PreparedReport &report, QPagedPaintDevice &device,
                        const PagePainting &painting, QString *error)
{
    const auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    std::vector<int> pages = painting.pages;
    if (pages.empty()) {
        pages.resize(size_t(report.pageCount()));
        for (int i = 0; i < report.pageCount(); ++i)
            pages[size_t(i)] = i;
    }
    for (const int index : pages) {
        if (index < 0 || index >= report.pageCount())
            return fail(QStringLiteral("Нет страницы %1 в отчёте из %2 страниц")
                            .arg(index + 1)
                            .arg(report.pageCount()));
    }
    if (!pages.empty())
        applyLayout(device, report.pages()[size_t(pages.front())].settings);

    QPainter painter;
    if (!painter.begin(&device))
        return fail(QStringLiteral("Не удалось начать печать"));
    const double sx = device.logicalDpiX() / kUnitsPerInch;
    const double sy = device.logicalDpiY() / kUnitsPerInch;
    for (size_t sheet = 0; sheet < pages.size(); ++sheet) {
        const int index = pages[sheet];
        if (painting.beforePage && !painting.beforePage(int(sheet), index)) {
            painter.end();
            return fail(QString());
        }
        const PreparedPage &page = report.pages()[size_t(index)];
        if (sheet > 0) {
            applyLayout(device, page.settings);
            if (!device.newPage()) {
                painter.end();
                return fail(QStringLiteral("Не удалось начать новую страницу"));
            }
        }
        // The painter starts at the corner of the device's paint rectangle; sheets are drawn
        // from the paper's corner.
        const QRectF paint = device.pageLayout().paintRect(QPageLayout::Inch);
        drawPreparedPage(painter, report, page, sx, sy, -paint.left() * device.logicalDpiX(),
                         -paint.top() * device.logicalDpiY());
    }
    if (!painter.end())
        return fail(QStringLiteral("Не удалось завершить печать"));
    return true;
}

} // namespace zreport
