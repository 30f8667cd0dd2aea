#include "sheet_plan.h"

#include <algorithm>
#include <cmath>

namespace zpreview {

using zreport::PagePlacement;
using zreport::Sheet;

namespace {

// Paper sizes are stored rounded; a page this much larger than the sheet still fits on it.
constexpr double kToleranceMm = 0.5;

QSizeF paperOf(const zreport::PreparedReport &report, int index)
{
    const zreport::PageSettings &s = report.pages()[size_t(index)].settings;
    return {s.paperWidth, s.paperHeight};
}

bool isLandscape(const QSizeF &size)
{
    return size.width() > size.height();
}

QSizeF turned(const QSizeF &paper, bool landscape)
{
    const double shorter = std::min(paper.width(), paper.height());
    const double longer = std::max(paper.width(), paper.height());
    return landscape ? QSizeF(longer, shorter) : QSizeF(shorter, longer);
}

// Whole parts of `length` in pieces of `piece`, a sliver within the tolerance not counted.
int piecesOf(double length, double piece)
{
    return std::max(1, int(std::ceil((length - kToleranceMm) / piece)));
}

Sheet scaledToFill(int index, const QSizeF &page, const QSizeF &sheetPaper)
{
    const QSizeF sheet = turned(sheetPaper, isLandscape(page));
    const double scale = std::min(sheet.width() / page.width(), sheet.height() / page.height());
    const QPointF origin((sheet.width() - page.width() * scale) / 2,
                         (sheet.height() - page.height() * scale) / 2);
    return {sheet, {{index, origin, scale}}};
}

void appendParts(std::vector<Sheet> &sheets, int index, const QSizeF &page,
                 const QSizeF &sheetPaper)
{
    const QSizeF sheet = turned(sheetPaper, isLandscape(page));
    const int columns = piecesOf(page.width(), sheet.width());
    const int rows = piecesOf(page.height(), sheet.height());
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            sheets.push_back(
                {sheet, {{index, QPointF(-column * sheet.width(), -row * sheet.height()), 1}}});
}

// Puts pages[from], pages[from + 1], ... on one sheet left to right in rows while they fit;
// the placements made.
std::vector<PagePlacement> joined(const zreport::PreparedReport &report,
                                  const std::vector<int> &pages, size_t from, const QSizeF &sheet)
{
    std::vector<PagePlacement> placed;
    double x = 0, y = 0, rowHeight = 0;
    for (size_t i = from; i < pages.size(); ++i) {
        const QSizeF page = paperOf(report, pages[i]);
        if (x > 0 && x + page.width() > sheet.width() + kToleranceMm) {
            x = 0;
            y += rowHeight;
            rowHeight = 0;
        }
        if (x + page.width() > sheet.width() + kToleranceMm ||
            y + page.height() > sheet.height() + kToleranceMm)
            break;
        placed.push_back({pages[i], QPointF(x, y), 1});
        x += page.width();
        rowHeight = std::max(rowHeight, page.height());
    }
    return placed;
}

void appendJoined(std::vector<Sheet> &sheets, const zreport::PreparedReport &report,
                  const std::vector<int> &pages, const QSizeF &sheetPaper)
{
    size_t next = 0;
    while (next < pages.size()) {
        // The sheet lies the way that takes more pages; on a tie, the way its first page lies.
        const bool firstLies = isLandscape(paperOf(report, pages[next]));
        const QSizeF usual = turned(sheetPaper, firstLies);
        const QSizeF across = turned(sheetPaper, !firstLies);
        std::vector<PagePlacement> onUsual = joined(report, pages, next, usual);
        std::vector<PagePlacement> onAcross = joined(report, pages, next, across);
        const bool takeAcross = onAcross.size() > onUsual.size();
        std::vector<PagePlacement> &placed = takeAcross ? onAcross : onUsual;
        if (placed.empty()) {
            sheets.push_back(scaledToFill(pages[next], paperOf(report, pages[next]), sheetPaper));
            ++next;
            continue;
        }
        next += placed.size();
        sheets.push_back({takeAcross ? across : usual, std::move(placed)});
    }
}

} // namespace

std::vector<Sheet> planSheets(const zreport::PreparedReport &report, const std::vector<int> &pages,
                              PrintMode mode, const QSizeF &sheetPaper)
{
    if (sheetPaper.isEmpty())
        return zreport::sheetsOfOwnPaper(report, pages);
    std::vector<Sheet> sheets;
    if (mode == PrintMode::Join) {
        appendJoined(sheets, report, pages, sheetPaper);
        return sheets;
    }
    for (const int index : pages) {
        const QSizeF page = paperOf(report, index);
        switch (mode) {
        case PrintMode::Split:
            appendParts(sheets, index, page, sheetPaper);
            break;
        case PrintMode::Scale:
            sheets.push_back(scaledToFill(index, page, sheetPaper));
            break;
        case PrintMode::Default:
        case PrintMode::Join:
            sheets.push_back({turned(sheetPaper, isLandscape(page)), {{index, {}, 1}}});
            break;
        }
    }
    return sheets;
}

} // namespace zpreview
