#include "param_names.h"
#include "scoped_locale.h"
#include "words/amount_words.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <charconv>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>

namespace {

std::string text(const std::optional<QString> &words)
{
    return words ? words->toStdString() : std::string("(nothing)");
}

// Shortest text that reads back as the same double, for readable test names.
std::string shortest(double value)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

struct Spelling {
    double value;
    const char *amount;
    const char *quantity;
};

void PrintTo(const Spelling &spelling, std::ostream *os)
{
    *os << shortest(spelling.value);
}

const Spelling spellings[] = {
    {0, "Ноль тенге 00 тиын", "Ноль"},
    {1, "Один тенге 00 тиын", "Один"},
    {2, "Два тенге 00 тиын", "Два"},
    {3, "Три тенге 00 тиын", "Три"},
    {11, "Одиннадцать тенге 00 тиын", "Одиннадцать"},
    {12, "Двенадцать тенге 00 тиын", "Двенадцать"},
    {111, "Сто одиннадцать тенге 00 тиын", "Сто одиннадцать"},
    {21, "Двадцать один тенге 00 тиын", "Двадцать один"},
    {22, "Двадцать два тенге 00 тиын", "Двадцать два"},
    {32, "Тридцать два тенге 00 тиын", "Тридцать два"},
    {47, "Сорок семь тенге 00 тиын", "Сорок семь"},
    {65, "Шестьдесят пять тенге 00 тиын", "Шестьдесят пять"},
    {94, "Девяносто четыре тенге 00 тиын", "Девяносто четыре"},
    {101, "Сто один тенге 00 тиын", "Сто один"},
    {1000, "Одна тысяча тенге 00 тиын", "Одна тысяча"},
    {1001, "Одна тысяча один тенге 00 тиын", "Одна тысяча один"},
    {1002, "Одна тысяча два тенге 00 тиын", "Одна тысяча два"},
    {1011, "Одна тысяча одиннадцать тенге 00 тиын", "Одна тысяча одиннадцать"},
    {2021, "Две тысячи двадцать один тенге 00 тиын", "Две тысячи двадцать один"},
    {3751.5, "Три тысячи семьсот пятьдесят один тенге 50 тиын",
     "Три тысячи семьсот пятьдесят один"},
    {3000, "Три тысячи тенге 00 тиын", "Три тысячи"},
    {5000, "Пять тысяч тенге 00 тиын", "Пять тысяч"},
    {10000, "Десять тысяч тенге 00 тиын", "Десять тысяч"},
    {11000, "Одиннадцать тысяч тенге 00 тиын", "Одиннадцать тысяч"},
    {12345.67, "Двенадцать тысяч триста сорок пять тенге 67 тиын",
     "Двенадцать тысяч триста сорок пять"},
    {16019, "Шестнадцать тысяч девятнадцать тенге 00 тиын", "Шестнадцать тысяч девятнадцать"},
    {20000, "Двадцать тысяч тенге 00 тиын", "Двадцать тысяч"},
    {22000, "Двадцать две тысячи тенге 00 тиын", "Двадцать две тысячи"},
    {110000, "Сто десять тысяч тенге 00 тиын", "Сто десять тысяч"},
    {300000, "Триста тысяч тенге 00 тиын", "Триста тысяч"},
    {1000000, "Один миллион тенге 00 тиын", "Один миллион"},
    {1000001, "Один миллион один тенге 00 тиын", "Один миллион один"},
    {1100000, "Один миллион сто тысяч тенге 00 тиын", "Один миллион сто тысяч"},
    {1234567, "Один миллион двести тридцать четыре тысячи пятьсот шестьдесят семь тенге 00 тиын",
     "Один миллион двести тридцать четыре тысячи пятьсот шестьдесят семь"},
    {2000000, "Два миллиона тенге 00 тиын", "Два миллиона"},
    {2000000002, "Два миллиарда два тенге 00 тиын", "Два миллиарда два"},
    {10000000, "Десять миллионов тенге 00 тиын", "Десять миллионов"},
    {21000000, "Двадцать один миллион тенге 00 тиын", "Двадцать один миллион"},
    {345678912,
     "Триста сорок пять миллионов шестьсот семьдесят восемь тысяч девятьсот двенадцать тенге "
     "00 тиын",
     "Триста сорок пять миллионов шестьсот семьдесят восемь тысяч девятьсот двенадцать"},
    {2500000000, "Два миллиарда пятьсот миллионов тенге 00 тиын",
     "Два миллиарда пятьсот миллионов"},
    {3004000000, "Три миллиарда четыре миллиона тенге 00 тиын", "Три миллиарда четыре миллиона"},
    {5000000000, "Пять миллиардов тенге 00 тиын", "Пять миллиардов"},
    {10000000000, "Десять миллиардов тенге 00 тиын", "Десять миллиардов"},
    {11500000000, "Одиннадцать миллиардов пятьсот миллионов тенге 00 тиын",
     "Одиннадцать миллиардов пятьсот миллионов"},
    {100000000000, "Сто миллиардов тенге 00 тиын", "Сто миллиардов"},
    {999999999999.99,
     "Девятьсот девяносто девять миллиардов девятьсот девяносто девять миллионов девятьсот "
     "девяносто девять тысяч девятьсот девяносто девять тенге 99 тиын",
     "Девятьсот девяносто девять миллиардов девятьсот девяносто девять миллионов девятьсот "
     "девяносто девять тысяч девятьсот девяносто девять"},
    // Fractions: always two digits, halves away from zero on 18 significant digits.
    {1.5, "Один тенге 50 тиын", "Один"},
    {2.11, "Два тенге 11 тиын", "Два"},
    {0.99, "Ноль тенге 99 тиын", "Ноль"},
    {0.125, "Ноль тенге 13 тиын", "Ноль"},
    {0.005, "Ноль тенге 01 тиын", "Ноль"},
    {0.004, "Ноль тенге 00 тиын", "Ноль"},
    {1e-20, "Ноль тенге 00 тиын", "Ноль"},
    {1.005, "Один тенге 00 тиын", "Один"}, // 1.00499999999999989…
    {1023.255, "Одна тысяча двадцать три тенге 26 тиын", "Одна тысяча двадцать три"}, // …254999…
    {99.995, "Сто тенге 00 тиын", "Сто"}, // the rounding carries into the whole part
    {-0.0, "Ноль тенге 00 тиын", "Ноль"},
};

// The words never follow the desktop's decimal separator, comma or point.
const std::string locales[] = {"ru_KZ", "en_US"};

class SpellingUnderLocale : public ::testing::TestWithParam<std::tuple<std::string, Spelling>> {
protected:
    void SetUp() override { m_locale.emplace(QLocale(QString::fromStdString(locale()))); }
    void TearDown() override { m_locale.reset(); }
    const std::string &locale() const { return std::get<0>(GetParam()); }
    const Spelling &spelling() const { return std::get<1>(GetParam()); }

private:
    std::optional<ScopedLocale> m_locale;
};

TEST_P(SpellingUnderLocale, AmountAndQuantity)
{
    EXPECT_EQ(text(SumPropis(spelling().value)), spelling().amount);
    EXPECT_EQ(text(QuantityPropis(spelling().value)), spelling().quantity);
}

INSTANTIATE_TEST_SUITE_P(Words, SpellingUnderLocale,
                         ::testing::Combine(::testing::ValuesIn(locales),
                                            ::testing::ValuesIn(spellings)),
                         ztest::PrintedName());

TEST(SpellingLocales, DifferInDecimalSeparator)
{
    EXPECT_EQ(QLocale(QStringLiteral("ru_KZ")).decimalPoint(), QStringLiteral(","));
    EXPECT_EQ(QLocale(QStringLiteral("en_US")).decimalPoint(), QStringLiteral("."));
}

class Unspellable : public ::testing::TestWithParam<double> {};

TEST_P(Unspellable, GivesNothing)
{
    EXPECT_EQ(text(SumPropis(GetParam())), "(nothing)");
    EXPECT_EQ(text(QuantityPropis(GetParam())), "(nothing)");
}

INSTANTIATE_TEST_SUITE_P(Words, Unspellable,
                         ::testing::Values(-1.0, -0.001, 1e12, 1e300,
                                           999999999999.996, // rounds up to thirteen digits
                                           std::numeric_limits<double>::quiet_NaN(),
                                           std::numeric_limits<double>::infinity(),
                                           -std::numeric_limits<double>::infinity()),
                         ztest::PrintedName());

struct DigitString {
    const char *digits;
    const char *words;
};

void PrintTo(const DigitString &row, std::ostream *os)
{
    *os << '"' << row.digits << '"';
}

class NumberWords : public ::testing::TestWithParam<DigitString> {};

TEST_P(NumberWords, OfDigitString)
{
    EXPECT_EQ(NumPropis(QString::fromLatin1(GetParam().digits)).toStdString(), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(Words, NumberWords,
                         ::testing::Values(DigitString{"", "ноль "}, DigitString{"0", "ноль "},
                                           DigitString{"007", "семь "}, DigitString{"000", ""},
                                           // the thirteenth position has no words
                                           DigitString{"1234000000000",
                                                       "двести тридцать четыре миллиарда "},
                                           DigitString{"1-2", ""}, DigitString{"12a", ""}),
                         ztest::PrintedName());

struct DigitStep {
    PropisState before;
    const char *words;
    PropisState after;
};

void PrintTo(const DigitStep &step, std::ostream *os)
{
    const PropisState &s = step.before;
    *os << "d=" << s.d << " p=" << s.p << " T=" << s.T << " F3=" << s.F3 << " F2=" << s.F2
        << " F1=" << s.F1;
}

class DigitWords : public ::testing::TestWithParam<DigitStep> {};

TEST_P(DigitWords, AndFlags)
{
    PropisState state = GetParam().before;
    EXPECT_EQ(DigitPropis(state).toStdString(), GetParam().words);
    const PropisState &after = GetParam().after;
    EXPECT_EQ(state.T, after.T);
    EXPECT_EQ(state.F1, after.F1);
    EXPECT_EQ(state.F2, after.F2);
    EXPECT_EQ(state.F3, after.F3);
}

// Fields: d, p, T, F3, F2, F1.
INSTANTIATE_TEST_SUITE_P(
    Words, DigitWords,
    ::testing::Values(
        // a digit in the tens or hundreds of a group marks the group
        DigitStep{
            {5, 6, false, false, false, false}, "пятьсот ", {5, 6, false, true, false, false}},
        DigitStep{
            {3, 8, false, false, false, false}, "тридцать ", {3, 8, false, false, true, false}},
        DigitStep{
            {9, 12, false, false, false, false}, "девятьсот ", {9, 12, false, false, false, true}},
        // a 1 in the tens waits for the next digit
        DigitStep{{1, 2, false, false, false, false}, "", {1, 2, true, false, false, false}},
        // a teen closes its group and clears every flag
        DigitStep{{7, 7, true, true, false, false},
                  "семнадцать миллионов ",
                  {7, 7, false, false, false, false}},
        // a zero at the group's units writes the group word only for a marked group
        DigitStep{{0, 4, false, true, false, false}, "тысяч ", {0, 4, false, false, false, false}},
        DigitStep{{0, 4, false, false, false, false}, "", {0, 4, false, false, false, false}},
        DigitStep{
            {0, 10, false, false, false, true}, "миллиардов ", {0, 10, false, false, false, false}},
        // no words and no marks above the billions or outside 0-9
        DigitStep{{5, 14, false, false, false, false}, "", {5, 14, false, false, false, false}},
        DigitStep{{10, 6, false, false, false, false}, "", {10, 6, false, false, false, false}}),
    ztest::PrintedName());

} // namespace
