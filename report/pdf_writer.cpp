#include "pdf_writer.h"

#include "page_canvas.h"
#include "prepared_report.h"
#include "text_metrics.h"
#include "truetype_subset.h"

#include <QIODevice>
#include <QRawFont>
#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace zreport {

namespace {

// Page content and file structure are ASCII text; numbers never go through the C locale.
void appendInt(std::string &out, long long v)
{
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, v).ptr;
    out.append(text, end);
}

void appendNumber(std::string &out, double v, int decimals = 2)
{
    const double scale = decimals == 2 ? 100 : std::pow(10, decimals);
    const double rounded = std::round(v * scale);
    if (std::fmod(rounded, scale) == 0) {
        appendInt(out, static_cast<long long>(rounded / scale));
        return;
    }
    char text[40];
    auto end =
        std::to_chars(text, text + sizeof text, rounded / scale, std::chars_format::fixed, decimals)
            .ptr;
    while (end[-1] == '0')
        --end;
    out.append(text, end);
}

void appendHex4(std::string &out, quint32 v)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    const char text[4] = {digits[(v >> 12) & 15], digits[(v >> 8) & 15], digits[(v >> 4) & 15],
                          digits[v & 15]};
    out.append(text, 4);
}

void appendColor(std::string &out, const QColor &color, const char *op)
{
    const QColor rgb = color.toRgb();
    appendNumber(out, rgb.redF(), 3);
    out += ' ';
    appendNumber(out, rgb.greenF(), 3);
    out += ' ';
    appendNumber(out, rgb.blueF(), 3);
    out += op;
}

std::string compressed(const std::string &data)
{
    uLongf size = compressBound(uLong(data.size()));
    std::string out(size, '\0');
    // The fastest level: the better levels cost several times the time for a file a few per
    // cent smaller.
    if (compress2(reinterpret_cast<Bytef *>(out.data()), &size,
                  reinterpret_cast<const Bytef *>(data.data()), uLong(data.size()),
                  Z_BEST_SPEED) != Z_OK)
        return {};
    out.resize(size);
    return out;
}

// A font name without the characters a PDF name or a PostScript name may not hold.
std::string postScriptName(const QRawFont &font)
{
    std::string name;
    const QString full = font.familyName() + QLatin1Char('-') + font.styleName();
    for (const QChar c : full) {
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
            c == u'-')
            name += char(c.unicode());
    }
    return name.empty() || name == "-" ? std::string("Font") : name;
}

// A font of the document: one face, embedded once as a subset of the glyphs used anywhere.
struct EmbeddedFont {
    const FontFace *face = nullptr;
    QRawFont raw;
    int object = 0;           // the Type0 font, numbered with the first page using it
    std::string resourceName; // "F1", ...
    std::vector<int> widths;  // by glyph, in thousandths of an em
    std::vector<bool> used;   // by glyph

    EmbeddedFont(const FontFace *face, const QRawFont &raw, int index)
        : face(face), raw(raw), resourceName("F" + std::to_string(index + 1))
    {
        const QByteArray maxp = raw.fontTable("maxp");
        const QByteArray hhea = raw.fontTable("hhea");
        const QByteArray hmtx = raw.fontTable("hmtx");
        const int glyphCount = maxp.size() >= 6 ? qFromBigEndian<quint16>(maxp.constData() + 4) : 1;
        int metrics = hhea.size() >= 36 ? qFromBigEndian<quint16>(hhea.constData() + 34) : 0;
        metrics = std::min<int>(metrics, int(hmtx.size() / 4));
        const double unitsPerEm = std::max(1.0, raw.unitsPerEm());
        widths.resize(size_t(std::max(1, glyphCount)));
        used.assign(widths.size(), false);
        for (size_t g = 0; g < widths.size() && metrics > 0; ++g) {
            const int index = std::min<int>(int(g), metrics - 1);
            const int advance = qFromBigEndian<quint16>(hmtx.constData() + 4 * index);
            widths[g] = int(std::lround(advance * 1000 / unitsPerEm));
        }
    }
};

// The fonts of the document and those of the page being drawn.
struct DocumentFonts {
    std::vector<std::unique_ptr<EmbeddedFont>> all;
    EmbeddedFont *last = nullptr;
    std::vector<EmbeddedFont *> onPage;

    EmbeddedFont &fontFor(const FontFace *face, const QRawFont &raw)
    {
        if (!last || last->face != face) {
            last = nullptr;
            for (const auto &font : all) {
                if (font->face == face)
                    last = font.get();
            }
            if (!last) {
                all.push_back(std::make_unique<EmbeddedFont>(face, raw, int(all.size())));
                last = all.back().get();
            }
        }
        if (std::find(onPage.begin(), onPage.end(), last) == onPage.end())
            onPage.push_back(last);
        return *last;
    }
};

// The images of the document, each written once when the first page showing it ends, and those
// of the page being drawn.
struct DocumentImages {
    struct Entry {
        const PreparedImage *image;
        int object = 0; // 0 until written
        std::string resourceName;
    };
    std::vector<Entry> all;
    std::vector<size_t> onPage;

    Entry &entryFor(const PreparedImage &image)
    {
        size_t index = 0;
        while (index < all.size() && all[index].image != &image &&
               all[index].image->data != image.data)
            ++index;
        if (index == all.size())
            all.push_back({&image, 0, "Im" + std::to_string(all.size() + 1)});
        if (std::find(onPage.begin(), onPage.end(), index) == onPage.end())
            onPage.push_back(index);
        return all[index];
    }
};

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
    QIODevice &device;
    QByteArray creator;
    QString title;
    std::string buffer; // written to the device in large pieces
    qint64 written = 0;
    bool failed = false;
    std::vector<qint64> offsets{0}; // by object number
    std::vector<int> pageObjects;
    DocumentFonts fonts;
    DocumentImages images;
    PdfCanvas canvas{fonts, images};
    double pageWidth = 0, pageHeight = 0;
    static constexpr int kCatalog = 1, kPages = 2, kInfo = 3;

    Impl(QIODevice &device, const QByteArray &creator, const QString &title)
        : device(device), creator(creator), title(title)
    {
        for (int i = 0; i < 3; ++i)
            allocate();
        append("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    }

    int allocate()
    {
        offsets.push_back(-1);
        return int(offsets.size() - 1);
    }
    void append(std::string_view text)
    {
        buffer += text;
        if (buffer.size() >= (1 << 18))
            flush();
    }
    void flush()
    {
        if (buffer.empty())
            return;
        if (device.write(buffer.data(), qint64(buffer.size())) != qint64(buffer.size()))
            failed = true;
        written += qint64(buffer.size());
        buffer.clear();
    }
    qint64 position() const { return written + qint64(buffer.size()); }
    void beginObject(int object)
    {
        offsets[size_t(object)] = position();
        std::string header;
        appendInt(header, object);
        header += " 0 obj\n";
        append(header);
    }
    void object(int object, std::string_view body)
    {
        beginObject(object);
        append(body);
        append("\nendobj\n");
    }
    // A stream compressed unless compressing fails; `dictionary` holds further entries.
    void stream(int object, const std::string &data, std::string_view dictionary = {})
    {
        const std::string packed = compressed(data);
        std::string head = "<< /Length ";
        appendInt(head, qint64(packed.empty() ? data.size() : packed.size()));
        if (!packed.empty())
            head += " /Filter /FlateDecode";
        head += dictionary;
        head += " >>\nstream\n";
        beginObject(object);
        append(head);
        append(packed.empty() ? data : packed);
        append("\nendstream\nendobj\n");
    }

    void writeFont(const EmbeddedFont &font, int index);
    void writeImage(const PreparedImage &image, int object);
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

// Text of a PDF string: the characters that end or escape one, escaped.
std::string pdfString(const QByteArray &text)
{
    std::string out = "(";
    for (const char c : text) {
        if (c == '(' || c == ')' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + ')';
}

// Text of any script for the document information: UTF-16 with its byte order mark, in hex.
std::string pdfTextString(const QString &text)
{
    std::string out = "<FEFF";
    for (const QChar c : text)
        appendHex4(out, c.unicode());
    return out + '>';
}

// Which character each used glyph shows, for copying and searching text: the lowest code point
// the font maps to the glyph.
std::string toUnicodeCMap(const EmbeddedFont &font)
{
    std::vector<char16_t> characters(font.used.size(), 0);
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const quint32 glyph = font.face->glyph(QChar(char16_t(c)));
        if (glyph > 0 && glyph < characters.size() && font.used[glyph] && !characters[glyph])
            characters[glyph] = char16_t(c);
    }
    std::vector<std::pair<quint32, char16_t>> mapped;
    for (size_t g = 0; g < characters.size(); ++g) {
        if (characters[g])
            mapped.emplace_back(quint32(g), characters[g]);
    }
    std::string cmap = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                       "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                       "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                       "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    for (size_t from = 0; from < mapped.size(); from += 100) {
        const size_t to = std::min(mapped.size(), from + 100);
        appendInt(cmap, qint64(to - from));
        cmap += " beginbfchar\n";
        for (size_t i = from; i < to; ++i) {
            cmap += '<';
            appendHex4(cmap, mapped[i].first);
            cmap += "> <";
            appendHex4(cmap, mapped[i].second);
            cmap += ">\n";
        }
        cmap += "endbfchar\n";
    }
    cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return cmap;
}

// The widths of the used glyphs, runs of consecutive ids sharing one entry.
std::string widthArray(const EmbeddedFont &font)
{
    std::string out = "[";
    for (size_t g = 0; g < font.used.size();) {
        if (!font.used[g]) {
            ++g;
            continue;
        }
        appendInt(out, qint64(g));
        out += " [";
        for (; g < font.used.size() && font.used[g]; ++g) {
            appendInt(out, font.widths[g]);
            out += ' ';
        }
        out.back() = ']';
        out += '\n';
    }
    return out + "]";
}

} // namespace

void PdfWriter::Impl::writeFont(const EmbeddedFont &font, int index)
{
    const int descendant = allocate(), descriptor = allocate(), toUnicode = allocate();
    // A subset's name starts with a tag of six capitals, different for each font.
    std::string name;
    for (int i = 0, n = index; i < 6; ++i, n /= 26)
        name.insert(name.begin(), char('A' + n % 26));
    name += '+' + postScriptName(font.raw);

    std::string dictionary = "<< /Type /Font /Subtype /Type0 /BaseFont /" + name +
                             " /Encoding /Identity-H /DescendantFonts [";
    appendInt(dictionary, descendant);
    dictionary += " 0 R] /ToUnicode ";
    appendInt(dictionary, toUnicode);
    dictionary += " 0 R >>";
    object(font.object, dictionary);

    dictionary = "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + name +
                 " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
                 " /FontDescriptor ";
    appendInt(dictionary, descriptor);
    dictionary += " 0 R /CIDToGIDMap /Identity /W " + widthArray(font) + " >>";
    object(descendant, dictionary);

    const QByteArray head = font.raw.fontTable("head");
    const double unitsPerEm = std::max(1.0, font.raw.unitsPerEm());
    const auto designUnits = [&](int at) {
        return head.size() >= at + 2
                   ? long(std::lround(qFromBigEndian<qint16>(head.constData() + at) * 1000 /
                                      unitsPerEm))
                   : 0L;
    };
    const double pixels = std::max(1.0, font.raw.pixelSize());
    const auto perMille = [&](double v) { return long(std::lround(v * 1000 / pixels)); };
    const QByteArray post = font.raw.fontTable("post");
    const double italicAngle =
        post.size() >= 8 ? qFromBigEndian<qint32>(post.constData() + 4) / 65536.0 : 0;
    dictionary = "<< /Type /FontDescriptor /FontName /" + name + " /Flags 4 /FontBBox [";
    for (const int at : {36, 38, 40, 42}) {
        appendInt(dictionary, designUnits(at));
        dictionary += at < 42 ? " " : "]";
    }
    dictionary += " /ItalicAngle ";
    appendNumber(dictionary, italicAngle);
    dictionary += " /Ascent ";
    appendInt(dictionary, perMille(font.raw.ascent()));
    dictionary += " /Descent ";
    appendInt(dictionary, -perMille(font.raw.descent()));
    dictionary += " /CapHeight ";
    appendInt(dictionary, perMille(font.raw.capHeight()));
    dictionary += " /StemV 80";
    const QByteArray subset = subsetTrueType(font.raw, font.used);
    int fontFile = 0;
    if (!subset.isEmpty()) {
        fontFile = allocate();
        dictionary += " /FontFile2 ";
        appendInt(dictionary, fontFile);
        dictionary += " 0 R";
    }
    dictionary += " >>";
    object(descriptor, dictionary);
    if (fontFile) {
        std::string length = " /Length1 ";
        appendInt(length, subset.size());
        stream(fontFile, subset.toStdString(), length);
    }
    stream(toUnicode, toUnicodeCMap(font));
}

namespace {

// The colour components of a baseline or progressive JPEG (from its frame header); 0 when the
// data is no JPEG a PDF viewer decodes as it is.
int jpegComponents(const QByteArray &data)
{
    const auto byte = [&](qsizetype at) { return quint8(data[at]); };
    if (data.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8)
        return 0;
    qsizetype at = 2;
    while (at + 4 <= data.size()) {
        if (byte(at) != 0xFF)
            return 0;
        const quint8 marker = byte(at + 1);
        const int length = byte(at + 2) << 8 | byte(at + 3);
        if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
            if (at + 10 > data.size() || byte(at + 4) != 8)
                return 0;
            return byte(at + 9);
        }
        if (marker == 0xDA || length < 2)
            return 0;
        at += 2 + length;
    }
    return 0;
}

} // namespace

void PdfWriter::Impl::writeImage(const PreparedImage &image, int object)
{
    std::string dictionary = " /Type /XObject /Subtype /Image /Width ";
    appendInt(dictionary, image.image.width());
    dictionary += " /Height ";
    appendInt(dictionary, image.image.height());
    dictionary += " /BitsPerComponent 8";
    const int components = jpegComponents(image.data);
    if (components == 1 || components == 3) {
        dictionary += components == 1 ? " /ColorSpace /DeviceGray" : " /ColorSpace /DeviceRGB";
        std::string head = "<< /Length ";
        appendInt(head, image.data.size());
        head += " /Filter /DCTDecode" + dictionary + " >>\nstream\n";
        beginObject(object);
        append(head);
        append(std::string_view(image.data.constData(), size_t(image.data.size())));
        append("\nendstream\nendobj\n");
        return;
    }
    const QImage argb = image.image.convertToFormat(QImage::Format_ARGB32);
    const size_t pixels = size_t(argb.width()) * size_t(argb.height());
    std::string colours(pixels * 3, '\0'), alpha(pixels, '\0');
    char *colour = colours.data();
    char *coverage = alpha.data();
    int allAlpha = 255;
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb p = line[x];
            *colour++ = char(qRed(p));
            *colour++ = char(qGreen(p));
            *colour++ = char(qBlue(p));
            *coverage++ = char(qAlpha(p));
            allAlpha &= qAlpha(p);
        }
    }
    const bool opaque = allAlpha == 255;
    dictionary += " /ColorSpace /DeviceRGB";
    if (!opaque) {
        const int mask = allocate();
        std::string maskDictionary = " /Type /XObject /Subtype /Image /Width ";
        appendInt(maskDictionary, argb.width());
        maskDictionary += " /Height ";
        appendInt(maskDictionary, argb.height());
        maskDictionary += " /BitsPerComponent 8 /ColorSpace /DeviceGray";
        stream(mask, alpha, maskDictionary);
        dictionary += " /SMask ";
        appendInt(dictionary, mask);
        dictionary += " 0 R";
    }
    stream(object, colours, dictionary);
}

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
    const int contents = d->allocate(), page = d->allocate();
    d->stream(contents, d->canvas.content);
    for (const size_t index : d->images.onPage) {
        DocumentImages::Entry &entry = d->images.all[index];
        if (!entry.object) {
            entry.object = d->allocate();
            d->writeImage(*entry.image, entry.object);
        }
    }
    std::string dictionary = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 ";
    appendNumber(dictionary, d->pageWidth);
    dictionary += ' ';
    appendNumber(dictionary, d->pageHeight);
    dictionary += "] /Resources << /Font <<";
    for (EmbeddedFont *font : d->fonts.onPage) {
        if (!font->object)
            font->object = d->allocate();
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
    d->object(page, dictionary);
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
        d->writeFont(*d->fonts.all[i], int(i));
    std::string kids = "<< /Type /Pages /Kids [";
    for (const int page : d->pageObjects) {
        appendInt(kids, page);
        kids += " 0 R ";
    }
    kids += "] /Count ";
    appendInt(kids, qint64(d->pageObjects.size()));
    kids += " >>";
    d->object(Impl::kPages, kids);
    d->object(Impl::kCatalog, "<< /Type /Catalog /Pages 2 0 R >>");
    std::string info =
        "<< /Creator " + pdfString(d->creator) + " /Producer " + pdfString(d->creator);
    if (!d->title.isEmpty())
        info += " /Title " + pdfTextString(d->title);
    d->object(Impl::kInfo, info + " >>");

    const qint64 xref = d->position();
    std::string table = "xref\n0 ";
    appendInt(table, qint64(d->offsets.size()));
    table += "\n0000000000 65535 f \n";
    for (size_t i = 1; i < d->offsets.size(); ++i) {
        std::string number;
        appendInt(number, d->offsets[i]);
        std::string line(10 - std::min<size_t>(10, number.size()), '0');
        line += number;
        line += " 00000 n \n";
        table += line;
    }
    table += "trailer\n<< /Size ";
    appendInt(table, qint64(d->offsets.size()));
    table += " /Root 1 0 R /Info 3 0 R >>\nstartxref\n";
    appendInt(table, xref);
    table += "\n%%EOF\n";
    d->append(table);
    d->flush();
    return !d->failed;
}

} // namespace zreport
