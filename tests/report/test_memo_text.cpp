#include "qt_printing.h"
#include "report/memo_text.h"

#include <gtest/gtest.h>

using namespace zreport;

namespace {

// Literals as they are, expressions in braces, e.g. "a {x} b".
QString shape(const std::vector<MemoSegment> &segments)
{
    QString out;
    for (const MemoSegment &s : segments)
        out += s.isExpression ? QLatin1Char('{') + s.text + QLatin1Char('}') : s.text;
    return out;
}

struct BracketCase {
    const char *name;
    QString text;
    QString delimiters;
    QString expected;
};

void PrintTo(const BracketCase &c, std::ostream *os)
{
    *os << c.name;
}

class Brackets : public ::testing::TestWithParam<BracketCase> {};

TEST_P(Brackets, SplitIntoLiteralsAndExpressions)
{
    const BracketCase &c = GetParam();
    QString open, close;
    expressionDelimiters(c.delimiters, &open, &close);
    EXPECT_EQ(shape(splitBrackets(c.text, open, close)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Brackets,
    ::testing::Values(BracketCase{"noBracket", "plain text", "[,]", "plain text"},
                      BracketCase{"twoOnOneLine", "a [x] b [y]", "[,]", "a {x} b {y}"},
                      BracketCase{"closingInsideDoubleQuotes", "[D.\"a]b\"] c", "[,]",
                                  "{D.\"a]b\"} c"},
                      BracketCase{"closingInsideSingleQuotes", "['x]'] c", "[,]", "{'x]'} c"},
                      BracketCase{"nestedBelongsToTheOuter", "[a[b]c]d", "[,]", "{a[b]c}d"},
                      BracketCase{"neverClosedTakesTheRest", "a [b c", "[,]", "a {b c}"},
                      BracketCase{"openingAsLastCharacterStays", "a [", "[,]", "a ["},
                      BracketCase{"otherDelimiters", "<%x%> [y]", "<%,%>", "{x} [y]"},
                      BracketCase{"adjacent", "[a][b]", "[,]", "{a}{b}"}),
    [](const auto &info) { return info.param.name; });

TEST(Brackets, TrailingFormatPicksTheFormatOfOneExpression)
{
    const auto segments = splitBrackets(QStringLiteral("[Value #N0,00]"), "[", "]");
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_EQ(segments[0].text, QLatin1String("Value"));
    ASSERT_TRUE(segments[0].formatOverride);
    EXPECT_EQ(segments[0].formatOverride->kind, FormatKind::fkNumeric);
    EXPECT_EQ(segments[0].formatOverride->formatStr, QLatin1String("0.00"));
    EXPECT_EQ(segments[0].formatOverride->decimalSeparator, QLatin1String(","));

    // With ")" after " #" the whole text is the expression.
    const auto call = splitBrackets(QStringLiteral("[F(a #N)]"), "[", "]");
    EXPECT_FALSE(call[0].formatOverride);
    EXPECT_EQ(call[0].text, QLatin1String("F(a #N)"));
}

TEST(Paragraphs, FollowTheRulesOfAListOfTextLines)
{
    EXPECT_EQ(textParagraphs(""), QStringList());
    EXPECT_EQ(textParagraphs("a\r\nb\rc\nd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(textParagraphs("a\r\n"), QStringList{"a"});
    EXPECT_EQ(textParagraphs("\r\n\r\nb"), (QStringList{"", "", "b"}));
}

} // namespace
