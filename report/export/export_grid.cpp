#include "export_grid.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <map>

namespace zexport {

namespace {

// Edges closer than this (units, about 0.5 mm) are one edge.
constexpr double kSnap = 2.0;

struct Placed {
    double left, top, right, bottom;
    const zreport::PreparedObject *object;
};

// Calls visit(object, box) for each object of the page, the box in units from the sheet's
// left edge and the first page's top.
template <typename Visit>
void forEachObject(const zreport::PreparedPage &page, double offsetY, Visit visit)
{
    const double ox = page.settings.leftMargin * 3.77953;
    const double oy = page.settings.topMargin * 3.77953 + offsetY;
    for (const zreport::PreparedBand &band : page.bands) {
        for (quint32 i = 0; i < band.objectCount; ++i) {
            const zreport::PreparedObject &o = page.objects[band.firstObject + i];
            visit(o, QRectF(ox + band.left + o.left, oy + band.top + o.top, o.width, o.height));
        }
    }
}

std::vector<Placed> placedObjects(const zreport::PreparedPage &page, double offsetY)
{
    std::vector<Placed> out;
    forEachObject(page, offsetY, [&](const zreport::PreparedObject &o, const QRectF &box) {
        if (!o.text.trimmed().isEmpty() && o.width > 0 && o.height > 0)
            out.push_back({box.left(), box.top(), box.left() + o.width, box.top() + o.height, &o});
    });
    return out;
}

struct PlacedPicture {
    QRectF area; // units from the sheet's left edge and the first page's top
    quint32 image;
};

std::vector<PlacedPicture> placedPictures(const zreport::PreparedReport &report,
                                          const zreport::PreparedPage &page, double offsetY)
{
    std::vector<PlacedPicture> out;
    forEachObject(page, offsetY, [&](const zreport::PreparedObject &o, const QRectF &box) {
        if (o.image < 0 || size_t(o.image) >= report.images().size())
            return;
        const QRectF area = zreport::pictureArea(box, o, report.images()[size_t(o.image)]);
        if (!area.isEmpty())
            out.push_back({area, quint32(o.image)});
    });
    return out;
}

std::vector<double> snapped(std::vector<double> edges)
{
    std::sort(edges.begin(), edges.end());
    std::vector<double> out;
    for (double e : edges)
        if (out.empty() || e - out.back() > kSnap)
            out.push_back(e);
    return out;
}

int edgeIndex(const std::vector<double> &edges, double value)
{
    auto it = std::lower_bound(edges.begin(), edges.end(), value - kSnap);
    return int(std::min<size_t>(size_t(it - edges.begin()), edges.size() - 1));
}

// The column or row (between edges) that holds `value`; the first or last one outside them.
int spanIndex(const std::vector<double> &edges, double value)
{
    const auto it = std::upper_bound(edges.begin(), edges.end(), value);
    const int index = int(it - edges.begin()) - 1;
    return std::clamp(index, 0, int(edges.size()) - 2);
}

// The cell that covers the place, -1 when none does. A cell is a rectangle of places, so its
// first place lies up and to the left of the place through places it covers.
int cellCovering(const ExportGrid &grid, int row, int column)
{
    for (int r = row; r >= 0 && grid.at(r, column) != -1; --r) {
        for (int c = column; c >= 0 && grid.at(r, c) != -1; --c) {
            const int k = grid.at(r, c);
            if (k < 0)
                continue;
            const GridCell &cell = grid.cells[size_t(k)];
            if (row < cell.row + cell.rowSpan && column < cell.column + cell.columnSpan)
                return k;
            break; // a cell of its own starts here: the place's cell cannot reach past it
        }
    }
    return -1;
}

std::pair<int, int> placeOf(const GridPicture &picture)
{
    return {picture.row, picture.column};
}

std::pair<int, int> placeOf(const std::pair<int, int> &place)
{
    return place;
}

} // namespace

ExportGrid exportGrid(const zreport::PreparedReport &report, const std::vector<int> &pages)
{
    ExportGrid grid;
    std::vector<Placed> all;
    std::vector<PlacedPicture> pictures;
    std::vector<double> xs{0}, ys;
    std::vector<double> pageTops;
    double offsetY = 0;
    for (int index : pages) {
        const zreport::PreparedPage &page = report.pages()[size_t(index)];
        pageTops.push_back(offsetY);
        ys.push_back(offsetY);
        for (const PlacedPicture &p : placedPictures(report, page, offsetY))
            pictures.push_back(p);
        for (const Placed &p : placedObjects(page, offsetY)) {
            all.push_back(p);
            xs.push_back(p.left);
            xs.push_back(p.right);
            ys.push_back(p.top);
            ys.push_back(p.bottom);
        }
        offsetY += page.settings.paperHeight * 3.77953;
    }
    ys.push_back(offsetY);
    const std::vector<double> columns = snapped(std::move(xs));
    const std::vector<double> rows = snapped(std::move(ys));
    if (columns.size() < 2 || rows.size() < 2)
        return grid;
    for (size_t i = 0; i + 1 < columns.size(); ++i)
        grid.columnWidths.push_back(columns[i + 1] - columns[i]);
    for (size_t i = 0; i + 1 < rows.size(); ++i)
        grid.rowHeights.push_back(rows[i + 1] - rows[i]);
    for (double top : pageTops)
        grid.pageStartRows.push_back(edgeIndex(rows, top));

    const int columnCount = int(grid.columnWidths.size());
    const int rowCount = int(grid.rowHeights.size());
    grid.starts.assign(size_t(columnCount) * size_t(rowCount), -1);
    std::stable_sort(all.begin(), all.end(), [](const Placed &a, const Placed &b) {
        return a.top != b.top ? a.top < b.top : a.left < b.left;
    });
    for (const Placed &p : all) {
        const int c0 = std::min(edgeIndex(columns, p.left), columnCount - 1);
        const int r0 = std::min(edgeIndex(rows, p.top), rowCount - 1);
        const int c1 = std::max(c0 + 1, edgeIndex(columns, p.right));
        const int r1 = std::max(r0 + 1, edgeIndex(rows, p.bottom));
        const int existing = grid.at(r0, c0);
        if (existing == -2 || existing >= 0) {
            // An overlapping object adds its text to the cell that holds the place.
            const int owner = cellCovering(grid, r0, c0);
            if (owner >= 0)
                grid.cells[size_t(owner)].text += QLatin1Char(' ') + p.object->text;
            continue;
        }
        // The span shrinks to the free places to the right and below.
        int right = c0 + 1;
        while (right < std::min(c1, columnCount) && grid.at(r0, right) == -1)
            ++right;
        int bottom = r0 + 1;
        for (; bottom < std::min(r1, rowCount); ++bottom) {
            bool free = true;
            for (int c = c0; c < right && free; ++c)
                free = grid.at(bottom, c) == -1;
            if (!free)
                break;
        }
        const int cellIndex = int(grid.cells.size());
        grid.cells.push_back(
            {r0, c0, bottom - r0, right - c0, p.object->text, &report.style(p.object->style)});
        for (int r = r0; r < bottom; ++r)
            for (int c = c0; c < right; ++c)
                grid.starts[size_t(r) * size_t(columnCount) + size_t(c)] = -2;
        grid.starts[size_t(r0) * size_t(columnCount) + size_t(c0)] = cellIndex;
    }
    std::stable_sort(grid.cells.begin(), grid.cells.end(),
                     [](const GridCell &a, const GridCell &b) {
                         return a.row != b.row ? a.row < b.row : a.column < b.column;
                     });
    for (size_t k = 0; k < grid.cells.size(); ++k)
        grid.starts[size_t(grid.cells[k].row) * size_t(columnCount) +
                    size_t(grid.cells[k].column)] = int(k);
    for (const PlacedPicture &p : pictures) {
        int row = spanIndex(rows, p.area.top());
        int column = spanIndex(columns, p.area.left());
        const int owner = cellCovering(grid, row, column);
        if (owner >= 0) {
            row = grid.cells[size_t(owner)].row;
            column = grid.cells[size_t(owner)].column;
        }
        grid.pictures.push_back({row, column, p.area.left() - columns[size_t(column)],
                                 p.area.top() - rows[size_t(row)], p.area.width(), p.area.height(),
                                 p.image});
    }
    return grid;
}

std::vector<const GridPicture *> picturesAt(const ExportGrid &grid, int row, int column)
{
    const auto [from, to] =
        std::equal_range(grid.pictures.begin(), grid.pictures.end(), std::pair{row, column},
                         [](const auto &a, const auto &b) { return placeOf(a) < placeOf(b); });
    std::vector<const GridPicture *> out;
    for (auto it = from; it != to; ++it)
        out.push_back(&*it);
    return out;
}

std::vector<RowPiece> rowPieces(const ExportGrid &grid, int row)
{
    std::vector<RowPiece> pieces;
    const int columns = int(grid.columnWidths.size());
    for (int c = 0; c < columns;) {
        int owner = grid.at(row, c);
        const bool first = owner >= 0;
        if (owner == -2) {
            for (int above = row - 1; above >= 0 && owner < 0; --above) {
                const int at = grid.at(above, c);
                if (at >= 0 && grid.cells[size_t(at)].column == c)
                    owner = at;
                else if (at != -2)
                    break;
            }
            if (owner < 0) { // inside a wider cell that is already placed
                ++c;
                continue;
            }
        }
        const int span =
            owner >= 0 ? std::min(grid.cells[size_t(owner)].columnSpan, columns - c) : 1;
        pieces.push_back({c, span, owner, first});
        c += span;
    }
    return pieces;
}

std::vector<std::vector<LineItem>> pageTextLines(const zreport::PreparedReport &report,
                                                 int pageIndex)
{
    const zreport::PreparedPage &page = report.pages()[size_t(pageIndex)];
    std::vector<Placed> placed = placedObjects(page, 0);
    std::stable_sort(placed.begin(), placed.end(), [](const Placed &a, const Placed &b) {
        return a.top != b.top ? a.top < b.top : a.left < b.left;
    });
    std::vector<std::vector<LineItem>> lines;
    double lineTop = -1e9;
    std::vector<LineItem> current;
    const auto flush = [&] {
        if (current.empty())
            return;
        std::stable_sort(current.begin(), current.end(),
                         [](const LineItem &a, const LineItem &b) { return a.left < b.left; });
        lines.push_back(std::move(current));
        current.clear();
    };
    for (const Placed &p : placed) {
        if (p.top - lineTop > kSnap) {
            flush();
            lineTop = p.top;
        }
        QString text = p.object->text;
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        current.push_back({p.left, text.trimmed()});
    }
    flush();
    return lines;
}

void forEachPlace(const ExportGrid &grid, int row,
                  const std::function<void(int column, Place place, const GridCell *cell)> &visit)
{
    for (int column = 0; column < int(grid.columnWidths.size()); ++column) {
        const int at = grid.at(row, column);
        if (at >= 0)
            visit(column, Place::Cell, &grid.cells[size_t(at)]);
        else
            visit(column, at == -1 ? Place::Empty : Place::Covered, nullptr);
    }
}

} // namespace zexport
