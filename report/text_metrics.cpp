#include "text_metrics.h"

#include <QFont>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QRawFont>
#include <QtEndian>

#include <cmath>
#include <mutex>

namespace zreport {

struct FontFace::Impl {
    QRawFont raw; // at 100 pixels
    QByteArray hmtx;
    int metricCount = 0;
    mutable QMutex mutex;
    mutable std::once_flag inkBoxesMade;
    mutable std::vector<QRectF> inkBoxes; // by glyph, at a pixel size of 1
    mutable QHash<int, DeviceFont> sizes;
};

FontFace::FontFace(const QRawFont &raw) : d(std::make_unique<Impl>())
{
    d->raw = raw;
    m_unitsPerEm = std::max(1, int(std::lround(raw.unitsPerEm())));
    const QByteArray hhea = raw.fontTable("hhea");
    d->hmtx = raw.fontTable("hmtx");
    if (hhea.size() >= 36)
        d->metricCount = qFromBigEndian<quint16>(hhea.constData() + 34);
    d->metricCount = std::min<int>(d->metricCount, int(d->hmtx.size() / 4));
    m_advances.assign(0x10000, 0);
    m_glyphs.assign(0x10000, 0);
    m_fromFallback.assign(0x10000, false);
    QString chars;
    chars.reserve(0x10000);
    for (int c = 0; c < 0x10000; ++c) {
        if (c < 0xD800 || c > 0xDFFF)
            chars += QChar(char16_t(c));
    }
    const QList<quint32> glyphs = raw.glyphIndexesForString(chars);
    for (qsizetype i = 0; i < chars.size() && i < glyphs.size(); ++i) {
        m_glyphs[chars.at(i).unicode()] = glyphs[i];
        m_advances[chars.at(i).unicode()] = quint16(designAdvanceOfGlyph(glyphs[i]));
    }
}

FontFace::~FontFace() = default;

QString FontFace::familyName() const
{
    return d->raw.familyName();
}

void FontFace::setFallback(const FontFace *fallback)
{
    m_fallback = fallback;
    for (int c = 0x20; c < 0x10000; ++c) {
        const QChar ch{char16_t(c)};
        if (m_glyphs[size_t(c)] != 0 || ch.isSurrogate() || fallback->glyph(ch) == 0)
            continue;
        m_fromFallback[size_t(c)] = true;
        // In this face's design units, so that measuring needs no second scale.
        m_advances[size_t(c)] = quint16(std::lround(double(fallback->designAdvance(ch)) *
                                                    m_unitsPerEm / fallback->unitsPerEm()));
    }
}

int FontFace::designAdvanceOfGlyph(quint32 glyph) const
{
    if (d->metricCount <= 0)
        return 0;
    const int index = glyph < quint32(d->metricCount) ? int(glyph) : d->metricCount - 1;
    return qFromBigEndian<quint16>(d->hmtx.constData() + 4 * index);
}

quint32 FontFace::glyphOfCodePoint(char32_t codePoint) const
{
    QMutexLocker lock(&d->mutex);
    const QList<quint32> glyphs = d->raw.glyphIndexesForString(QString::fromUcs4(&codePoint, 1));
    return glyphs.isEmpty() ? 0 : glyphs.first();
}

int FontFace::designAdvanceOfCodePoint(char32_t codePoint) const
{
    return designAdvanceOfGlyph(glyphOfCodePoint(codePoint));
}

QRectF FontFace::inkBox(quint32 glyph) const
{
    std::call_once(d->inkBoxesMade, [this] {
        QMutexLocker lock(&d->mutex);
        const QByteArray maxp = d->raw.fontTable("maxp");
        const int count = maxp.size() >= 6 ? qFromBigEndian<quint16>(maxp.constData() + 4) : 0;
        const double size = d->raw.pixelSize();
        d->inkBoxes.resize(size_t(count));
        for (int g = 0; g < count; ++g) {
            const QRectF box = d->raw.boundingRect(quint32(g));
            d->inkBoxes[size_t(g)] = QRectF(box.topLeft() / size, box.size() / size);
        }
    });
    // A glyph the table does not know gets a box as large as the em square to be safe.
    return glyph < d->inkBoxes.size() ? d->inkBoxes[glyph] : QRectF(-1, -2, 3, 3);
}

DeviceFont FontFace::atPixelSize(int pixelSize) const
{
    QMutexLocker lock(&d->mutex);
    auto it = d->sizes.constFind(pixelSize);
    if (it != d->sizes.constEnd())
        return it.value();
    if (d->sizes.size() >= 64)
        d->sizes.clear();
    DeviceFont font;
    font.raw = d->raw;
    font.raw.setPixelSize(pixelSize);
    font.ascent = font.raw.ascent();
    font.descent = font.raw.descent();
    font.underlinePosition = font.raw.underlinePosition();
    font.lineThickness = font.raw.lineThickness();
    font.xHeight = font.raw.xHeight();
    d->sizes.insert(pixelSize, font);
    return font;
}

struct TextMetrics::Entry {
    QString family;
    bool bold = false;
    bool italic = false;
    QString resolved;
    FontFace *face = nullptr;
};

static int scaledAdvance(int design, int pixelSize, int unitsPerEm)
{
    // Rounded to the nearest whole dot, halves up.
    return int((qint64(design) * pixelSize * 2 + unitsPerEm) / (qint64(unitsPerEm) * 2));
}

int MeasuringFont::advance(QChar c) const
{
    if (!m_face)
        return 0;
    return scaledAdvance(m_face->designAdvance(c), m_pixelSize, m_face->unitsPerEm());
}

int MeasuringFont::advanceAt(QStringView text, qsizetype i) const
{
    const QChar c = text.at(i);
    if (!m_face)
        return 0;
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        const char32_t codePoint = QChar::surrogateToUcs4(c, text.at(i + 1));
        return scaledAdvance(m_face->designAdvanceOfCodePoint(codePoint), m_pixelSize,
                             m_face->unitsPerEm());
    }
    if (c.isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate())
        return 0; // measured with its high half
    return advance(c);
}

void MeasuringFont::cumulativeAdvances(QStringView text, int extraPerChar,
                                       std::vector<int> &out) const
{
    out.resize(size_t(text.size()) + 1);
    int sum = 0;
    out[0] = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        sum += (c.isSurrogate() ? advanceAt(text, i) : advance(c)) + extraPerChar;
        out[size_t(i) + 1] = sum;
    }
}

TextMetrics &TextMetrics::instance()
{
    static TextMetrics metrics;
    return metrics;
}

int TextMetrics::pixelSizeAt600(int points)
{
    return int(std::floor(points * 600.0 / 72.0 + 0.5));
}

static QFont platformFont(const QString &family, bool bold, bool italic)
{
    QFont font(family);
    font.setBold(bold);
    font.setItalic(italic);
    font.setPixelSize(100);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

// Faces with a wide choice of letters, for the characters a report's own face lacks.
static const QStringList &fallbackFamilies()
{
    static const QStringList families = {QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans"),
                                         QStringLiteral("FreeSans")};
    return families;
}

const FontFace *TextMetrics::face(const QString &family, bool bold, bool italic)
{
    static QMutex mutex;
    QMutexLocker lock(&mutex);
    FontFace *found = resolve(family, bold, italic);
    if (found->fallback() || fallbackFamilies().contains(found->familyName()))
        return found;
    for (const QString &candidate : fallbackFamilies()) {
        const FontFace *fallback = resolve(candidate, bold, italic);
        if (fallback->familyName() == candidate && fallback != found) {
            found->setFallback(fallback);
            break;
        }
    }
    return found;
}

FontFace *TextMetrics::resolve(const QString &family, bool bold, bool italic)
{
    for (const auto &entry : m_faces) {
        if (entry->bold == bold && entry->italic == italic &&
            entry->family.compare(family, Qt::CaseInsensitive) == 0)
            return entry->face;
    }
    // Faces are shared by the font file they resolve to, so names that fall back to the same
    // face (any number of them, say from a hostile file) cost one table.
    const QRawFont raw = QRawFont::fromFont(platformFont(family, bold, italic));
    const QString resolved = raw.familyName() + QLatin1Char('/') + raw.styleName();
    FontFace *shared = nullptr;
    for (const auto &entry : m_faces) {
        if (entry->resolved == resolved) {
            shared = entry->face;
            break;
        }
    }
    if (!shared) {
        m_ownedFaces.push_back(std::make_unique<FontFace>(raw));
        shared = m_ownedFaces.back().get();
    }
    if (m_faces.size() > 1000) // names only; the faces stay
        m_faces.clear();
    auto entry = std::make_unique<Entry>();
    entry->family = family;
    entry->bold = bold;
    entry->italic = italic;
    entry->resolved = resolved;
    entry->face = shared;
    m_faces.push_back(std::move(entry));
    return shared;
}

MeasuringFont TextMetrics::font(const ReportFont &font)
{
    return MeasuringFont(face(font.name, font.bold, font.italic), pixelSizeAt600(font.pointSize()));
}

QString resolvedFamily(const ReportFont &font)
{
    return QRawFont::fromFont(platformFont(font.name, font.bold, font.italic)).familyName();
}

} // namespace zreport
