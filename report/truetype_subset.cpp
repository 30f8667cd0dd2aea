#include "truetype_subset.h"

#include <QRawFont>
#include <QtEndian>

#include <algorithm>
#include <array>

namespace zreport {

namespace {

quint16 u16(const QByteArray &data, qsizetype at)
{
    return qFromBigEndian<quint16>(data.constData() + at);
}

void appendU16(QByteArray &out, quint32 v)
{
    const char bytes[2] = {char(v >> 8), char(v)};
    out.append(bytes, 2);
}

void appendU32(QByteArray &out, quint32 v)
{
    const char bytes[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(bytes, 4);
}

quint32 tableChecksum(const QByteArray &table)
{
    quint32 sum = 0;
    const auto *bytes = reinterpret_cast<const uchar *>(table.constData());
    for (qsizetype i = 0; i < table.size(); i += 4) {
        quint32 word = 0;
        for (int k = 0; k < 4; ++k)
            word = (word << 8) | (i + k < table.size() ? bytes[i + k] : 0);
        sum += word;
    }
    return sum;
}

// Glyph ids of the components a composite glyph is built from; none for a simple glyph.
std::vector<quint32> componentsOf(const char *glyph, qsizetype size)
{
    std::vector<quint32> components;
    if (size < 10 || qFromBigEndian<qint16>(glyph) >= 0)
        return components;
    constexpr quint16 argsAreWords = 0x1, hasScale = 0x8, moreComponents = 0x20, hasXYScale = 0x40,
                      hasTwoByTwo = 0x80;
    qsizetype at = 10;
    for (;;) {
        if (at + 4 > size)
            break;
        const quint16 flags = qFromBigEndian<quint16>(glyph + at);
        components.push_back(qFromBigEndian<quint16>(glyph + at + 2));
        at += 4 + ((flags & argsAreWords) ? 4 : 2);
        if (flags & hasScale)
            at += 2;
        else if (flags & hasXYScale)
            at += 4;
        else if (flags & hasTwoByTwo)
            at += 8;
        if (!(flags & moreComponents))
            break;
    }
    return components;
}

} // namespace

QByteArray subsetTrueType(const QRawFont &font, const std::vector<bool> &used)
{
    QByteArray head = font.fontTable("head");
    const QByteArray maxp = font.fontTable("maxp");
    const QByteArray loca = font.fontTable("loca");
    const QByteArray glyf = font.fontTable("glyf");
    if (head.size() < 54 || maxp.size() < 6 || loca.isEmpty() || glyf.isEmpty())
        return {};
    const bool longOffsets = u16(head, 50) != 0;
    const int glyphCount = u16(maxp, 4);
    if (loca.size() < (glyphCount + 1) * (longOffsets ? 4 : 2))
        return {};
    const auto offset = [&](int glyph) -> qsizetype {
        return longOffsets ? qsizetype(qFromBigEndian<quint32>(loca.constData() + 4 * glyph))
                           : qsizetype(u16(loca, 2 * glyph)) * 2;
    };
    const auto glyphBytes = [&](int glyph) {
        const qsizetype from = offset(glyph), to = offset(glyph + 1);
        if (from > to || to > glyf.size())
            return QByteArrayView();
        return QByteArrayView(glyf.constData() + from, to - from);
    };

    // The used glyphs and, transitively, the components they are made of.
    std::vector<bool> keep(size_t(glyphCount), false);
    std::vector<quint32> pending{0};
    for (size_t g = 0; g < used.size() && g < keep.size(); ++g) {
        if (used[g])
            pending.push_back(quint32(g));
    }
    while (!pending.empty()) {
        const quint32 glyph = pending.back();
        pending.pop_back();
        if (glyph >= keep.size() || keep[glyph])
            continue;
        keep[glyph] = true;
        const QByteArrayView bytes = glyphBytes(int(glyph));
        for (const quint32 component : componentsOf(bytes.data(), bytes.size()))
            pending.push_back(component);
    }

    QByteArray newGlyf, newLoca;
    const auto appendOffset = [&] {
        if (longOffsets)
            appendU32(newLoca, quint32(newGlyf.size()));
        else
            appendU16(newLoca, quint32(newGlyf.size() / 2));
    };
    for (int g = 0; g < glyphCount; ++g) {
        appendOffset();
        if (keep[size_t(g)]) {
            newGlyf.append(glyphBytes(g));
            while (newGlyf.size() % (longOffsets ? 4 : 2))
                newGlyf.append('\0');
        }
    }
    appendOffset();

    head.replace(8, 4, QByteArray(4, '\0')); // the whole file's checksum no longer holds
    // Sorted by tag, as the table directory must be.
    const std::array<std::pair<const char *, QByteArray>, 9> tables{{
        {"cvt ", font.fontTable("cvt ")},
        {"fpgm", font.fontTable("fpgm")},
        {"glyf", newGlyf},
        {"head", head},
        {"hhea", font.fontTable("hhea")},
        {"hmtx", font.fontTable("hmtx")},
        {"loca", newLoca},
        {"maxp", maxp},
        {"prep", font.fontTable("prep")},
    }};
    const int count = int(std::count_if(tables.begin(), tables.end(),
                                        [](const auto &t) { return !t.second.isEmpty(); }));
    int power = 1, log2 = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log2;
    }
    QByteArray file;
    appendU32(file, 0x00010000);
    appendU16(file, quint32(count));
    appendU16(file, quint32(power * 16));
    appendU16(file, quint32(log2));
    appendU16(file, quint32(count * 16 - power * 16));
    qsizetype dataOffset = 12 + 16 * count;
    QByteArray data;
    for (const auto &[tag, table] : tables) {
        if (table.isEmpty())
            continue;
        file.append(tag, 4);
        appendU32(file, tableChecksum(table));
        appendU32(file, quint32(dataOffset + data.size()));
        appendU32(file, quint32(table.size()));
        data.append(table);
        while (data.size() % 4)
            data.append('\0');
    }
    return file + data;
}

} // namespace zreport
