#include "data/fb_connection.h"
#include "data/kz1048.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <optional>
#include <string>

namespace {

// One byte through the C library's converter, as a UTF-16 code unit; nothing where the
// converter has no character for it.
std::optional<char16_t> iconvDecode(const char *codePage, unsigned char byte)
{
    iconv_t cd = iconv_open("UTF-16LE", codePage);
    if (cd == iconv_t(-1))
        return std::nullopt;
    char in[1] = {char(byte)};
    char out[4] = {};
    char *inPtr = in, *outPtr = out;
    size_t inLeft = 1, outLeft = sizeof out;
    const size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == size_t(-1) || outLeft != 2)
        return std::nullopt;
    return char16_t(static_cast<unsigned char>(out[0]) | static_cast<unsigned char>(out[1]) << 8);
}

// The table is KZ-1048 as the C library knows it, and every byte that is not one of the
// sixteen Kazakh places reads as Windows-1251 read it: files written before the change keep
// their Russian text.
TEST(Kz1048, MatchesTheStandardAndWindows1251OutsideTheKazakhLetters)
{
    const std::u16string kazakh = u"ҚҺқһҰұӘӨҒҮөғәҢңү";
    int kazakhPlaces = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const char c = char(byte);
        const QString decoded = kz1048::decode(std::string_view(&c, 1));
        ASSERT_EQ(decoded.size(), 1);
        const char16_t ours = decoded.at(0).unicode();
        if (const auto standard = iconvDecode("RK1048", byte)) {
            EXPECT_EQ(ours, *standard) << "byte " << byte;
        } else {
            EXPECT_EQ(ours, char16_t(byte)) << "byte " << byte << " has no character";
        }
        if (kazakh.find(ours) != std::u16string::npos) {
            ++kazakhPlaces;
            continue;
        }
        if (const auto windows = iconvDecode("CP1251", byte)) {
            EXPECT_EQ(ours, *windows) << "byte " << byte;
        }
        // Every character that has a place comes back to that place.
        EXPECT_EQ(kz1048::encode(decoded), QByteArray(1, c)) << "byte " << byte;
    }
    EXPECT_EQ(kazakhPlaces, 16);
}

TEST(Kz1048, KazakhNamesRoundTripAndOtherCharactersAreNamed)
{
    const QString name = QStringLiteral("ТОО «Құрылыс-Өнім», Әуезов көшесі, № 5 — Ғарыш Үй Һ");
    const auto bytes = kz1048::encode(name);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), name.size());
    EXPECT_EQ(kz1048::decode(std::string_view(bytes->constData(), size_t(bytes->size()))), name);

    EXPECT_FALSE(kz1048::encode(QStringLiteral("Ў 中 ²")));
    EXPECT_EQ(kz1048::unencodable(QStringLiteral("Ўў 中 ² 中")), QStringLiteral("Ўў中²"));
}

// The engine's messages carry the database's single-byte names, and the system's words (a full
// disk) in the locale's UTF-8: each reads as written.
TEST(EngineText, SingleByteNamesAndTheSystemsUtf8WordsBothRead)
{
    const QByteArray name = *kz1048::encode(QStringLiteral("таблица «Құрылыс»"));
    const QByteArray systemWords = QStringLiteral("На устройстве не осталось места").toUtf8();
    const struct {
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"free disk space exhausted", QStringLiteral("free disk space exhausted")},
        {name, QStringLiteral("таблица «Құрылыс»")},
        {systemWords, QStringLiteral("На устройстве не осталось места")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(engineText(std::string_view(c.bytes.constData(), size_t(c.bytes.size()))),
                  c.text);
    }
}

} // namespace
