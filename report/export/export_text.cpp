#include "export_grid.h"
#include "export_picture_data.h"
#include "export_writers.h"

#include "report/report_units.h"

#include <QStringList>

#include <cmath>

// The formats written as text: plain text, print file, CSV, HTML, the XML spreadsheet and RTF.
namespace zexport::writers {

namespace {

QString escapeXml(const QString &text)
{
    return text.toHtmlEscaped();
}

QString htmlAlign(const zreport::TextStyle *style)
{
    if (!style)
        return QString();
    switch (style->hAlign) {
    case zreport::HAlign::haCenter:
        return QStringLiteral("center");
    case zreport::HAlign::haRight:
        return QStringLiteral("right");
    case zreport::HAlign::haBlock:
        return QStringLiteral("justify");
    default:
        return QStringLiteral("left");
    }
}

int px(double units)
{
    return std::max(1, int(std::lround(units)));
}

} // namespace

QByteArray text(const Report &report, const Pages &pages)
{
    QString out;
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            out += QLatin1Char('\n');
        for (const auto &line : pageTextLines(report, pages[i])) {
            QStringList texts;
            for (const LineItem &item : line)
                texts << item.text;
            out += texts.join(QLatin1Char(' ')) + QLatin1Char('\n');
        }
    }
    return out.toUtf8();
}

QByteArray prn(const Report &report, const Pages &pages)
{
    // Texts stand at their columns on a grid of 10 characters per inch; pages end with a
    // form feed, as a printer expects them.
    constexpr double kUnitsPerColumn = zreport::kUnitsPerInch / 10;
    QString out;
    for (int index : pages) {
        for (const auto &line : pageTextLines(report, index)) {
            QString row;
            for (const LineItem &item : line) {
                const int column = int(std::lround(item.left / kUnitsPerColumn));
                if (row.size() < column)
                    row += QString(column - row.size(), QLatin1Char(' '));
                else if (!row.isEmpty())
                    row += QLatin1Char(' ');
                row += item.text;
            }
            out += row + QStringLiteral("\r\n");
        }
        out += QLatin1Char('\f');
    }
    return out.toUtf8();
}

QByteArray csv(const Report &report, const Pages &pages)
{
    QString out;
    for (int index : pages) {
        for (const auto &line : pageTextLines(report, index)) {
            QStringList fields;
            for (const LineItem &item : line) {
                QString field = item.text;
                field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
                fields << QLatin1Char('"') + field + QLatin1Char('"');
            }
            out += fields.join(QLatin1Char(';')) + QStringLiteral("\r\n");
        }
    }
    return out.toUtf8();
}

namespace {

// Each image once, as a class whose background it is; printed like the text.
QString htmlPictureClasses(const Report &report, const ExportGrid &grid)
{
    if (grid.pictures.empty())
        return QString();
    QString out = QStringLiteral(".zp{position:absolute;background:no-repeat center/100% 100%;"
                                 "print-color-adjust:exact;-webkit-print-color-adjust:exact}");
    std::vector<bool> written(report.images().size());
    for (const GridPicture &p : grid.pictures) {
        if (written[p.image])
            continue;
        written[p.image] = true;
        const PictureData data = pictureData(report.images()[p.image]);
        out += QStringLiteral(".zp%1{background-image:url(data:%2;base64,%3)}")
                   .arg(p.image)
                   .arg(data.mimeType, QString::fromLatin1(data.bytes.toBase64()));
    }
    return out;
}

// The pictures tied to a place, over its text; the place lets them reach beyond it.
QString htmlPictures(const ExportGrid &grid, int row, int column, QString *style)
{
    QString out;
    for (const GridPicture *p : picturesAt(grid, row, column))
        out += QStringLiteral("<div class=\"zp zp%1\" style=\"left:%2px;top:%3px;width:%4px;"
                              "height:%5px\"></div>")
                   .arg(p->image)
                   .arg(std::lround(p->x))
                   .arg(std::lround(p->y))
                   .arg(px(p->width))
                   .arg(px(p->height));
    if (!out.isEmpty())
        *style += QStringLiteral("position:relative;overflow:visible");
    return out;
}

} // namespace

QByteArray html(const Report &report, const Pages &pages)
{
    const ExportGrid grid = exportGrid(report, pages);
    QString out =
        QStringLiteral(
            "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>Отчет</title>\n"
            "<style>table{border-collapse:collapse;table-layout:fixed}"
            "td{padding:0 2px;vertical-align:top;overflow:hidden;font-family:Arial,sans-serif}%1"
            "</style>\n</head>\n<body>\n<table>\n<colgroup>")
            .arg(htmlPictureClasses(report, grid));
    for (double w : grid.columnWidths)
        out += QStringLiteral("<col style=\"width:%1px\">").arg(px(w));
    out += QStringLiteral("</colgroup>\n");
    for (int r = 0; r < int(grid.rowHeights.size()); ++r) {
        out += QStringLiteral("<tr style=\"height:%1px\">").arg(px(grid.rowHeights[size_t(r)]));
        forEachPlace(grid, r, [&](int column, Place place, const GridCell *found) {
            if (place == Place::Covered)
                return;
            if (place == Place::Empty) {
                QString style;
                const QString pictures = htmlPictures(grid, r, column, &style);
                out += style.isEmpty()
                           ? QStringLiteral("<td></td>")
                           : QStringLiteral("<td style=\"%1\">%2</td>").arg(style, pictures);
                return;
            }
            const GridCell &cell = *found;
            QString style = QStringLiteral("text-align:%1").arg(htmlAlign(cell.style));
            if (cell.style) {
                style += QStringLiteral(";font-size:%1pt").arg(cell.style->font.pointSize());
                if (cell.style->font.bold)
                    style += QStringLiteral(";font-weight:bold");
                if (cell.style->font.italic)
                    style += QStringLiteral(";font-style:italic");
                if (cell.style->frame.typ)
                    style += QStringLiteral(";border:1px solid black");
            }
            out += QStringLiteral("<td");
            if (cell.columnSpan > 1)
                out += QStringLiteral(" colspan=\"%1\"").arg(cell.columnSpan);
            if (cell.rowSpan > 1)
                out += QStringLiteral(" rowspan=\"%1\"").arg(cell.rowSpan);
            QString body = escapeXml(cell.text);
            body.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
            QString pictureStyle;
            body.prepend(htmlPictures(grid, r, column, &pictureStyle));
            if (!pictureStyle.isEmpty())
                style += QLatin1Char(';') + pictureStyle;
            out += QStringLiteral(" style=\"%1\">%2</td>").arg(style, body);
        });
        out += QStringLiteral("</tr>\n");
    }
    out += QStringLiteral("</table>\n</body>\n</html>\n");
    return out.toUtf8();
}

QByteArray excelXml(const Report &report, const Pages &pages)
{
    const ExportGrid grid = exportGrid(report, pages);
    QString out = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<?mso-application progid=\"Excel.Sheet\"?>\n"
        "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\" "
        "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\">\n<Styles>"
        "<Style ss:ID=\"Default\"><Alignment ss:Vertical=\"Top\" ss:WrapText=\"1\"/></Style>"
        "<Style ss:ID=\"b\"><Alignment ss:Vertical=\"Top\" ss:WrapText=\"1\"/>"
        "<Font ss:Bold=\"1\"/></Style></Styles>\n"
        "<Worksheet ss:Name=\"Отчет\">\n<Table>\n");
    for (double w : grid.columnWidths)
        out += QStringLiteral("<Column ss:Width=\"%1\"/>\n").arg(w * 0.75, 0, 'f', 2);
    for (int r = 0; r < int(grid.rowHeights.size()); ++r) {
        out += QStringLiteral("<Row ss:Height=\"%1\">")
                   .arg(grid.rowHeights[size_t(r)] * 0.75, 0, 'f', 2);
        forEachPlace(grid, r, [&](int c, Place place, const GridCell *found) {
            if (place != Place::Cell)
                return;
            const GridCell &cell = *found;
            out += QStringLiteral("<Cell ss:Index=\"%1\"").arg(c + 1);
            if (cell.columnSpan > 1)
                out += QStringLiteral(" ss:MergeAcross=\"%1\"").arg(cell.columnSpan - 1);
            if (cell.rowSpan > 1)
                out += QStringLiteral(" ss:MergeDown=\"%1\"").arg(cell.rowSpan - 1);
            if (cell.style && cell.style->font.bold)
                out += QStringLiteral(" ss:StyleID=\"b\"");
            QString body = escapeXml(cell.text);
            body.replace(QLatin1Char('\n'), QStringLiteral("&#10;"));
            out += QStringLiteral("><Data ss:Type=\"String\">%1</Data></Cell>").arg(body);
        });
        out += QStringLiteral("</Row>\n");
    }
    out += QStringLiteral("</Table>\n</Worksheet>\n</Workbook>\n");
    return out.toUtf8();
}

namespace {

// RTF is 7-bit: other characters go as \uN? escapes.
void appendRtfText(QByteArray &out, const QString &text)
{
    for (const QChar ch : text) {
        const ushort u = ch.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\n') {
            out += "\\line ";
        } else if (u < 0x80) {
            out += char(u);
        } else {
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
}

} // namespace

QByteArray rtf(const Report &report, const Pages &pages)
{
    const ExportGrid grid = exportGrid(report, pages);
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\n"
                     "\\paperw11906\\paperh16838\\margl567\\margr567\\margt567\\margb567\n";
    constexpr double kTwipsPerUnit = 15; // 1440 twips per inch, 96 units per inch
    std::vector<int> rightEdges;
    double x = 0;
    for (double w : grid.columnWidths) {
        x += w;
        rightEdges.push_back(int(std::lround(x * kTwipsPerUnit)));
    }
    size_t page = 0;
    for (int r = 0; r < int(grid.rowHeights.size()); ++r) {
        if (page + 1 < grid.pageStartRows.size() && r == grid.pageStartRows[page + 1]) {
            out += "\\page\n";
            ++page;
        }
        const std::vector<RowPiece> pieces = rowPieces(grid, r);
        out += "\\trowd\\trgaph30\\trrh" +
               QByteArray::number(int(std::lround(grid.rowHeights[size_t(r)] * kTwipsPerUnit)));
        for (const RowPiece &p : pieces) {
            if (p.cell >= 0 && grid.cells[size_t(p.cell)].rowSpan > 1)
                out += p.first ? "\\clvmgf" : "\\clvmrg";
            out += "\\cellx" + QByteArray::number(rightEdges[size_t(p.column + p.span - 1)]);
        }
        out += '\n';
        for (const RowPiece &p : pieces) {
            out += "\\pard\\intbl\\fs18 ";
            if (p.cell >= 0 && p.first) {
                const GridCell &cell = grid.cells[size_t(p.cell)];
                if (cell.style && cell.style->font.bold)
                    out += "\\b ";
                appendRtfText(out, cell.text);
                if (cell.style && cell.style->font.bold)
                    out += "\\b0 ";
            }
            out += "\\cell\n";
        }
        out += "\\row\n";
    }
    out += "}\n";
    return out;
}

} // namespace zexport::writers
