#pragma once

#include "report_model.h"

#include <QRawFont>
#include <QRectF>
#include <QString>

#include <memory>
#include <vector>

// The one cache of fonts: each face is resolved once per family and style and serves both the
// layout (advances on the 600-dpi measuring device) and the drawing (glyphs, their ink boxes
// and raw fonts at device sizes).
//
// Character advances on the measuring device are in whole dots.
//
// The advances come from the font file's own horizontal metrics (design units), scaled to the
// font's pixel size at 600 dpi and rounded to whole dots. They do not depend on hinting,
// anti-aliasing or the screen, so every machine with the same font files lays out text
// identically. "Arial" is resolved by the font configuration (Liberation Sans where Arial is
// not installed; both have the same advance widths).
namespace zreport {

class FontFace;

// A face at one device pixel size, with the metrics that drawing needs.
struct DeviceFont {
    QRawFont raw;
    double ascent = 0;
    double descent = 0;
    double underlinePosition = 0;
    double lineThickness = 0;
    double xHeight = 0;
};

class FontFace {
public:
    explicit FontFace(const QRawFont &raw);
    ~FontFace();

    int unitsPerEm() const { return m_unitsPerEm; }
    QString familyName() const;
    int designAdvance(QChar c) const { return m_advances[c.unicode()]; }
    int designAdvanceOfCodePoint(char32_t codePoint) const;

    quint32 glyph(QChar c) const { return m_glyphs[c.unicode()]; }
    // A character this face has no glyph for is measured and drawn with the fallback face
    // when that one has it, so that it prints rather than as an empty box.
    bool fromFallback(QChar c) const { return m_fromFallback[c.unicode()]; }
    const FontFace *fallback() const { return m_fallback; }
    void setFallback(const FontFace *fallback);
    quint32 glyphOfCodePoint(char32_t codePoint) const;
    // The glyph's ink box at a pixel size of 1 (y down from the baseline); empty for no ink.
    QRectF inkBox(quint32 glyph) const;

    // Made once per size; sizes beyond a few dozen (zooming through many) are made again.
    DeviceFont atPixelSize(int pixelSize) const;

private:
    int designAdvanceOfGlyph(quint32 glyph) const;

    struct Impl;
    std::unique_ptr<Impl> d;
    int m_unitsPerEm = 2048;
    std::vector<quint16> m_advances;  // by UTF-16 code unit
    std::vector<quint32> m_glyphs;    // by UTF-16 code unit
    std::vector<bool> m_fromFallback; // by UTF-16 code unit
    const FontFace *m_fallback = nullptr;
};

class MeasuringFont {
public:
    MeasuringFont() = default;
    MeasuringFont(const FontFace *face, int pixelSize) : m_face(face), m_pixelSize(pixelSize) {}

    // round(points * 600 / 72): the font height on the measuring device.
    int pixelSize() const { return m_pixelSize; }
    int advance(QChar c) const;
    // Advance of a code point given by a surrogate pair starting at text[i].
    int advanceAt(QStringView text, qsizetype i) const;
    // Appends the running sum of advances (plus extra dots per character) for text[from, to).
    void cumulativeAdvances(QStringView text, int extraPerChar, std::vector<int> &out) const;
    const FontFace *face() const { return m_face; }

private:
    const FontFace *m_face = nullptr;
    int m_pixelSize = 0;
};

class TextMetrics {
public:
    static TextMetrics &instance();
    // The face is looked up once per family and style; a face stays valid for the process.
    MeasuringFont font(const ReportFont &font);
    const FontFace *face(const ReportFont &font) { return face(font.name, font.bold, font.italic); }
    static int pixelSizeAt600(int points);

private:
    TextMetrics() = default;
    const FontFace *face(const QString &family, bool bold, bool italic);
    // The face a family and style resolve to, made once per font file; the caller holds the
    // lock.
    FontFace *resolve(const QString &family, bool bold, bool italic);

    struct Entry;
    std::vector<std::unique_ptr<Entry>> m_faces;
    std::vector<std::unique_ptr<FontFace>> m_ownedFaces;
};

// The family name the font configuration picked for a report font (for diagnostics).
QString resolvedFamily(const ReportFont &font);

} // namespace zreport
