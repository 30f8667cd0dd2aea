#pragma once

#include <QByteArray>

#include <vector>

class QRawFont;

// A TrueType font file holding only the outlines a document uses, for embedding in a PDF.
namespace zreport {

// The font file with glyph ids unchanged: the outlines of the glyphs marked in `used` (by id),
// of the components of composite ones and of glyph 0 stay, every other glyph is left empty
// (its loca entry repeats the next offset). The hinting and metric tables are copied as they
// are. Empty when the font has no TrueType outlines (glyf and loca) or they are malformed.
QByteArray subsetTrueType(const QRawFont &font, const std::vector<bool> &used);

} // namespace zreport
