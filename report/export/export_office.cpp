#include "export_grid.h"
#include "export_picture_data.h"
#include "export_writers.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextTable>
#include <QUrl>

#include <xlsxwriter.h>
#include <zip.h>

#include <cmath>
#include <map>
#include <set>
#include <utility>

// The office formats: XLSX through libxlsxwriter, the OpenDocument spreadsheet and the Word
// document as zip packages through libzip, the OpenDocument text through Qt's ODF writer.
namespace zexport::writers {

namespace {

struct ZipEntry {
    const char *name;
    QByteArray data;
};

QString zipOpenError(int code)
{
    zip_error_t e;
    zip_error_init_with_code(&e, code);
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&e));
    zip_error_fini(&e);
    return text;
}

bool writeZip(const QString &path, const std::vector<ZipEntry> &entries, QString *error)
{
    int code = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!zip) {
        if (error)
            *error = zipOpenError(code);
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

QByteArray readEntry(zip_t *zip, zip_uint64_t index)
{
    zip_stat_t stat;
    if (zip_stat_index(zip, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        return {};
    QByteArray bytes(qsizetype(stat.size), Qt::Uninitialized);
    zip_file_t *file = zip_fopen_index(zip, index, 0);
    if (!file)
        return {};
    const zip_int64_t read = zip_fread(file, bytes.data(), stat.size);
    zip_fclose(file);
    return read == zip_int64_t(stat.size) ? bytes : QByteArray();
}

QString zipError(zip_t *zip)
{
    return QString::fromLocal8Bit(zip_strerror(zip));
}

// Qt's OpenDocument writer stores an image once for every use; the package keeps one copy of
// equal images, the text and the manifest pointing at it.
bool keepEqualPicturesOnce(const QString &path, QString *error)
{
    int code = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), 0, &code);
    if (!zip) {
        if (error)
            *error = zipOpenError(code);
        return false;
    }
    std::map<QByteArray, QByteArray> firstWith; // bytes, the name of the first image of them
    std::map<QByteArray, QByteArray> firstOf;   // a repeated image's name, its first copy's
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const QByteArray name = zip_get_name(zip, zip_uint64_t(i), 0);
        const QByteArray bytes =
            name.startsWith("Pictures/") ? readEntry(zip, zip_uint64_t(i)) : QByteArray();
        if (bytes.isEmpty())
            continue;
        const auto [first, added] = firstWith.emplace(bytes, name);
        if (!added) {
            firstOf.emplace(name, first->second);
            zip_delete(zip, zip_uint64_t(i));
        }
    }
    if (firstOf.empty()) {
        zip_discard(zip);
        return true;
    }
    const zip_int64_t contentIndex = zip_name_locate(zip, "content.xml", 0);
    const zip_int64_t manifestIndex = zip_name_locate(zip, "META-INF/manifest.xml", 0);
    if (contentIndex < 0 || manifestIndex < 0) {
        if (error)
            *error = zipError(zip);
        zip_discard(zip);
        return false;
    }
    // One pass over each: the text's links to a repeat lead to the first copy, and the
    // manifest loses the repeats' entries.
    const auto rewritten = [&](const QByteArray &text, const QRegularExpression &reference,
                               bool drop) {
        QByteArray out;
        out.reserve(text.size());
        qsizetype from = 0;
        for (auto it = reference.globalMatch(QString::fromLatin1(text)); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            const auto repeat = firstOf.find(match.captured(1).toLatin1());
            if (repeat == firstOf.end())
                continue;
            out += text.mid(from,
                            drop ? match.capturedStart(0) - from : match.capturedStart(1) - from);
            if (!drop)
                out += repeat->second;
            from = drop ? match.capturedEnd(0) : match.capturedEnd(1);
        }
        out += text.mid(from);
        return out;
    };
    static const QRegularExpression link(QStringLiteral("\"(Pictures/[^\"]*)\""));
    static const QRegularExpression entry(
        QStringLiteral("\\s*<manifest:file-entry[^>]*\"(Pictures/[^\"]*)\"[^>]*/>"));
    const QByteArray content = rewritten(readEntry(zip, zip_uint64_t(contentIndex)), link, false);
    const QByteArray manifestBytes =
        rewritten(readEntry(zip, zip_uint64_t(manifestIndex)), entry, true);
    bool ok = true;
    for (const auto &[index, bytes] :
         {std::pair<zip_int64_t, const QByteArray *>{contentIndex, &content},
          std::pair<zip_int64_t, const QByteArray *>{manifestIndex, &manifestBytes}}) {
        zip_source_t *source =
            zip_source_buffer(zip, bytes->constData(), zip_uint64_t(bytes->size()), 0);
        if (!source || zip_file_replace(zip, zip_uint64_t(index), source, 0) != 0) {
            if (source)
                zip_source_free(source);
            ok = false;
        }
    }
    if (!ok || zip_close(zip) != 0) {
        if (error)
            *error = zipError(zip);
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
    // Each image is encoded once; the library keeps one copy of equal images in the package.
    std::vector<QByteArray> encoded(report.images().size());
    for (const GridPicture &p : grid.pictures) {
        const QImage &image = report.images()[p.image].image;
        QByteArray &bytes = encoded[p.image];
        if (bytes.isEmpty())
            bytes = pngAt96Dpi(image);
        lxw_image_options options{};
        options.x_offset = int32_t(std::lround(p.x));
        options.y_offset = int32_t(std::lround(p.y));
        options.x_scale = p.width * kDeclaredDpi / 96 / image.width();
        options.y_scale = p.height * kDeclaredDpi / 96 / image.height();
        worksheet_insert_image_buffer_opt(
            sheet, lxw_row_t(p.row), lxw_col_t(p.column),
            reinterpret_cast<const unsigned char *>(bytes.constData()), size_t(bytes.size()),
            &options);
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
        // A picture goes inline at the start of the place that holds its top-left corner: the
        // word processor's table has no fixed places to float it over.
        for (const GridPicture &p : grid.pictures) {
            const QString name = QStringLiteral("zarnik-image-%1").arg(p.image);
            if (document.resource(QTextDocument::ImageResource, QUrl(name)).isNull())
                document.addResource(QTextDocument::ImageResource, QUrl(name),
                                     pictureData(report.images()[p.image]).bytes);
            QTextImageFormat image;
            image.setName(name);
            image.setWidth(p.width);
            image.setHeight(p.height);
            table->cellAt(p.row, p.column).firstCursorPosition().insertImage(image);
        }
        cursor.movePosition(QTextCursor::End);
    }
    QTextDocumentWriter writer(path, "odf");
    if (!writer.write(&document)) {
        if (error)
            *error = writer.device() ? writer.device()->errorString() : QString();
        return false;
    }
    return keepEqualPicturesOnce(path, error);
}

// --- DOCX ------------------------------------------------------------------------------------

namespace {

constexpr double kTwipsPerUnit = 15;
constexpr int kDocxCellMargin = 30; // twips left and right of a cell's text

// The pictures tied to a place as runs of its first paragraph, floating over the table at their
// places from the cell's text column.
QString docxPictureRuns(const ExportGrid &grid, int row, int column, int *lastId)
{
    constexpr double kEmuPerUnit = 9525;
    const auto emu = [](double units) {
        return QString::number(std::llround(units * kEmuPerUnit));
    };
    QString out;
    for (const GridPicture *p : picturesAt(grid, row, column)) {
        const int id = ++*lastId;
        const QString cx = emu(p->width), cy = emu(p->height);
        out += QStringLiteral(
                   "<w:r><w:drawing><wp:anchor distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\" "
                   "simplePos=\"0\" relativeHeight=\"%1\" behindDoc=\"0\" locked=\"0\" "
                   "layoutInCell=\"1\" allowOverlap=\"1\"><wp:simplePos x=\"0\" y=\"0\"/>"
                   "<wp:positionH relativeFrom=\"column\"><wp:posOffset>%2</wp:posOffset>"
                   "</wp:positionH><wp:positionV relativeFrom=\"paragraph\"><wp:posOffset>%3"
                   "</wp:posOffset></wp:positionV><wp:extent cx=\"%4\" cy=\"%5\"/>"
                   "<wp:effectExtent l=\"0\" t=\"0\" r=\"0\" b=\"0\"/><wp:wrapNone/>"
                   "<wp:docPr id=\"%1\" name=\"Picture %1\"/><wp:cNvGraphicFramePr/>"
                   "<a:graphic><a:graphicData "
                   "uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic>"
                   "<pic:nvPicPr><pic:cNvPr id=\"%1\" name=\"Picture %1\"/><pic:cNvPicPr/>"
                   "</pic:nvPicPr><pic:blipFill><a:blip r:embed=\"rIdImage%6\"/><a:stretch>"
                   "<a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm>"
                   "<a:off x=\"0\" y=\"0\"/><a:ext cx=\"%4\" cy=\"%5\"/></a:xfrm>"
                   "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr></pic:pic>"
                   "</a:graphicData></a:graphic></wp:anchor></w:drawing></w:r>")
                   .arg(QString::number(id), emu(p->x - kDocxCellMargin / kTwipsPerUnit), emu(p->y),
                        cx, cy, QString::number(p->image));
    }
    return out;
}

// The images the document shows, each once in the package, named by their index in the report.
struct DocxImages {
    std::vector<std::pair<QByteArray, QByteArray>> parts; // name in the package, bytes
    QString relations;                                    // of the document to the parts
    QString types;                                        // of the parts' extensions
};

DocxImages docxImages(const Report &report, const std::vector<bool> &used)
{
    DocxImages images;
    std::set<QString> extensions;
    for (size_t k = 0; k < used.size(); ++k) {
        if (!used[k])
            continue;
        PictureData data = pictureData(report.images()[k]);
        const QString name = QStringLiteral("media/image%1.%2").arg(k).arg(data.extension);
        images.relations += QStringLiteral("<Relationship Id=\"rIdImage%1\" "
                                           "Type=\"http://schemas.openxmlformats.org/"
                                           "officeDocument/2006/relationships/image\" "
                                           "Target=\"%2\"/>")
                                .arg(k)
                                .arg(name);
        if (extensions.insert(data.extension).second)
            images.types += QStringLiteral("<Default Extension=\"%1\" ContentType=\"%2\"/>")
                                .arg(data.extension, data.mimeType);
        images.parts.emplace_back(QStringLiteral("word/%1").arg(name).toUtf8(),
                                  std::move(data.bytes));
    }
    return images;
}

} // namespace

bool docx(const Report &report, const Pages &pages, const QString &path, QString *error)
{
    const auto twips = [](double units) {
        return QString::number(std::lround(units * kTwipsPerUnit));
    };
    QString body;
    int lastPictureId = 0;
    std::vector<bool> usedImages(report.images().size());
    for (size_t i = 0; i < pages.size(); ++i) {
        const ExportGrid grid = exportGrid(report, {pages[i]});
        for (const GridPicture &p : grid.pictures)
            usedImages[p.image] = true;
        if (i > 0)
            body += QStringLiteral("<w:p><w:r><w:br w:type=\"page\"/></w:r></w:p>");
        if (grid.cells.empty())
            continue;
        body += QStringLiteral("<w:tbl><w:tblPr><w:tblLayout w:type=\"fixed\"/>"
                               "<w:tblCellMar><w:left w:w=\"%1\" w:type=\"dxa\"/>"
                               "<w:right w:w=\"%1\" w:type=\"dxa\"/></w:tblCellMar></w:tblPr>"
                               "<w:tblGrid>")
                    .arg(kDocxCellMargin);
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
                const QString pictures = cell && !p.first
                                             ? QString()
                                             : docxPictureRuns(grid, r, p.column, &lastPictureId);
                if (cell && p.first) {
                    const QString run =
                        isBold(*cell) ? QStringLiteral("<w:rPr><w:b/></w:rPr>") : QString();
                    QString first = pictures;
                    for (const QString &paragraph : cell->text.split(QLatin1Char('\n'))) {
                        body += QStringLiteral("<w:p>%1<w:r>%2<w:t xml:space=\"preserve\">%3</w:t>"
                                               "</w:r></w:p>")
                                    .arg(first, run, xml(paragraph));
                        first.clear();
                    }
                } else if (!pictures.isEmpty()) {
                    body += QStringLiteral("<w:p>%1</w:p>").arg(pictures);
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
    const DocxImages images = docxImages(report, usedImages);
    const QString namespaces =
        images.parts.empty()
            ? QString()
            : QStringLiteral(
                  " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
                  " xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/"
                  "wordprocessingDrawing\""
                  " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
                  " xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"");
    const QString document =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                       "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/"
                       "2006/main\"%2><w:body>%1</w:body></w:document>\n")
            .arg(body, namespaces);
    const QByteArray contentTypes =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>" +
        images.types.toUtf8() +
        "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
        "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>\n";
    const QByteArray relations =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
        "relationships/officeDocument\" Target=\"word/document.xml\"/></Relationships>\n";
    std::vector<ZipEntry> entries{{"[Content_Types].xml", contentTypes},
                                  {"_rels/.rels", relations},
                                  {"word/document.xml", document.toUtf8()}};
    if (!images.parts.empty()) {
        entries.push_back(
            {"word/_rels/document.xml.rels",
             QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                            "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                            "relationships\">%1</Relationships>\n")
                 .arg(images.relations)
                 .toUtf8()});
        for (const auto &[name, bytes] : images.parts)
            entries.push_back({name.constData(), bytes});
    }
    return writeZip(path, entries, error);
}

} // namespace zexport::writers
