#include "text_decoding.h"

#include "data/kz1048.h"

#include <QStringDecoder>

namespace {

// Control characters that no table text holds: their presence means a binary file.
bool isBinaryByte(unsigned char b)
{
    return b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f';
}

// Russian letters of Windows-1251 (and of KZ-1048): А-я and Ё, ё. Another single-byte
// Cyrillic encoding (CP866, Mac) puts most of its letters elsewhere in the upper half, so a
// text whose upper half is not mostly these is of an encoding this program does not read.
bool isRussianLetterByte(unsigned char b)
{
    return b >= 0xC0 || b == 0xA8 || b == 0xB8;
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

    qsizetype high = 0, letters = 0;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80) {
            ++high;
            letters += isRussianLetterByte(b) ? 1 : 0;
        }
    }
    // Kazakh letters, quotes, dashes and "№" leave a real Windows-1251 or KZ-1048 text well
    // above this; CP866 puts two thirds of the Russian letters below it.
    if (letters * 10 < high * 6)
        return {{},
                {},
                QStringLiteral("Не удалось определить кодировку файла. Сохраните его как "
                               "CSV в кодировке UTF-8 или Windows-1251.")};
    return {kz1048::decode(std::string_view(bytes.constData(), size_t(bytes.size()))),
            QStringLiteral("Windows-1251"),
            {}};
}
