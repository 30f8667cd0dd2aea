#include "text_decoding.h"

#include "data/kz1048.h"

#include <QStringDecoder>

namespace {

// Control characters that no table text holds: their presence means a binary file.
bool isBinaryByte(unsigned char b)
{
    return b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f';
}

// The upper-half bytes a Russian or Kazakh text in Windows-1251 (or KZ-1048) is made of:
// the letters, Ё/ё, the Kazakh letters, the quotes, dashes, "№" and the non-breaking blank.
// Another single-byte Cyrillic encoding (CP866, KOI8-R) puts its letters largely elsewhere.
bool isCommonSingleByte(unsigned char b)
{
    if (b >= 0xC0)
        return true;
    switch (b) {
    case 0x8D:
    case 0x8E:
    case 0x9D:
    case 0x9E: // Қ Һ қ һ
    case 0xA1:
    case 0xA2:
    case 0xA3:
    case 0xA5:
    case 0xAA:
    case 0xAF: // Ұ ұ Ә Ө Ғ Ү
    case 0xB4:
    case 0xBA:
    case 0xBC:
    case 0xBD:
    case 0xBE:
    case 0xBF: // ө ғ ә Ң ң ү
    case 0xA8:
    case 0xB8:
    case 0xB9:
    case 0xA0:
    case 0xAB:
    case 0xBB:
    case 0x96:
    case 0x97:
    case 0x93:
    case 0x94:
    case 0x84:
    case 0x91:
    case 0x92:
    case 0x85:
    case 0xB2:
    case 0xB3:
    case 0xB0:
    case 0xB1:
    case 0xA9:
    case 0xAE:
    case 0xA7:
    case 0x99:
        return true;
    default:
        return false;
    }
}

} // namespace

DecodedText decodeTableText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return {{},
                {},
                QStringLiteral("Файл записан в кодировке UTF-16. Сохраните его как CSV в "
                               "кодировке UTF-8 или Windows-1251.")};
    for (const char c : bytes) {
        if (isBinaryByte(static_cast<unsigned char>(c)))
            return {{},
                    {},
                    QStringLiteral("Файл не похож на таблицу CSV: в нём есть двоичные "
                                   "данные. Сохраните таблицу как CSV.")};
    }
    QByteArrayView body = bytes;
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    if (bom)
        body = body.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(body);
    if (!utf8.hasError())
        return {std::move(text), QStringLiteral("UTF-8"), {}};
    if (bom)
        return {{},
                {},
                QStringLiteral("Файл помечен как UTF-8, но содержит байты, которых в "
                               "UTF-8 не бывает.")};

    qsizetype high = 0, common = 0;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80) {
            ++high;
            common += isCommonSingleByte(b) ? 1 : 0;
        }
    }
    // A real Windows-1251 text has almost only letters in its upper half.
    if (common * 10 < high * 9)
        return {{},
                {},
                QStringLiteral("Не удалось определить кодировку файла. Сохраните его как "
                               "CSV в кодировке UTF-8 или Windows-1251.")};
    return {kz1048::decode(std::string_view(bytes.constData(), size_t(bytes.size()))),
            QStringLiteral("Windows-1251"),
            {}};
}
