#pragma once

#include "report_model.h"

#include <QString>

#include <memory>
#include <vector>

// Character advances of a face on the 600-dpi measuring device, in whole dots.
//
// The advances come from the font file's own horizontal metrics (design units), scaled to the
// font's pixel size at 600 dpi and rounded to whole dots. They do not depend on hinting,
// anti-aliasing or the screen, so every machine with the same font files lays out text
// identically. "Arial" is resolved by the font configuration (Liberation Sans where Arial is
// not installed; both have the same advance widths).
namespace zreport {

class FontFace;

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

private:
    const FontFace *m_face = nullptr;
    int m_pixelSize = 0;
};

class TextMetrics {
public:
    static TextMetrics &instance();
    // The face is looked up once per family and style; a face stays valid for the process.
    MeasuringFont font(const ReportFont &font);
    static int pixelSizeAt600(int points);

private:
    TextMetrics() = default;
    const FontFace *face(const QString &family, bool bold, bool italic);

    struct Entry;
    std::vector<std::unique_ptr<Entry>> m_faces;
    std::vector<std::unique_ptr<FontFace>> m_ownedFaces;
};

// The family name the font configuration picked for a report font (for diagnostics).
QString resolvedFamily(const ReportFont &font);

} // namespace zreport
