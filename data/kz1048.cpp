#include "kz1048.h"

#include <array>
#include <unordered_map>

namespace kz1048 {
namespace {

// Upper half of the code page: Windows-1251 with sixteen of its rarely used Serbian,
// Macedonian, Ukrainian and Belarusian letters given to the Kazakh ones (0x8D Қ, 0xA3 Ә, …).
// 0x98 has no character and maps to U+0098 so that every byte survives a round trip.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x049A, 0x04BA, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x049B, 0x04BB, 0x045F, 0x00A0, 0x04B0, 0x04B1, 0x04D8,
    0x00A4, 0x04E8, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0492, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x04AE,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x04E9, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0493, 0x00BB,
    0x04D9, 0x04A2, 0x04A3, 0x04AF, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

const std::unordered_map<char16_t, char> &reverseTable()
{
    static const std::unordered_map<char16_t, char> table = [] {
        std::unordered_map<char16_t, char> t;
        for (size_t i = 0; i < kUpperHalf.size(); ++i)
            t.emplace(kUpperHalf[i], static_cast<char>(0x80 + i));
        return t;
    }();
    return table;
}

std::optional<char> encodeChar(char16_t c)
{
    if (c < 0x80)
        return static_cast<char>(c);
    const auto &table = reverseTable();
    if (auto it = table.find(c); it != table.end())
        return it->second;
    return std::nullopt;
}

} // namespace

QString decode(std::string_view bytes)
{
    QString result(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar *out = result.data();
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *out++ = QChar(u < 0x80 ? char16_t(u) : kUpperHalf[u - 0x80]);
    }
    return result;
}

std::optional<QByteArray> encode(const QString &text)
{
    QByteArray result(text.size(), Qt::Uninitialized);
    char *out = result.data();
    for (QChar c : text) {
        const auto b = encodeChar(c.unicode());
        if (!b)
            return std::nullopt;
        *out++ = *b;
    }
    return result;
}

QString unencodable(const QString &text)
{
    QString result;
    for (QChar c : text) {
        if (!encodeChar(c.unicode()) && !result.contains(c))
            result += c;
    }
    return result;
}

} // namespace kz1048

QString unstorableText(const QString &fieldCaption, const QString &text)
{
    return QStringLiteral("Текст поля «%1» содержит символы, которые нельзя сохранить в базе "
                          "данных: %2")
        .arg(fieldCaption, kz1048::unencodable(text));
}
