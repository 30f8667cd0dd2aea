#include "pdf_writer.h"

#include "page_canvas.h"
#include "pdf_fonts.h"
#include "pdf_images.h"
#include "pdf_objects.h"
#include "prepared_report.h"
#include "text_metrics.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace zreport {

using namespace pdf;

namespace {

class PdfCanvas final : public PageCanvas {
public:
    PdfCanvas(DocumentFonts &fonts, DocumentImages &images) : m_fonts(fonts), m_images(images) {}

    void start()
    {
        content.clear();
        m_fill = QColor();
    }

    void fillRects(const QColor &color, const QRect *rects, size_t count) override;
    void fillRect(const QRectF &rect, const QColor &color) override;
    void dottedLine(const QColor &color, int thickness, QPointF from, QPointF to) override;
    void glyphs(const FontFace *face, const DeviceFont &font, int pixels, const QColor &color,
                const QList<quint32> &glyphs, const QList<QPointF> &positions) override;
    void image(const QRectF &target, const PreparedImage &image) override;
    void beginClip(const QRect &rect) override;
    void endClip() override;

    std::string content;

private:
    void useFill(const QColor &color)
    {
        if (color == m_fill)
            return;
        appendColor(content, color, " rg\n");
        m_fill = color;
    }
    void rect(double x, double y, double w, double h)
    {
        appendNumber(content, x);
        content += ' ';
        appendNumber(content, y);
        content += ' ';
        appendNumber(content, w);
        content += ' ';
        appendNumber(content, h);
        content += " re";
    }

    DocumentFonts &m_fonts;
    DocumentImages &m_images;
    QColor m_fill; // invalid: not set on this page yet
    QColor m_fillBeforeClip;
};

} // namespace

struct PdfWriter::Impl {
    Objects out;
    QByteArray creator;
    QString title;
    std::vector<int> pageObjects;
    DocumentFonts fonts;
    DocumentImages images;
    PdfCanvas canvas{fonts, images};
    double pageWidth = 0, pageHeight = 0;
    static constexpr int kCatalog = 1, kPages = 2, kInfo = 3;

    Impl(QIODevice &device, const QByteArray &creator, const QString &title)
        : out(device), creator(creator), title(title)
    {
        for (int i = 0; i < 3; ++i)
            out.allocate();
        out.append("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    }
};

namespace {

void PdfCanvas::fillRects(const QColor &color, const QRect *rects, size_t count)
{
    if (color.alpha() == 0)
        return;
    useFill(color);
    for (size_t i = 0; i < count; ++i) {
        const QRect &r = rects[i];
        appendInt(content, r.x());
        content += ' ';
        appendInt(content, r.y());
        content += ' ';
        appendInt(content, r.width());
        content += ' ';
        appendInt(content, r.height());
        content += " re f\n";
    }
}

void PdfCanvas::fillRect(const QRectF &r, const QColor &color)
{
    if (color.alpha() == 0)
        return;
    useFill(color);
    rect(r.x(), r.y(), r.width(), r.height());
    content += " f\n";
}

void PdfCanvas::dottedLine(const QColor &color, int thickness, QPointF from, QPointF to)
{
    content += "q ";
    appendInt(content, thickness);
    content += " w [";
    appendInt(content, thickness);
    content += ' ';
    appendInt(content, thickness);
    content += "] 0 d ";
    appendColor(content, color, " RG ");
    appendNumber(content, from.x());
    content += ' ';
    appendNumber(content, from.y());
    content += " m ";
    appendNumber(content, to.x());
    content += ' ';
    appendNumber(content, to.y());
    content += " l S Q\n";
}

void PdfCanvas::glyphs(const FontFace *face, const DeviceFont &device, int pixels,
                       const QColor &color, const QList<quint32> &glyphs,
                       const QList<QPointF> &positions)
{
    if (glyphs.isEmpty() || color.alpha() == 0 || pixels < 1)
        return;
    EmbeddedFont &font = m_fonts.fontFor(face, device.raw);
    useFill(color);
    content += "BT /";
    content += font.resourceName;
    content += ' ';
    appendInt(content, pixels);
    content += " Tf\n";
    // Glyphs follow one another by their advances (the font's widths) in one TJ array; where
    // the layout put a glyph elsewhere, a number moves it there. The pen is followed at the
    // precision written, so rounding never adds up along a line.
    const double perThousand = pixels / 1000.0;
    double pen = 0, baseline = 0, advance = 0;
    bool inArray = false, inString = false;
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        quint32 glyph = glyphs[i];
        if (glyph >= font.widths.size())
            glyph = 0;
        const QPointF at = positions[i];
        const double expected = pen + advance * perThousand;
        const double shift = (expected - at.x()) / perThousand;
        // Another line, or a jump of more than a few ems along one (the next column).
        if (!inArray || at.y() != baseline || std::abs(shift) > 4000) {
            if (inString)
                content += '>';
            if (inArray)
                content += "]TJ\n";
            content += "1 0 0 -1 ";
            appendNumber(content, at.x());
            content += ' ';
            appendNumber(content, at.y());
            content += " Tm[<";
            pen = at.x();
            baseline = at.y();
            inArray = inString = true;
        } else {
            const long adjustment = std::lround(shift);
            pen = expected - adjustment * perThousand;
            if (adjustment != 0) {
                if (inString)
                    content += '>';
                appendInt(content, adjustment);
                content += '<';
                inString = true;
            } else if (!inString) {
                content += '<';
                inString = true;
            }
        }
        appendHex4(content, glyph);
        font.used[glyph] = true;
        advance = font.widths[glyph];
    }
    if (inString)
        content += '>';
    content += "]TJ\nET\n";
}

void PdfCanvas::image(const QRectF &target, const PreparedImage &image)
{
    const DocumentImages::Entry &entry = m_images.entryFor(image);
    // The image fills the unit square, its first row at the top of the y-down page.
    content += "q ";
    appendNumber(content, target.width());
    content += " 0 0 ";
    appendNumber(content, -target.height());
    content += ' ';
    appendNumber(content, target.x());
    content += ' ';
    appendNumber(content, target.y() + target.height());
    content += " cm /";
    content += entry.resourceName;
    content += " Do Q\n";
}

void PdfCanvas::beginClip(const QRect &r)
{
    content += "q ";
    rect(r.x(), r.y(), r.width(), r.height());
    content += " W n\n";
    m_fillBeforeClip = m_fill;
}

void PdfCanvas::endClip()
{
    content += "Q\n";
    m_fill = m_fillBeforeClip;
}

} // namespace

PdfWriter::PdfWriter(QIODevice &device, const QByteArray &creator, const QString &title)
    : d(std::make_unique<Impl>(device, creator, title))
{}

PdfWriter::~PdfWriter() = default;

PageCanvas &PdfWriter::beginPage(double widthPoints, double heightPoints)
{
    d->pageWidth = std::round(widthPoints * 100) / 100;
    d->pageHeight = std::round(heightPoints * 100) / 100;
    d->fonts.onPage.clear();
    d->images.onPage.clear();
    d->canvas.start();
    // Device pixels, y down from the top-left corner.
    d->canvas.content = "0.06 0 0 -0.06 0 ";
    static_assert(kDeviceDpi == 1200, "the scale above is 72 / kDeviceDpi");
    appendNumber(d->canvas.content, d->pageHeight);
    d->canvas.content += " cm\n";
    return d->canvas;
}

void PdfWriter::endPage()
{
    const int contents = d->out.allocate(), page = d->out.allocate();
    d->out.stream(contents, d->canvas.content);
    for (const size_t index : d->images.onPage) {
        DocumentImages::Entry &entry = d->images.all[index];
        if (!entry.object) {
            entry.object = d->out.allocate();
            writeImage(d->out, *entry.image, entry.object);
        }
    }
    std::string dictionary = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 ";
    appendNumber(dictionary, d->pageWidth);
    dictionary += ' ';
    appendNumber(dictionary, d->pageHeight);
    dictionary += "] /Resources << /Font <<";
    for (EmbeddedFont *font : d->fonts.onPage) {
        if (!font->object)
            font->object = d->out.allocate();
        dictionary += " /" + font->resourceName + ' ';
        appendInt(dictionary, font->object);
        dictionary += " 0 R";
    }
    dictionary += " >>";
    if (!d->images.onPage.empty()) {
        dictionary += " /XObject <<";
        for (const size_t index : d->images.onPage) {
            const DocumentImages::Entry &entry = d->images.all[index];
            dictionary += " /" + entry.resourceName + ' ';
            appendInt(dictionary, entry.object);
            dictionary += " 0 R";
        }
        dictionary += " >>";
    }
    dictionary += " >> /Contents ";
    appendInt(dictionary, contents);
    dictionary += " 0 R >>";
    d->out.object(page, dictionary);
    d->pageObjects.push_back(page);
    d->canvas.content.clear();
}

bool PdfWriter::finish()
{
    if (d->pageObjects.empty()) { // a document has at least one page: a blank A4 sheet
        beginPage(595.28, 841.89);
        endPage();
    }
    for (size_t i = 0; i < d->fonts.all.size(); ++i)
        writeFont(d->out, *d->fonts.all[i], int(i));
    std::string kids = "<< /Type /Pages /Kids [";
    for (const int page : d->pageObjects) {
        appendInt(kids, page);
        kids += " 0 R ";
    }
    kids += "] /Count ";
    appendInt(kids, qint64(d->pageObjects.size()));
    kids += " >>";
    d->out.object(Impl::kPages, kids);
    d->out.object(Impl::kCatalog, "<< /Type /Catalog /Pages 2 0 R >>");
    std::string info =
        "<< /Creator " + pdfString(d->creator) + " /Producer " + pdfString(d->creator);
    if (!d->title.isEmpty())
        info += " /Title " + pdfTextString(d->title);
    d->out.object(Impl::kInfo, info + " >>");

    const qint64 xref = d->out.position();
    std::string table = "xref\n0 ";
    appendInt(table, qint64(d->out.offsets().size()));
    table += "\n0000000000 65535 f \n";
    for (size_t i = 1; i < d->out.offsets().size(); ++i) {
        std::string number;
        appendInt(number, d->out.offsets()[i]);
        std::string line(10 - std::min<size_t>(10, number.size()), '0');
        line += number;
        line += " 00000 n \n";
        table += line;
    }
    table += "trailer\n<< /Size ";
    appendInt(table, qint64(d->out.offsets().size()));
    table += " /Root 1 0 R /Info 3 0 R >>\nstartxref\n";
    appendInt(table, xref);
    table += "\n%%EOF\n";
    d->out.append(table);
    d->out.flush();
    return !d->out.failed();
}

} // namespace zreport
