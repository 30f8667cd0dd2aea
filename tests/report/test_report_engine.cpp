#include "qt_printing.h"
#include "report_fixture.h"

#include "report/report_units.h"
#include "report/text_search.h"

using namespace zreport;

namespace {

// A page 100 mm (377.953 units) high: title 20, header 10, rows 30, footer 40, and a page
// footer of `pageFooterHeight` at the bottom.
QString listingXml(bool reprintHeader, double pageFooterHeight = 20,
                   const QString &footerText = QStringLiteral("[Line#]"))
{
    const QString bands =
        QStringLiteral(R"(
<TfrxReportTitle Name="T" Top="0" Width="377.953" Height="20">%1</TfrxReportTitle>
<TfrxHeader Name="H" Top="30" Width="377.953" Height="10" ReprintOnNewPage="%2">%3</TfrxHeader>
<TfrxMasterData Name="B" Top="50" Width="377.953" Height="30" DataSet="D">%4%5</TfrxMasterData>
<TfrxFooter Name="F" Top="90" Width="377.953" Height="40">%6</TfrxFooter>
<TfrxPageFooter Name="P" Top="200" Width="377.953" Height="%7">%8</TfrxPageFooter>)")
            .arg(memoXml("TitleText", "Width=\"100\" Height=\"20\"", "Title"),
                 reprintHeader ? "True" : "False",
                 memoXml("HeadText", "Width=\"100\" Height=\"10\"", "Head"),
                 memoXml("RowLine", "Width=\"50\" Height=\"30\"", "[Line]"),
                 memoXml("RowValue", "Left=\"50\" Width=\"50\" Height=\"30\"", "[D.\"N\"]"),
                 memoXml("FootText", "Width=\"100\" Height=\"20\"", footerText))
            .arg(pageFooterHeight)
            .arg(memoXml("PageNumber", "Width=\"50\" Height=\"20\"", "[Page]"));
    return reportXml(bands);
}

QList<QVariant> numbers(int count)
{
    QList<QVariant> values;
    for (int i = 1; i <= count; ++i)
        values << i;
    return values;
}

QStringList repeated(const QString &name, int count)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << name;
    return out;
}

constexpr double kPageHeight = 100 * kUnitsPerMm;

} // namespace

TEST(Pagination, RowsFillThePageAndTheFooterMovesWithTheReprintedHeader)
{
    auto rows = numberRows(numbers(10));
    const ReportRun run = runReport(listingXml(true), {{"src", rows.get()}});
    ASSERT_TRUE(run.ok) << run.errors().join('\n').toStdString();
    ASSERT_EQ(run.prepared().pageCount(), 2);
    // Ten rows end at 330; the footer (40) no longer fits above the page footer (357.953).
    EXPECT_EQ(run.bands(0), (QStringList{"T", "H"} + repeated("B", 10) + QStringList{"P"}));
    EXPECT_EQ(run.bands(1), (QStringList{"H", "F", "P"}));
    EXPECT_DOUBLE_EQ(run.band(1, 1).top, 10);
    EXPECT_EQ(run.texts("FootText"), QStringList{"10"});
}

TEST(Pagination, PageFooterStandsAtTheBottomOfEveryPageWithItsNumber)
{
    auto rows = numberRows(numbers(25));
    const ReportRun run = runReport(listingXml(true), {{"src", rows.get()}});
    ASSERT_TRUE(run.ok);
    ASSERT_EQ(run.prepared().pageCount(), 3);
    for (int page = 0; page < 3; ++page) {
        const PreparedBand &footer = run.prepared().pages()[size_t(page)].bands.back();
        EXPECT_EQ(footer.name, QLatin1String("P"));
        EXPECT_NEAR(footer.top, kPageHeight - 20, 1e-9);
    }
    EXPECT_EQ(run.texts("PageNumber"), (QStringList{"1", "2", "3"}));
    // Row numbers run on over the pages.
    EXPECT_EQ(run.texts("RowLine").last(), QLatin1String("25"));
    EXPECT_EQ(run.texts("HeadText").size(), 3);
}

TEST(Pagination, ARowThatExactlyFillsTheFreeSpaceStays)
{
    auto rows = numberRows(numbers(10));
    // Title 20 + header 10 + ten rows of 30 = 330 = the page less the page footer.
    const ReportRun run = runReport(listingXml(true, kPageHeight - 330), {{"src", rows.get()}});
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(run.bands(0).count("B"), 10);
}

TEST(Pagination, HeaderWithoutReprintIsPrintedOnce)
{
    auto rows = numberRows(numbers(12));
    const ReportRun run = runReport(listingXml(false), {{"src", rows.get()}});
    ASSERT_TRUE(run.ok);
    ASSERT_EQ(run.prepared().pageCount(), 2);
    EXPECT_EQ(run.bands(1), (QStringList{"B", "B", "F", "P"}));
}

TEST(Pagination, NoRowsPrintNeitherHeaderNorRowsNorFooter)
{
    auto rows = numberRows({});
    const ReportRun run = runReport(listingXml(true), {{"src", rows.get()}});
    ASSERT_TRUE(run.ok);
    ASSERT_EQ(run.prepared().pageCount(), 1);
    EXPECT_EQ(run.bands(0), (QStringList{"T", "P"}));
}

TEST(Pagination, RunningTheSameTemplateTwiceGivesTheSamePages)
{
    auto rows = numberRows(numbers(15));
    ReportRun run = runReport(listingXml(true), {{"src", rows.get()}});
    const QStringList first = run.texts("RowValue") + run.texts("PageNumber");
    ASSERT_TRUE(run.engine->run());
    EXPECT_EQ(run.texts("RowValue") + run.texts("PageNumber"), first);
    EXPECT_EQ(run.prepared().pageCount(), 2);
}

TEST(Pagination, StopRequestKeepsThePagesPreparedSoFar)
{
    auto rows = numberRows(numbers(100));
    ReportRun run;
    run.report = reportFromXml(listingXml(true));
    run.engine = std::make_unique<ReportEngine>(*run.report, DataSources{{"src", rows.get()}});
    run.engine->setProgressHandler([&](int pages) {
        if (pages >= 2)
            run.engine->terminate();
    });
    run.engine->run();
    EXPECT_TRUE(run.engine->isTerminated());
    EXPECT_GE(run.prepared().pageCount(), 2);
    EXPECT_LT(run.texts("RowLine").size(), 100);
}

TEST(Pagination, BandTallerThanAPageIsSplitBetweenTextLines)
{
    auto rows = numberRows({1});
    QStringList lines;
    for (int i = 1; i <= 60; ++i)
        lines << QStringLiteral("line %1").arg(i);
    auto xmlRows =
        std::make_unique<MemoryRows>(QList<MemoryRows::Column>{{"TEXT", FieldKind::String}});
    xmlRows->addRow({lines.join(QLatin1Char('\n'))});
    const QString bands = QStringLiteral(R"(
<TfrxMasterData Name="B" Top="50" Width="377.953" Height="20" DataSet="D" Stretched="True">
  <TfrxMemoView Name="Long" ParentFont="False" Width="300" Height="20" StretchMode="smActualHeight"
                DataSet="D" DataField="TEXT"/>
</TfrxMasterData>)");
    const ReportRun run = runReport(reportXml(bands), {{"src", xmlRows.get()}});
    ASSERT_TRUE(run.ok) << run.errors().join('\n').toStdString();
    // 60 lines of 15.28 units need about 920 units: three pages of 377.953.
    ASSERT_EQ(run.prepared().pageCount(), 3);
    QStringList printed;
    for (const PreparedPage &page : run.prepared().pages()) {
        for (const PreparedObject &object : page.objects) {
            EXPECT_LE(object.top + object.height, kPageHeight + 1e-6);
            for (quint32 i = 0; i < object.lineCount; ++i)
                printed << page.lineText(object, page.lines[object.firstLine + i]).toString();
        }
    }
    EXPECT_EQ(printed, lines);
}

TEST(Pagination, HeaderAndRowThatNeverFitTogetherStillEnd)
{
    auto rows = numberRows(numbers(3));
    // Header 200 and row 250 on a page of 377.953: a new page cannot help the row.
    const QString bands = QStringLiteral(R"(
<TfrxHeader Name="H" Top="30" Width="377.953" Height="200" ReprintOnNewPage="True"/>
<TfrxMasterData Name="B" Top="50" Width="377.953" Height="250" DataSet="D">%1</TfrxMasterData>)")
                              .arg(memoXml("RowLine", "Width=\"50\" Height=\"30\"", "[Line]"));
    const ReportRun run = runReport(reportXml(bands), {{"src", rows.get()}});
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(run.texts("RowLine"), (QStringList{"1", "2", "3"}));
    EXPECT_LT(run.prepared().pageCount(), 10);
}

struct AggregateCase {
    const char *name;
    QString footerText;
    QString format; // attributes of the footer memo
    QString expected;
};

void PrintTo(const AggregateCase &c, std::ostream *os)
{
    *os << c.name;
}

class Aggregates : public ::testing::TestWithParam<AggregateCase> {};

TEST_P(Aggregates, FooterPrintsTheValueOverTheRowsPrinted)
{
    RussianLocale locale;
    auto rows = numberRows({2, 3.5, 1});
    const AggregateCase &c = GetParam();
    const QString bands =
        QStringLiteral(R"(
<TfrxHeader Name="H" Top="30" Width="377.953" Height="10">%1</TfrxHeader>
<TfrxMasterData Name="MasterData1" Top="50" Width="377.953" Height="30" DataSet="D">%2</TfrxMasterData>
<TfrxFooter Name="F" Top="90" Width="377.953" Height="40">%3</TfrxFooter>)")
            .arg(memoXml("InHeader", "Width=\"100\" Height=\"10\"", c.footerText),
                 memoXml("Row", "Width=\"50\" Height=\"30\"", "[Line]"),
                 memoXml("Total", "Width=\"100\" Height=\"20\" " + c.format, c.footerText));
    const ReportRun run = runReport(reportXml(bands), {{"src", rows.get()}});
    ASSERT_TRUE(run.ok) << run.errors().join('\n').toStdString();
    EXPECT_EQ(run.texts("Total"), QStringList{c.expected});
    if (c.footerText.contains(QLatin1String("SUM"))) {
        EXPECT_EQ(run.texts("InHeader"), QStringList{""}); // not collected there
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Aggregates,
    ::testing::Values(
        AggregateCase{"sumPlain", "[SUM(<D.\"N\">,MasterData1)]", "", "6,5"},
        AggregateCase{"sumFormatted", "[SUM(<D.\"N\">,MasterData1)]",
                      "DisplayFormat.Kind=\"fkNumeric\" DisplayFormat.FormatStr=\"%2.2f\"", "6,50"},
        AggregateCase{"sumWithoutBand", "[SUM(<D.\"N\">)]", "", "6,5"},
        AggregateCase{"nameCaseIgnored", "[sum(<d.\"n\">,masterdata1)]", "", "6,5"},
        AggregateCase{"count", "[COUNT(MasterData1)]", "", "3"},
        AggregateCase{"average", "[AVG(<D.\"N\">,MasterData1)]",
                      "DisplayFormat.Kind=\"fkNumeric\" DisplayFormat.FormatStr=\"%2.3f\"",
                      "2,167"},
        AggregateCase{"minimum", "[MIN(<D.\"N\">,MasterData1)]", "", "1"},
        AggregateCase{"maximum", "[MAX(<D.\"N\">,MasterData1)]", "", "3,5"},
        AggregateCase{"insideAngles", "[<SUM(<D.\"N\">,MasterData1)>]", "", "6,5"},
        AggregateCase{"rowCount", "Строк: [Line#]", "", "Строк: 3"}),
    [](const auto &info) { return info.param.name; });

TEST(SystemValues, LineCountsTheRowsOfTheDataBand)
{
    auto rows = numberRows(numbers(5));
    const ReportRun run = runReport(listingXml(true), {{"src", rows.get()}});
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(run.texts("RowLine"), (QStringList{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(run.texts("FootText"), QStringList{"5"});
}

struct ErrorCase {
    const char *name;
    QString xml;
    QString expectedError;
    bool pagesPrepared;
};

void PrintTo(const ErrorCase &c, std::ostream *os)
{
    *os << c.name;
}

class RunErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(RunErrors, AreCollectedWithTheirMessages)
{
    auto rows = numberRows({1});
    const ErrorCase &c = GetParam();
    const ReportRun run = runReport(c.xml, {{"src", rows.get()}});
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.errors(), QStringList{c.expectedError});
    EXPECT_EQ(run.prepared().pageCount() > 0, c.pagesPrepared);
}

static QString dataBandWith(const QString &memoText)
{
    return reportXml(
        QStringLiteral(
            R"(<TfrxMasterData Name="B" Top="50" Width="377.953" Height="30" DataSet="D">%1</TfrxMasterData>)")
            .arg(memoXml("Cell", "Width=\"50\" Height=\"30\"", memoText)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunErrors,
    ::testing::Values(
        ErrorCase{"datasetNotFound",
                  QStringLiteral(
                      R"(<TfrxReport Name="r"><Datasets><Item DataSetName="Missing"/></Datasets>
                      <TfrxReportPage Name="Page1"/></TfrxReport>)"),
                  "Набор данных \"Missing\" не найден", false},
        ErrorCase{
            "datasetNotConnected",
            QStringLiteral(R"(<TfrxReport Name="r"><Datasets><Item DataSetName="D"/></Datasets>
                      <TfrxDBDataset Name="DSetX" UserName="D" DataSource="DM.Nothing"/>
                      <TfrxReportPage Name="Page1"><TfrxMasterData Name="B" Height="30" DataSet="DSetX"/>
                      </TfrxReportPage></TfrxReport>)"),
            "Компонент DSetX не подключен к данным", true},
        ErrorCase{"unknownField", dataBandWith("[D.\"NOPE\"]"), "Cell: Поле не найдено: D.\"NOPE\"",
                  true},
        ErrorCase{"unknownAngleName", dataBandWith("[<Nothing>]"),
                  "Неизвестная переменная или поле БД: Nothing", true},
        ErrorCase{"divisionByZero", dataBandWith("[1/0]"), "Cell: Деление на ноль", true},
        ErrorCase{"unknownIdentifier", dataBandWith("[Nothing]"),
                  "Cell: Неизвестный идентификатор: Nothing", true},
        ErrorCase{"hostileNesting",
                  dataBandWith("[" + QString(5000, '(') + "1" + QString(5000, ')') + "]"),
                  "Cell: Слишком глубокая вложенность выражения", true},
        ErrorCase{"headerWithoutDataBand",
                  reportXml(R"(<TfrxHeader Name="Header1" Top="10" Width="377.953" Height="10"/>)"),
                  "Не подключенный header/footer Header1", false}),
    [](const auto &info) { return info.param.name; });

TEST(RunErrors, UnknownFieldLetsTheRunGoOnWithAnEmptyText)
{
    auto rows = numberRows({1, 2});
    const ReportRun run = runReport(dataBandWith("a[D.\"NOPE\"]b"), {{"src", rows.get()}});
    EXPECT_EQ(run.texts("Cell"), (QStringList{"ab", "ab"}));
    EXPECT_EQ(run.errors().size(), 1);
}

TEST(RunErrors, MessageBoxTextListsEveryError)
{
    EXPECT_EQ(runErrorsText({"a", "b"}), QStringLiteral("Были обнаружены следующие ошибки:\na\nb"));
    EXPECT_EQ(runErrorsCaption(), QStringLiteral("Ошибка"));
}

TEST(MemoData, NullsInBracketsAreConvertedButNotInBoundMemos)
{
    RussianLocale locale;
    auto rows = std::make_unique<MemoryRows>(QList<MemoryRows::Column>{
        {"AMOUNT", FieldKind::Numeric}, {"DAY", FieldKind::Numeric}, {"NAME", FieldKind::String}});
    rows->addRow({QVariant(), QVariant(), QVariant()});
    const QString numeric = "DisplayFormat.Kind=\"fkNumeric\" DisplayFormat.FormatStr=\"%2.2f\"";
    const QString date = "DisplayFormat.Kind=\"fkDateTime\"";
    const QString cells =
        memoXml("Amount", "Width=\"50\" Height=\"30\" " + numeric, "[D.\"AMOUNT\"]") +
        memoXml("Day", "Left=\"50\" Width=\"50\" Height=\"30\" " + date, "[D.\"DAY\"]") +
        memoXml("BoundDay",
                "Left=\"100\" Width=\"50\" Height=\"30\" DataSet=\"D\" DataField=\"DAY\" " + date,
                "[D.\"DAY\"]") +
        memoXml("Name", "Left=\"150\" Width=\"50\" Height=\"30\"", "<[D.\"NAME\"]>");
    const ReportRun run = runReport(reportXml(masterDataXml(30).arg(cells)), {{"src", rows.get()}});
    ASSERT_TRUE(run.ok) << run.errors().join('\n').toStdString();
    EXPECT_EQ(run.texts("Amount"), QStringList{"0,00"});
    EXPECT_EQ(run.texts("Day"), QStringList{"30.12.1899"});
    EXPECT_EQ(run.texts("BoundDay"), QStringList{""});
    EXPECT_EQ(run.texts("Name"), QStringList{"<>"});
}

TEST(MemoData, InsertedValuesAreNotExpandedAgainAndLineBreaksSplitLines)
{
    auto rows =
        std::make_unique<MemoryRows>(QList<MemoryRows::Column>{{"TEXT", FieldKind::String}});
    rows->addRow({QStringLiteral("[Line]\r\nsecond")});
    const ReportRun run = runReport(dataBandWith("x[D.\"TEXT\"]y [Line]"), {{"src", rows.get()}});
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(run.texts("Cell"), QStringList{"x[Line]\nsecondy 1"});
}

TEST(Stretching, StretchedBandShrinksToItsLowestObject)
{
    auto rows = numberRows({1});
    // Stored height 40, lowest object ends at 30.
    const ReportRun run = runReport(reportXml(masterDataXml(40, true).arg(memoXml(
                                        "Cell", "Top=\"10\" Width=\"50\" Height=\"20\"", "x"))),
                                    {{"src", rows.get()}});
    ASSERT_TRUE(run.ok);
    EXPECT_DOUBLE_EQ(run.band(0, 0).height, 30);
}

TEST(Stretching, MaxHeightMemoReachesTheBottomOfAGrownNeighbour)
{
    auto rows =
        std::make_unique<MemoryRows>(QList<MemoryRows::Column>{{"TEXT", FieldKind::String}});
    rows->addRow({QStringLiteral("one\ntwo\nthree")});
    const QString cells =
        memoXml("Grown", "Width=\"100\" Height=\"18\" StretchMode=\"smActualHeight\"",
                "[D.\"TEXT\"]") +
        memoXml("Beside", "Left=\"100\" Width=\"50\" Height=\"18\" StretchMode=\"smMaxHeight\"",
                "1");
    const ReportRun run =
        runReport(reportXml(masterDataXml(18, true).arg(cells)), {{"src", rows.get()}});
    ASSERT_TRUE(run.ok);
    const PreparedPage &page = run.prepared().pages().front();
    // Three 10-point lines: round(3 * 15.28 + 2) = 48.
    EXPECT_DOUBLE_EQ(page.objects[0].height, 48);
    EXPECT_DOUBLE_EQ(page.objects[1].height, 48);
    EXPECT_DOUBLE_EQ(run.band(0, 0).height, 48);
}

TEST(Datasets, StayOpenAfterTheRunUnlessTheyCloseTheirDataSource)
{
    for (const bool closes : {false, true}) {
        auto rows = numberRows(numbers(3));
        QString xml = listingXml(true);
        if (closes)
            xml.replace(QLatin1String("DataSource=\"src\""),
                        QLatin1String("DataSource=\"src\" CloseDataSource=\"True\""));
        const ReportRun run = runReport(xml, {{"src", rows.get()}});
        ASSERT_TRUE(run.ok);
        EXPECT_EQ(rows->isOpen(), !closes);
        EXPECT_EQ(rows->currentRow(), 3); // after its last row
    }
}

namespace {

// Text search over prepared pages, as the preview's "Найти" and F3 use it: object by object in
// output order, going on from where the last find was, across pages.
TEST(TextSearch, FindsObjectByObjectAndGoesOnAcrossPages)
{
    auto rows = numberRows({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    const ReportRun run = runReport(
        reportXml(masterDataXml(30).arg(memoXml("M", R"(Left="0" Top="0" Width="300" Height="20")",
                                                "Строка [D.\"N\"]")),
                  60),
        {{"src", rows.get()}});
    ASSERT_TRUE(run.ok);
    ASSERT_GT(run.prepared().pageCount(), 1);
    const auto first =
        findText(run.prepared(), QStringLiteral("строка 1"), Qt::CaseInsensitive, 1, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->page, 1);
    const auto next = findText(run.prepared(), QStringLiteral("Строка 1"), Qt::CaseSensitive,
                               first->page, first->object + 1);
    ASSERT_TRUE(next) << "\"Строка 10\" comes later";
    EXPECT_GT(next->page, 1);
    EXPECT_FALSE(findText(run.prepared(), QStringLiteral("строка 1"), Qt::CaseSensitive, 1, 0));
    EXPECT_FALSE(findText(run.prepared(), QStringLiteral("Строка 13"), Qt::CaseSensitive, 1, 0));
}

} // namespace
