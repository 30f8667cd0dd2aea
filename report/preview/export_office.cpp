#include "export_grid.h"
#include "export_writers.h"

#include <QFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextTable>

#include <xlsxwriter.h>
#include <zip.h>

#include <cmath>
#include <map>
#include <utility>

// The office formats: XLSX through libxlsxwriter, the OpenDocument spreadsheet and the Word
// document as zip packages through libzip, the OpenDocument text through Qt's ODF writer.
namespace zpreview::writers {

namespace {

struct ZipEntry {
    const char *name;
    QByteArray data;
};

bool writeZip(const QString &path, const std::vector<ZipEntry> &entries, QString *error)
{
    int code = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!zip) {
        zip_error_t e;
        zip_error_init_with_code(&e, code);
        if (error)
            *error = QString::fromLocal8Bit(zip_error_strerror(&e));
        zip_error_fini(&e);
        return false;
    }
    for (const ZipEntry &entry : entries) {
        zip_source_t *source =
            zip_source_buffer(zip, entry.data.constData(), zip_uint64_t(entry.data.size()), 0);
        const zip_int64_t index =
            source ? zip_file_add(zip, entry.name, source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (source)
                zip_source_free(source);
            if (error)
                *error = QString::fromLocal8Bit(zip_strerror(zip));
            zip_discard(zip);
            return false;
        }
        // A package's "mimetype" comes first and uncompressed, so that it can be recognised.
        if (qstrcmp(entry.name, "mimetype") == 0)
            zip_set_file_compression(zip, zip_uint64_t(index), ZIP_CM_STORE, 0);
    }
    if (zip_close(zip) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(zip_strerror(zip));
        zip_discard(zip);
        return false;
    }
    return true;
}

QString xml(const QString &text)
{
    return text.toHtmlEscaped();
}

bool isBold(const GridCell &cell)
{
    return cell.style && cell.style->font.bold;
}

} // namespace

// --- XLSX ------------------------------------------------------------------------------------

bool xlsx(const Report &report, const Pages &pages, const QString &path, QString *error)
{
    const ExportGrid grid = exportGrid(report, pages);
    lxw_workbook_options options{};
    options.constant_memory = LXW_FALSE;
    lxw_workbook *workbook = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    if (!workbook) {
        if (error)
            *error = QStringLiteral("файл не создается");
        return false;
    }
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, "Отчет");
    // One format per look: bold or not, alignment, framed or not.
    std::map<std::tuple<bool, int, bool>, lxw_format *> formats;
    const auto formatOf = [&](const GridCell &cell) {
        const bool bold = isBold(cell);
        const int align = cell.style ? int(cell.style->hAlign) : 0;
        const bool framed = cell.style && cell.style->frame.typ;
        auto &format = formats[{bold, align, framed}];
        if (!format) {
            format = workbook_add_format(workbook);
            format_set_text_wrap(format);
            format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
            format_set_align(format, align == int(zreport::HAlign::haCenter)  ? LXW_ALIGN_CENTER
                                     : align == int(zreport::HAlign::haRight) ? LXW_ALIGN_RIGHT
                                                                              : LXW_ALIGN_LEFT);
            if (bold)
                format_set_bold(format);
            if (framed)
                format_set_border(format, LXW_BORDER_THIN);
        }
        return format;
    };
    for (size_t c = 0; c < grid.columnWidths.size(); ++c)
        worksheet_set_column_pixels(sheet, lxw_col_t(c), lxw_col_t(c),
                                    std::max(1u, unsigned(std::lround(grid.columnWidths[c]))),
                                    nullptr);
    for (size_t r = 0; r < grid.rowHeights.size(); ++r)
        worksheet_set_row_pixels(sheet, lxw_row_t(r),
                                 std::max(1u, unsigned(std::lround(grid.rowHeights[r]))), nullptr);
    for (const GridCell &cell : grid.cells) {
        const QByteArray text = cell.text.toUtf8();
        lxw_format *format = formatOf(cell);
        if (cell.rowSpan > 1 || cell.columnSpan > 1)
            worksheet_merge_range(sheet, lxw_row_t(cell.row), lxw_col_t(cell.column),
                                  lxw_row_t(cell.row + cell.rowSpan - 1),
                                  lxw_col_t(cell.column + cell.columnSpan - 1), text.constData(),
                                  format);
        else
            worksheet_write_string(sheet, lxw_row_t(cell.row), lxw_col_t(cell.column),
                                   text.constData(), format);
    }
    // Page breaks where the prepared pages end (the library takes at most 1023).
    std::vector<lxw_row_t> breaks;
    for (size_t i = 1; i < grid.pageStartRows.size() && breaks.size() < 1023; ++i)
        breaks.push_back(lxw_row_t(grid.pageStartRows[i]));
    breaks.push_back(0);
    worksheet_set_h_pagebreaks(sheet, breaks.data());
    const lxw_error result = workbook_close(workbook);
    if (result != LXW_NO_ERROR) {
        if (error)
            *error = QString::fromUtf8(lxw_strerror(result));
        return false;
    }
    return true;
}

// --- ODS -------------------------------------------------------------------------------------

bool ods(const Report &report, const Pages &pages, const QString &path, QString *error)
{
    const ExportGrid grid = exportGrid(report, pages);
    const auto cm = [](double units) { return QString::number(units * 2.54 / 96, 'f', 3) + "cm"; };
    QString styles;
    for (size_t c = 0; c < grid.columnWidths.size(); ++c)
        styles += QStringLiteral("<style:style style:name=\"co%1\" style:family=\"table-column\">"
                                 "<style:table-column-properties style:column-width=\"%2\"/>"
                                 "</style:style>")
                      .arg(c)
                      .arg(cm(grid.columnWidths[c]));
    std::map<QString, int> rowStyles;
    QString body;
    const int columns = int(grid.columnWidths.size());
    for (int c = 0; c < columns; ++c)
        body += QStringLiteral("<table:table-column table:style-name=\"co%1\"/>").arg(c);
    for (int r = 0; r < int(grid.rowHeights.size()); ++r) {
        const QString height = cm(grid.rowHeights[size_t(r)]);
        auto [it, added] = rowStyles.emplace(height, int(rowStyles.size()));
        if (added)
            styles += QStringLiteral("<style:style style:name=\"ro%1\" style:family=\"table-row\">"
                                     "<style:table-row-properties style:row-height=\"%2\"/>"
                                     "</style:style>")
                          .arg(it->second)
                          .arg(height);
        body += QStringLiteral("<table:table-row table:style-name=\"ro%1\">").arg(it->second);
        forEachPlace(grid, r, [&](int, Place place, const GridCell *found) {
            if (place == Place::Covered) {
                body += QStringLiteral("<table:covered-table-cell/>");
                return;
            }
            if (place == Place::Empty) {
                body += QStringLiteral("<table:table-cell/>");
                return;
            }
            const GridCell &cell = *found;
            body += QStringLiteral("<table:table-cell office:value-type=\"string\"");
            if (isBold(cell))
                body += QStringLiteral(" table:style-name=\"bold\"");
            if (cell.columnSpan > 1)
                body += QStringLiteral(" table:number-columns-spanned=\"%1\"").arg(cell.columnSpan);
            if (cell.rowSpan > 1)
                body += QStringLiteral(" table:number-rows-spanned=\"%1\"").arg(cell.rowSpan);
            body += QLatin1Char('>');
            for (const QString &paragraph : cell.text.split(QLatin1Char('\n')))
                body += QStringLiteral("<text:p>%1</text:p>").arg(xml(paragraph));
            body += QStringLiteral("</table:table-cell>");
        });
        body += QStringLiteral("</table:table-row>\n");
    }
    const QString content =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<office:document-content "
                       "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                       "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
                       "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
                       "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
                       "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" "
                       "office:version=\"1.2\"><office:automatic-styles>%1"
                       "<style:style style:name=\"bold\" style:family=\"table-cell\">"
                       "<style:text-properties fo:font-weight=\"bold\"/></style:style>"
                       "</office:automatic-styles><office:body><office:spreadsheet>"
                       "<table:table table:name=\"Отчет\">%2</table:table>"
                       "</office:spreadsheet></office:body></office:document-content>\n")
            .arg(styles, body);
    const QByteArray manifest =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
        "manifest:version=\"1.2\">"
        "<manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.2\" "
        "manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/>"
        "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
        "</manifest:manifest>\n";
    return writeZip(path,
                    {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                     {"META-INF/manifest.xml", manifest},
                     {"content.xml", content.toUtf8()}},
                    error);
}

// --- ODT -------------------------------------------------------------------------------------

bool odt(const Report &report, const Pages &pages, const QString &path, QString *error)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    for (size_t i = 0; i < pages.size(); ++i) {
        const ExportGrid grid = exportGrid(report, {pages[i]});
        if (i > 0) {
            QTextBlockFormat breakBefore;
            breakBefore.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            cursor.insertBlock(breakBefore);
        }
        if (grid.cells.empty())
            continue;
        QTextTableFormat format;
        format.setCellPadding(1);
        format.setCellSpacing(0);
        format.setBorder(0.5);
        format.setBorderCollapse(true);
        QList<QTextLength> widths;
        for (double w : grid.columnWidths)
            widths << QTextLength(QTextLength::FixedLength, w);
        format.setColumnWidthConstraints(widths);
        QTextTable *table =
            cursor.insertTable(int(grid.rowHeights.size()), int(grid.columnWidths.size()), format);
        for (const GridCell &cell : grid.cells) {
            if (cell.rowSpan > 1 || cell.columnSpan > 1)
                table->mergeCells(cell.row, cell.column, cell.rowSpan, cell.columnSpan);
            QTextCursor at = table->cellAt(cell.row, cell.column).firstCursorPosition();
            QTextCharFormat chars;
            chars.setFontFamilies({QStringLiteral("Arial")});
            if (cell.style) {
                chars.setFontPointSize(cell.style->font.pointSize());
                chars.setFontWeight(cell.style->font.bold ? QFont::Bold : QFont::Normal);
                chars.setFontItalic(cell.style->font.italic);
            }
            at.insertText(cell.text, chars);
        }
        cursor.movePosition(QTextCursor::End);
    }
    QTextDocumentWriter writer(path, "odf");
    if (!writer.write(&document)) {
        if (error)
            *error = writer.device() ? writer.device()->errorString() : QString();
        return false;
    }
    return true;
}

// --- DOCX ------------------------------------------------------------------------------------

bool docx(const Report &report, const Pages &pages, const QString &path, QString *error)
{
    constexpr double kTwipsPerUnit = 15;
    const auto twips = [](double units) {
        return QString::number(std::lround(units * kTwipsPerUnit));
    };
    QString body;
    for (size_t i = 0; i < pages.size(); ++i) {
        const ExportGrid grid = exportGrid(report, {pages[i]});
        if (i > 0)
            body += QStringLiteral("<w:p><w:r><w:br w:type=\"page\"/></w:r></w:p>");
        if (grid.cells.empty())
            continue;
        body += QStringLiteral("<w:tbl><w:tblPr><w:tblLayout w:type=\"fixed\"/>"
                               "<w:tblCellMar><w:left w:w=\"30\" w:type=\"dxa\"/>"
                               "<w:right w:w=\"30\" w:type=\"dxa\"/></w:tblCellMar></w:tblPr>"
                               "<w:tblGrid>");
        for (double w : grid.columnWidths)
            body += QStringLiteral("<w:gridCol w:w=\"%1\"/>").arg(twips(w));
        body += QStringLiteral("</w:tblGrid>");
        for (int r = 0; r < int(grid.rowHeights.size()); ++r) {
            body += QStringLiteral("<w:tr><w:trPr><w:trHeight w:val=\"%1\"/></w:trPr>")
                        .arg(twips(grid.rowHeights[size_t(r)]));
            for (const RowPiece &p : rowPieces(grid, r)) {
                double width = 0;
                for (int c = p.column; c < p.column + p.span; ++c)
                    width += grid.columnWidths[size_t(c)];
                body += QStringLiteral("<w:tc><w:tcPr><w:tcW w:w=\"%1\" w:type=\"dxa\"/>")
                            .arg(twips(width));
                if (p.span > 1)
                    body += QStringLiteral("<w:gridSpan w:val=\"%1\"/>").arg(p.span);
                const GridCell *cell = p.cell >= 0 ? &grid.cells[size_t(p.cell)] : nullptr;
                if (cell && cell->rowSpan > 1)
                    body += p.first ? QStringLiteral("<w:vMerge w:val=\"restart\"/>")
                                    : QStringLiteral("<w:vMerge/>");
                body += QStringLiteral("</w:tcPr>");
                if (cell && p.first) {
                    const QString run =
                        isBold(*cell) ? QStringLiteral("<w:rPr><w:b/></w:rPr>") : QString();
                    for (const QString &paragraph : cell->text.split(QLatin1Char('\n')))
                        body += QStringLiteral("<w:p><w:r>%1<w:t xml:space=\"preserve\">%2</w:t>"
                                               "</w:r></w:p>")
                                    .arg(run, xml(paragraph));
                } else {
                    body += QStringLiteral("<w:p/>");
                }
                body += QStringLiteral("</w:tc>");
            }
            body += QStringLiteral("</w:tr>");
        }
        body += QStringLiteral("</w:tbl>");
    }
    const zreport::PageSettings first =
        pages.empty() ? zreport::PageSettings{} : report.pages()[size_t(pages.front())].settings;
    constexpr double kTwipsPerMm = 1440 / 25.4;
    const auto mm = [](double v) { return QString::number(std::lround(v * kTwipsPerMm)); };
    body +=
        QStringLiteral("<w:sectPr><w:pgSz w:w=\"%1\" w:h=\"%2\"%3/>"
                       "<w:pgMar w:top=\"0\" w:right=\"0\" w:bottom=\"0\" w:left=\"0\" "
                       "w:header=\"0\" w:footer=\"0\" w:gutter=\"0\"/></w:sectPr>")
            .arg(mm(first.paperWidth), mm(first.paperHeight),
                 first.paperWidth > first.paperHeight ? QStringLiteral(" w:orient=\"landscape\"")
                                                      : QString());
    const QString document =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                       "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/"
                       "2006/main\"><w:body>%1</w:body></w:document>\n")
            .arg(body);
    const QByteArray contentTypes =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
        "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>\n";
    const QByteArray relations =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
        "relationships/officeDocument\" Target=\"word/document.xml\"/></Relationships>\n";
    return writeZip(path,
                    {{"[Content_Types].xml", contentTypes},
                     {"_rels/.rels", relations},
                     {"word/document.xml", document.toUtf8()}},
                    error);
}

} // namespace zpreview::writers
