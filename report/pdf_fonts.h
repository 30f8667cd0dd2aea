#pragma once

#include <QRawFont>

#include <memory>
#include <string>
#include <vector>

// The fonts of a PDF: each face embedded once, after the last page, as a subset of the glyphs
// used anywhere in the document, with its widths and the characters its glyphs show.
namespace zreport {

class FontFace;

namespace pdf {

class Objects;

struct EmbeddedFont {
    const FontFace *face = nullptr;
    QRawFont raw;
    int object = 0;           // the Type0 font, numbered with the first page using it
    std::string resourceName; // "F1", ...
    std::vector<int> widths;  // by glyph, in thousandths of an em
    std::vector<bool> used;   // by glyph

    EmbeddedFont(const FontFace *face, const QRawFont &raw, int index);
};

// The fonts of the document and those of the page being drawn.
struct DocumentFonts {
    std::vector<std::unique_ptr<EmbeddedFont>> all;
    EmbeddedFont *last = nullptr;
    std::vector<EmbeddedFont *> onPage;

    EmbeddedFont &fontFor(const FontFace *face, const QRawFont &raw);
};

// The font's objects: the Type0 font (at font.object), its descendant, descriptor, subset and
// ToUnicode map. `index` gives the subset its own name tag.
void writeFont(Objects &out, const EmbeddedFont &font, int index);

} // namespace pdf
} // namespace zreport
