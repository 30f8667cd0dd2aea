#pragma once

#include "report/prepared_report.h"

#include <QString>

#include <functional>
#include <vector>

// Prepared pages as a table: the edges of the objects become column and row edges, and each
// object a cell spanning the columns and rows it covers, so that a form reads as a table in
// spreadsheet and word-processor formats. Pages follow one another downwards.
namespace zexport {

struct GridCell {
    int row = 0, column = 0, rowSpan = 1, columnSpan = 1;
    QString text;
    const zreport::TextStyle *style = nullptr;
};

// A picture laid over the table: tied to the place that holds its top-left corner (the first
// place of a cell, or an empty place), so that it stays there when a program sizes the table
// its own way; the pictures add no edges, so the table is the same with or without them.
struct GridPicture {
    int row = 0, column = 0;
    double x = 0, y = 0;          // units from that place's top-left corner
    double width = 0, height = 0; // units, the image as drawn in its box
    quint32 image = 0;            // into PreparedReport::images()
};

struct ExportGrid {
    std::vector<double> columnWidths;  // units
    std::vector<double> rowHeights;    // units
    std::vector<GridCell> cells;       // by row, then column; never overlapping
    std::vector<int> pageStartRows;    // first row of each page
    std::vector<GridPicture> pictures; // by place, then as they were placed
    // Index into cells of the cell starting at (row, column), -1 when none; -2 when the place is
    // covered by a cell starting elsewhere.
    std::vector<int> starts;
    int at(int row, int column) const
    {
        return starts[size_t(row) * columnWidths.size() + size_t(column)];
    }
};

// The places of one row as a table row of a word processor sees them: a cell starting in the
// row, the continuation of a cell from a row above (vertically merged), or an empty column.
struct RowPiece {
    int column = 0, span = 1;
    int cell = -1;      // index into cells; -1 for an empty place
    bool first = false; // the cell starts in this row
};
std::vector<RowPiece> rowPieces(const ExportGrid &grid, int row);
// The pictures tied to the place at (row, column).
std::vector<const GridPicture *> picturesAt(const ExportGrid &grid, int row, int column);

// The places of one row column by column, as a spreadsheet sees them: the cell starting there,
// nothing (an empty place), or covered by a cell starting in another place.
enum class Place { Cell, Empty, Covered };
void forEachPlace(const ExportGrid &grid, int row,
                  const std::function<void(int column, Place place, const GridCell *cell)> &visit);

ExportGrid exportGrid(const zreport::PreparedReport &report, const std::vector<int> &pages);

// The texts of a page in reading order: objects grouped in lines by their tops, each line left
// to right.
struct LineItem {
    double left = 0; // units from the sheet's left edge
    QString text;    // paragraphs joined by blanks
};
std::vector<std::vector<LineItem>> pageTextLines(const zreport::PreparedReport &report,
                                                 int pageIndex);

} // namespace zexport
