#include "data/money.h"
#include "param_names.h"

#include <gtest/gtest.h>

#include <charconv>
#include <ostream>
#include <string>

namespace {

std::string shortest(double value)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

struct Rounding {
    double x;
    double rounded;
};

void PrintTo(const Rounding &row, std::ostream *os)
{
    *os << shortest(row.x);
}

class RoundMoney : public ::testing::TestWithParam<Rounding> {};

TEST_P(RoundMoney, ToHundredths)
{
    EXPECT_EQ(roundMoney(GetParam().x), GetParam().rounded);
}

INSTANTIATE_TEST_SUITE_P(
    Money, RoundMoney,
    ::testing::Values(
        // x / 0.01 falls just below or just above the half
        Rounding{0.125, 0.12}, Rounding{0.375, 0.37}, Rounding{2.675, 2.67}, Rounding{1.005, 1.00},
        Rounding{0.025, 0.03}, // below the half in double precision, above it in extended
        // exact halves in extended precision go to the even hundredth
        Rounding{0.005, 0.0}, Rounding{27.265, 27.26}, Rounding{109.435, 109.44},
        Rounding{-2.675, -2.67}, Rounding{3360.0, 3360.0},
        // the binary 0.01 times 70 is stored above 0.7
        Rounding{0.7, 0.70000000000000007}),
    ztest::PrintedName());

struct Line {
    int mode;
    double kolvo;
    double cenasht;
    double stnds;
    LineAmounts expected;
};

void PrintTo(const Line &line, std::ostream *os)
{
    *os << "mode " << line.mode << ": " << shortest(line.kolvo) << " x " << shortest(line.cenasht)
        << " at " << shortest(line.stnds) << "%";
}

class LineAmountsTest : public ::testing::TestWithParam<Line> {};

TEST_P(LineAmountsTest, FromQuantityPriceAndRate)
{
    const Line &line = GetParam();
    const LineAmounts amounts = computeLineAmounts(line.mode, line.kolvo, line.cenasht, line.stnds);
    EXPECT_EQ(amounts.strealiz, line.expected.strealiz);
    EXPECT_EQ(amounts.sumnds, line.expected.sumnds);
    EXPECT_EQ(amounts.cenasumbeznds, line.expected.cenasumbeznds);
}

// Expected: STREALIZ, SUMNDS, CENASUMBEZNDS.
INSTANTIATE_TEST_SUITE_P(
    Money, LineAmountsTest,
    ::testing::Values(
        // VAT included in the price
        Line{0, 3, 1120, 12, {3360.00, 360.00, 3000.00}},
        // 26884 binary hundredths are stored one unit in the last place above the double
        // nearest 268.84
        Line{0, 2, 150.55, 12, {301.10, 32.26, 268.84000000000003}},
        // VAT added on top; "without VAT" still charges a non-zero line rate
        Line{1, 2, 150.55, 12, {337.23, 36.13, 301.10}},
        Line{2, 2, 150.55, 12, {337.23, 36.13, 301.10}},
        // a zero rate charges no VAT in any mode
        Line{0, 2, 150.55, 0, {301.10, 0, 301.10}}, Line{1, 2, 150.55, 0, {301.10, 0, 301.10}},
        Line{2, 2, 150.55, 0, {301.10, 0, 301.10}},
        // the VAT is worked out from the stored, rounded amount 0.70000000000000007 in extended
        // precision: 0.0750000000000000071 rounds up (in double precision it would round down)
        Line{0, 1, 0.7, 12, {0.70000000000000007, 0.08, 0.62}},
        // the product 0.025 is rounded in extended precision
        Line{1, 1, 0.025, 0, {0.03, 0, 0.03}}),
    ztest::PrintedName());

} // namespace
