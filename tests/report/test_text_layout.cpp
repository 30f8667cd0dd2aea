#include "qt_printing.h"
#include "report/text_layout.h"

#include <gtest/gtest.h>

using namespace zreport;

namespace {

TextStyle styleOf(int points, bool bold = false)
{
    TextStyle s;
    s.font.height = ReportFont::heightForPointSize(points);
    s.font.bold = bold;
    return s;
}

QStringList lineTexts(const QString &text, const std::vector<LaidOutLine> &lines)
{
    QStringList out;
    for (const LaidOutLine &line : lines)
        out << text.mid(line.start, line.length);
    return out;
}

} // namespace

TEST(FontSize, StoredHeightsMapToWholePoints)
{
    const std::pair<int, int> table[] = {{-8, 6},   {-9, 7},   {-11, 8},  {-12, 9},
                                         {-13, 10}, {-15, 11}, {-16, 12}, {-19, 14}};
    for (const auto &[height, points] : table) {
        ReportFont font;
        font.height = height;
        EXPECT_EQ(font.pointSize(), points) << height;
        EXPECT_EQ(ReportFont::heightForPointSize(points), height) << points;
    }
}

TEST(LineHeight, MatchesThe600DpiFontHeights)
{
    const struct {
        int points;
        int dots;
        double units;
    } table[] = {{6, 50, 10.00},  {7, 58, 11.28},  {8, 67, 12.72},   {9, 75, 14.00},
                 {10, 83, 15.28}, {11, 92, 16.72}, {12, 100, 18.00}, {14, 117, 20.72}};
    for (const auto &row : table) {
        EXPECT_EQ(TextMetrics::pixelSizeAt600(row.points), row.dots) << row.points;
        EXPECT_NEAR(lineHeight(styleOf(row.points)), row.units, 1e-9) << row.points;
    }
}

TEST(MemoHeight, ThreeEightPointLinesUnderABottomFrameNeed41Units)
{
    TextStyle s = styleOf(8);
    s.frame.typ = ftBottom;
    EXPECT_EQ(memoHeightFor(s, 3), 41);
    EXPECT_EQ(memoHeightFor(s, 0), 2); // gaps and frame only, halves to even (2.5 -> 2)
}

TEST(TextMetrics, ArialResolvesToAFaceWithArialWidths)
{
    ReportFont arial;
    const QString family = resolvedFamily(arial);
    EXPECT_TRUE(family == QLatin1String("Arial") || family == QLatin1String("Liberation Sans"))
        << family.toStdString();
    // 10 pt on 600 dpi is 83 dots; Arial's "0" is 1139/2048 em, so 46 dots.
    const MeasuringFont font = TextMetrics::instance().font(arial);
    EXPECT_EQ(font.pixelSize(), 83);
    EXPECT_EQ(font.advance(QLatin1Char('0')), 46);
    EXPECT_EQ(font.advance(QLatin1Char(' ')), 23);
}

TEST(TextBox, RoundsEdgesAndGapsAtScaleOne)
{
    TextStyle s = styleOf(10);
    s.frame.typ = ftLeft | ftRight | ftTop | ftBottom;
    // 13 mm and 26 mm: 49.134 .. 147.402 units.
    const TextBox box = textBox(s, 49.13389, 11.33859, 98.26778, 22.67718);
    EXPECT_EQ(box.left, 51);
    EXPECT_EQ(box.right, 146);
    EXPECT_EQ(box.top, 12);
    EXPECT_EQ(box.bottom, 34);
    EXPECT_EQ(box.width(), 95);
}

struct WrapCase {
    const char *name;
    QString text;
    int width; // units
    QStringList expected;
};

void PrintTo(const WrapCase &c, std::ostream *os)
{
    *os << c.name;
}

class Wrapping : public ::testing::TestWithParam<WrapCase> {};

TEST_P(Wrapping, BreaksAsTheReferenceDevice)
{
    const WrapCase &c = GetParam();
    std::vector<LaidOutLine> lines;
    layoutText(c.text, styleOf(10), c.width, lines);
    EXPECT_EQ(lineTexts(c.text, lines), c.expected);
}

// Widths in 600-dpi dots at 10 pt: "0" 46, " " 23; 1 unit = 6.25 dots.
INSTANTIATE_TEST_SUITE_P(
    Cases, Wrapping,
    ::testing::Values(
        // "00 00" = 207 dots; 34 units = 212.5 dots.
        WrapCase{"fits", "00 00", 34, {"00 00"}},
        // 6 zeros = 276 dots; 40 units = 250 dots: cut after five (230), not at a blank.
        WrapCase{"wordLongerThanWidth", "000000", 40, {"00000", "0"}},
        // "00 00" = 207 dots > 200 (32 units): break at the blank, which disappears.
        WrapCase{"breakAtLastBlank", "00 00", 32, {"00", "00"}},
        // 20 units = 125 dots: "0 0 " reaches 138 at its second blank.
        WrapCase{"lastOfSeveralBlanks", "0 0 0000", 20, {"0 0", "00", "00"}},
        WrapCase{"emptyStoredLineTakesALine", "00\n\n00", 30, {"00", "", "00"}},
        WrapCase{"singleCharacterNeverBreaks", "0", 1, {"0"}},
        WrapCase{"characterWiderThanTheLineStandsAlone", "00", 5, {"0", "0"}},
        WrapCase{"noText", "", 30, {}}),
    [](const auto &info) { return info.param.name; });

TEST(Wrapping, WordWrapOffKeepsEachStoredLineWhole)
{
    TextStyle s = styleOf(10);
    s.wordWrap = false;
    const QString text = QStringLiteral("0000000000\n0");
    std::vector<LaidOutLine> lines;
    layoutText(text, s, 10, lines);
    EXPECT_EQ(lineTexts(text, lines), (QStringList{"0000000000", "0"}));
    EXPECT_TRUE(lines[0].firstOfParagraph && lines[0].lastOfParagraph);
}
