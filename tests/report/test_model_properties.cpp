#include "qt_printing.h"
#include "report/property_values.h"
#include "report/report_model.h"

#include <gtest/gtest.h>

using namespace zreport;

namespace {

bool set(TfrxComponent &component, const char *name, const char *value, QString *error = nullptr)
{
    QString reason;
    const bool ok =
        component.setProperty(QString::fromLatin1(name), QString::fromUtf8(value), &reason);
    if (error)
        *error = reason;
    return ok;
}

TEST(ModelProperties, NestedRecordsReachTheirFields)
{
    TfrxMemoView memo;
    ASSERT_TRUE(set(memo, "Frame.Width", "2"));
    ASSERT_TRUE(set(memo, "Frame.LeftLine.Width", "3"));
    ASSERT_TRUE(set(memo, "Frame.TopLine.Color", "clRed"));
    EXPECT_EQ(memo.frame.leftLine.width, 3);
    EXPECT_EQ(memo.frame.rightLine.width, 2); // the frame's width is handed down to every line
    EXPECT_EQ(memo.frame.topLine.color, QColor(Qt::red));
    EXPECT_EQ(memo.frame.bottomLine.color, QColor(Qt::black));

    EXPECT_TRUE(memo.parentFont);
    ASSERT_TRUE(set(memo, "Font.Size", "12"));
    EXPECT_EQ(memo.font.height, -16);
    EXPECT_FALSE(memo.parentFont); // a font of its own

    ASSERT_TRUE(set(memo, "DisplayFormat.Kind", "fkNumeric"));
    ASSERT_TRUE(set(memo, "Highlight.Condition", "x > 0"));
    ASSERT_TRUE(set(memo, "Memo.UTF8", "a\r\nb"));
    EXPECT_EQ(memo.displayFormat.kind, FormatKind::fkNumeric);
    EXPECT_EQ(memo.highlightCondition, QStringLiteral("x > 0"));
    EXPECT_EQ(memo.memo, QStringList({"a", "b"}));

    TfrxReport report;
    ASSERT_TRUE(set(report, "PreviewOptions.Buttons", "[pbPrint,pbZoom]"));
    EXPECT_EQ(report.previewOptions.buttons, QStringList({"pbPrint", "pbZoom"}));
    EXPECT_TRUE(set(report, "ReportOptions.CreateDate", "45000")); // kept by nobody
    ASSERT_TRUE(set(report, "EngineOptions.DoublePass", "True"));
    EXPECT_TRUE(report.engineOptions.doublePass);

    TfrxReportPage page;
    ASSERT_TRUE(set(page, "LeftMargin", "20"));
    ASSERT_TRUE(set(page, "Orientation", "poLandscape"));
    EXPECT_EQ(page.settings.paperWidth, 297);
    EXPECT_EQ(page.settings.bottomMargin, 20); // margins turn with the sheet
}

struct BadProperty {
    const char *name;
    std::function<std::unique_ptr<TfrxComponent>()> make;
    const char *property;
    const char *value;
    QString expected;
};

void PrintTo(const BadProperty &c, std::ostream *os)
{
    *os << c.name;
}

class BadProperties : public ::testing::TestWithParam<BadProperty> {};

TEST_P(BadProperties, SayWhichPropertyAndClass)
{
    const BadProperty &c = GetParam();
    const auto component = c.make();
    QString error;
    EXPECT_FALSE(set(*component, c.property, c.value, &error));
    EXPECT_EQ(error, c.expected);
}

auto memo = [] { return std::make_unique<TfrxMemoView>(); };
auto masterData = [] { return std::make_unique<TfrxMasterData>(); };
auto report = [] { return std::make_unique<TfrxReport>(); };

INSTANTIATE_TEST_SUITE_P(
    Cases, BadProperties,
    ::testing::Values(BadProperty{"frameField", memo, "Frame.Colour", "clRed",
                                  unknownPropertyMessage("Frame.Colour", "TfrxFrame")},
                      BadProperty{"frameLineField", memo, "Frame.LeftLine.Colour", "clRed",
                                  unknownPropertyMessage("Frame.LeftLine.Colour", "TfrxFrame")},
                      BadProperty{"formatField", memo, "DisplayFormat.Kinds", "fkText",
                                  unknownPropertyMessage("DisplayFormat.Kinds", "TfrxFormat")},
                      BadProperty{"fontField", memo, "Font.Weight", "700",
                                  unknownPropertyMessage("Font.Weight", "TfrxMemoView")},
                      BadProperty{"bareRecordName", memo, "Frame.", "1",
                                  unknownPropertyMessage("Frame.", "TfrxMemoView")},
                      BadProperty{"previewField", report, "PreviewOptions.Zoomed", "1",
                                  unknownPropertyMessage("PreviewOptions.Zoomed", "TfrxReport")},
                      BadProperty{"fontSize", memo, "Font.Size", "0",
                                  badValueMessage("Font.Size", "0")},
                      BadProperty{"frameLineStyle", memo, "Frame.TopLine.Style", "fsWavy",
                                  badValueMessage("Frame.TopLine.Style", "fsWavy")},
                      BadProperty{"negativeRowCount", masterData, "RowCount", "-1",
                                  badValueMessage("RowCount", "-1")},
                      BadProperty{"delimiters", memo, "ExpressionDelimiters", "[",
                                  badValueMessage("ExpressionDelimiters", "[")}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
