#include "../report/qt_printing.h"
#include "../report/report_fixture.h"

#include "report/report_units.h"
#include "templates/template_loader.h"

#include <QBuffer>

using namespace zreport;

namespace {

QString loadError(const QString &xml)
{
    QByteArray bytes = xml.toUtf8();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QString error;
    const auto report = ztemplates::loadTemplate(buffer, QStringLiteral("broken.xml"), &error);
    EXPECT_FALSE(report);
    return error;
}

QString inBand(const QString &memo)
{
    return QStringLiteral(R"(<TfrxReport Name="r">
<TfrxReportPage Name="Page1">
<TfrxMasterData Name="B" Height="10">
%1
</TfrxMasterData>
</TfrxReportPage>
</TfrxReport>)")
        .arg(memo);
}

struct BrokenCase {
    const char *name;
    QString xml;
    QString expected; // "broken.xml:line:column: reason"
};

void PrintTo(const BrokenCase &c, std::ostream *os)
{
    *os << c.name;
}

class BrokenTemplates : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenTemplates, AreReportedWithFilePlaceAndReason)
{
    EXPECT_EQ(loadError(GetParam().xml), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenTemplates,
    ::testing::Values(
        BrokenCase{"badSyntax",
                   "<TfrxReport Name=\"r\">\n<TfrxReportPage Name=\"Page1\"\n</TfrxReport>",
                   "broken.xml:3:1: Expected '>' or '/', but got '<'."},
        BrokenCase{"empty", "", "broken.xml:1:0: Premature end of document."},
        BrokenCase{"wrongRoot", "<Report/>",
                   "broken.xml:1:9: корневой элемент должен быть TfrxReport, а не Report"},
        BrokenCase{"unknownClass", inBand("<TfrxShapeView Name=\"Shape1\"/>"),
                   "broken.xml:4:30: неизвестный класс TfrxShapeView"},
        BrokenCase{"wrongParent",
                   "<TfrxReport Name=\"r\"><TfrxReportPage Name=\"P\"><TfrxMemoView Name=\"M\"/>"
                   "</TfrxReportPage></TfrxReport>",
                   "broken.xml:1:70: TfrxMemoView не может стоять внутри TfrxReportPage"},
        BrokenCase{"unknownProperty", inBand("<TfrxMemoView Name=\"M\" Colour=\"clRed\"/>"),
                   "broken.xml:4:39: неизвестное свойство Colour у класса TfrxMemoView"},
        BrokenCase{"badEnumeration", inBand("<TfrxMemoView Name=\"M\" HAlign=\"haMiddle\"/>"),
                   "broken.xml:4:42: неверное значение свойства HAlign: «haMiddle»"},
        BrokenCase{"badLength", inBand("<TfrxMemoView Name=\"M\" Left=\"12 cm\"/>"),
                   "broken.xml:4:37: неверное значение свойства Left: «12 cm»"},
        BrokenCase{"badFontHeight", inBand("<TfrxMemoView Name=\"M\" Font.Height=\"0\"/>"),
                   "broken.xml:4:40: неверное значение свойства Font.Height: «0»"},
        BrokenCase{"duplicateName", inBand("<TfrxMemoView Name=\"B\"/>"),
                   "broken.xml:4:24: имя B уже занято другим объектом"},
        BrokenCase{"missingName", inBand("<TfrxMemoView Left=\"1\"/>"),
                   "broken.xml:4:24: у объекта TfrxMemoView нет имени (Name)"},
        BrokenCase{"blankUserName",
                   "<TfrxReport Name=\"r\"><TfrxDBDataset Name=\"D\" UserName=\" \"/></TfrxReport>",
                   "broken.xml:1:59: Неверное значение свойства"},
        BrokenCase{"textOutsideProperties", inBand("stray text"),
                   "broken.xml:5:1: текст вне свойства: «\nstray text\n»"}),
    [](const auto &info) { return info.param.name; });

TEST(TemplateFiles, MissingFileIsReported)
{
    QString error;
    EXPECT_FALSE(ztemplates::loadTemplateFile(QStringLiteral("/nonexistent/t.xml"), &error));
    EXPECT_TRUE(error.startsWith(QLatin1String("/nonexistent/t.xml: "))) << error.toStdString();
    EXPECT_FALSE(ztemplates::loadBuiltinTemplate(QStringLiteral("repNothing"), &error));
}

TEST(TemplateModel, LandscapeStoredInOrderEndsAsA4Landscape)
{
    const auto report = reportFromXml(QStringLiteral(
        R"(<TfrxReport Name="r"><TfrxReportPage Name="Page1" Orientation="poLandscape"
           PaperWidth="297" PaperHeight="210" PaperSize="9" TopMargin="5" BottomMargin="5"/>
           </TfrxReport>)"));
    const TfrxReportPage *page = report->reportPages().front();
    EXPECT_EQ(page->settings.paperWidth, 297);
    EXPECT_EQ(page->settings.paperHeight, 210);
    EXPECT_EQ(page->settings.paperSize, 9);
    EXPECT_EQ(page->settings.topMargin, 5);
    EXPECT_EQ(page->settings.bottomMargin, 5);
    EXPECT_EQ(page->settings.leftMargin, 0);
    EXPECT_EQ(page->settings.rightMargin, 0);
    EXPECT_NEAR(page->settings.printableWidth(), 1122.52041, 1e-9);
}

TEST(TemplateModel, OrientationRotatesTheMargins)
{
    TfrxReportPage page;
    page.settings.leftMargin = 1;
    page.settings.topMargin = 2;
    page.settings.rightMargin = 3;
    page.settings.bottomMargin = 4;
    page.setOrientation(PageOrientation::poLandscape);
    EXPECT_EQ(std::vector<double>({page.settings.leftMargin, page.settings.topMargin,
                                   page.settings.rightMargin, page.settings.bottomMargin}),
              std::vector<double>({2, 3, 4, 1}));
    EXPECT_EQ(page.settings.paperWidth, 297);
    page.setOrientation(PageOrientation::poPortrait);
    EXPECT_EQ(std::vector<double>({page.settings.leftMargin, page.settings.topMargin,
                                   page.settings.rightMargin, page.settings.bottomMargin}),
              std::vector<double>({1, 2, 3, 4}));
}

TEST(TemplateModel, AbsentPropertiesTakeTheClassDefaults)
{
    const auto report = reportFromXml(inBand("<TfrxMemoView Name=\"M\" Frame.Typ=\"[ftLeft]\" "
                                             "Frame.Style=\"fsDot\" Font.Height=\"-11\"/>"));
    const auto *band = report->reportPages().front()->bands.front().get();
    const auto *memo = static_cast<const TfrxMemoView *>(band->objects.front().get());
    EXPECT_EQ(memo->gapX, 2);
    EXPECT_EQ(memo->gapY, 1);
    EXPECT_EQ(memo->lineSpacing, 2);
    EXPECT_EQ(memo->frame.width, 1);
    EXPECT_EQ(memo->frame.bottomLine.style, FrameLineStyle::fsDot);
    EXPECT_EQ(memo->shiftMode, ShiftMode::smAlways);
    EXPECT_EQ(memo->expressionDelimiters, QLatin1String("[,]"));
    EXPECT_EQ(memo->font.pointSize(), 8);
    EXPECT_FALSE(memo->parentFont);
    EXPECT_EQ(report->scriptText, (QStringList{"begin", "", "end."}));
    EXPECT_EQ(report->printOptions.printer, QStringLiteral("По умолчанию"));
}

TEST(TemplateModel, MemoWithADatasetButNoFieldIsAnOrdinaryTextMemo)
{
    auto rows = numberRows({5});
    const ReportRun run =
        runReport(reportXml(masterDataXml(30).arg(
                      memoXml("M", "Width=\"50\" Height=\"30\" DataSet=\"D\"", "n=[d.\"n\"]"))),
                  {{"src", rows.get()}});
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(run.texts("M"), QStringList{"n=5"});
}

} // namespace
