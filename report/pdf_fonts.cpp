#include "pdf_fonts.h"

#include "pdf_objects.h"
#include "text_metrics.h"
#include "truetype_subset.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace zreport::pdf {

EmbeddedFont::EmbeddedFont(const FontFace *face, const QRawFont &raw, int index)
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

EmbeddedFont &DocumentFonts::fontFor(const FontFace *face, const QRawFont &raw)
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

namespace {

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

void writeFont(Objects &out, const EmbeddedFont &font, int index)
{
    const int descendant = out.allocate(), descriptor = out.allocate(), toUnicode = out.allocate();
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
    out.object(font.object, dictionary);

    dictionary = "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + name +
                 " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
                 " /FontDescriptor ";
    appendInt(dictionary, descriptor);
    dictionary += " 0 R /CIDToGIDMap /Identity /W " + widthArray(font) + " >>";
    out.object(descendant, dictionary);

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
        fontFile = out.allocate();
        dictionary += " /FontFile2 ";
        appendInt(dictionary, fontFile);
        dictionary += " 0 R";
    }
    dictionary += " >>";
    out.object(descriptor, dictionary);
    if (fontFile) {
        std::string length = " /Length1 ";
        appendInt(length, subset.size());
        out.stream(fontFile, subset.toStdString(), length);
    }
    out.stream(toUnicode, toUnicodeCMap(font));
}

} // namespace zreport::pdf
