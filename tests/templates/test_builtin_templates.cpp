#include "../report/qt_printing.h"
#include "../report/report_fixture.h"
#include "builtin_run.h"
#include "golden_file.h"
#include "scoped_locale.h"

#include "report/report_output.h"
#include "report/report_units.h"
#include "templates/template_loader.h"
#include "templates/template_titles.h"

#include <QDir>
#include <QFile>

#include <algorithm>

using namespace zreport;

namespace {

TEST(BuiltinTemplates, AllAreThere)
{
    EXPECT_EQ(ztemplates::builtinTemplateNames(),
              (QStringList{"repActAlb", "repActKn", "repAktSverki", "repDolzhniki", "repDov",
                           "repKNP", "repNaklAlb", "repNaklKn", "repNomenkl", "repOrg", "repPlat",
                           "repPrix", "repSchF", "repSchet", "repSchet_beznds"}));
}

// The forms' list and the messages about a form name it by its title, never by its file.
TEST(BuiltinTemplates, EachHasATitleOfItsOwn)
{
    QStringList titles;
    for (const QString &name : ztemplates::builtinTemplateNames()) {
        const QString title = ztemplates::builtinTemplateTitle(name);
        EXPECT_NE(title, name);
        EXPECT_FALSE(titles.contains(title)) << title.toStdString();
        titles << title;
    }
}

TEST(BuiltinTemplates, BandsHoldTheirMemos)
{
    const std::pair<const char *, QStringList> expected[] = {
        {"repSchet", {"ReportTitle1:11", "Header1:13", "MasterData1:6", "Footer1:10"}},
        {"repSchet_beznds", {"ReportTitle1:11", "Header1:13", "MasterData1:6", "Footer1:9"}},
        {"repKNP", {"ReportTitle1:1", "Header1:3", "MasterData1:3", "Footer1:1", "PageFooter1:1"}},
        {"repOrg", {"ReportTitle1:1", "Header1:8", "MasterData1:8", "Footer1:1", "PageFooter1:1"}},
        {"repNomenkl",
         {"ReportTitle1:1", "Header1:5", "MasterData1:5", "Footer1:1", "PageFooter1:1"}},
        {"repSchF", {"ReportTitle1:17", "Header1:13", "MasterData1:11", "Footer1:19"}},
        {"repNaklKn", {"ReportTitle1:20", "Header1:19", "MasterData1:9", "Footer1:41"}},
        {"repNaklAlb", {"ReportTitle1:20", "Header1:19", "MasterData1:9", "Footer1:41"}},
        {"repActKn", {"ReportTitle1:17", "Header1:17", "MasterData1:8", "Footer1:31"}},
        {"repActAlb", {"ReportTitle1:17", "Header1:17", "MasterData1:8", "Footer1:31"}}};
    for (const auto &[name, counts] : expected) {
        const auto report = builtin(name);
        ASSERT_TRUE(report);
        EXPECT_EQ(memoCounts(*report), counts) << name;
        const bool listing = QLatin1String(name) == QLatin1String("repKNP") ||
                             QLatin1String(name) == QLatin1String("repOrg") ||
                             QLatin1String(name) == QLatin1String("repNomenkl");
        EXPECT_EQ(report->datasets.size(), listing ? 1u : 3u) << name;
        for (const DatasetItem &item : report->datasets)
            EXPECT_TRUE(item.dataSet) << name;
    }
}

TEST(BuiltinTemplates, PagesAreA4WithTheirMargins)
{
    const auto invoice = builtin("repSchet");
    const TfrxReportPage *page = invoice->reportPages().front();
    EXPECT_EQ(std::vector<double>({page->settings.paperWidth, page->settings.paperHeight,
                                   page->settings.leftMargin, page->settings.topMargin,
                                   page->settings.rightMargin, page->settings.bottomMargin}),
              std::vector<double>({210, 297, 0, 10, 0, 10}));
    const auto clients = builtin("repOrg");
    page = clients->reportPages().front();
    EXPECT_EQ(page->settings.orientation, PageOrientation::poLandscape);
    EXPECT_EQ(std::vector<double>({page->settings.paperWidth, page->settings.paperHeight,
                                   page->settings.topMargin}),
              std::vector<double>({297, 210, 0}));
    EXPECT_NEAR(page->bands.front()->width, 1122.52041, 1e-9);
    EXPECT_EQ(clients->findDataset(u"dsetorg")->dataSource, QLatin1String("DM.DSClients"));
}

TEST(BuiltinTemplates, InvoiceWithoutLinesPrintsOnlyTheTitle)
{
    const SampleData data(0);
    const ReportRun run = runBuiltin("repSchet", data);
    ASSERT_TRUE(run.ok) << run.errors().join('\n').toStdString();
    ASSERT_EQ(run.prepared().pageCount(), 1);
    EXPECT_EQ(run.bands(0), QStringList{"ReportTitle1"});
}

TEST(BuiltinTemplates, LongInvoiceContinuesWithoutTheHeadingAndEndsWithTheTotals)
{
    const SampleData data(60);
    const ReportRun run = runBuiltin("repSchet", data);
    ASSERT_TRUE(run.ok);
    ASSERT_GE(run.prepared().pageCount(), 2);
    const QStringList second = run.bands(1);
    EXPECT_EQ(second.first(), QLatin1String("MasterData1"));
    EXPECT_FALSE(second.contains(QLatin1String("Header1")));
    QStringList last = run.bands(run.prepared().pageCount() - 1);
    EXPECT_EQ(last.last(), QLatin1String("Footer1"));
    EXPECT_EQ(run.texts("Memo25").size(), 60);
    EXPECT_EQ(run.texts("Header1").size() + run.texts("Memo2").size(), 1);
}

// The forms of one document that print its lines as a ruled table.
struct FormCase {
    const char *templateName;
    const char *numberMemo; // the cell of the line number
    int rowCells;
    const char *quantityTotal; // nullptr where the form has no quantity total
    const char *amountTotal;
};

void PrintTo(const FormCase &c, std::ostream *os)
{
    *os << c.templateName;
}

class Forms : public ::testing::TestWithParam<FormCase> {};

TEST_P(Forms, WithoutLinesOnlyTheTitleIsPrinted)
{
    const SampleData data(0);
    const ReportRun run = runBuiltin(GetParam().templateName, data);
    ASSERT_TRUE(run.ok) << run.errors().join('\n').toStdString();
    ASSERT_EQ(run.prepared().pageCount(), 1);
    EXPECT_EQ(run.bands(0), QStringList{"ReportTitle1"});
}

TEST_P(Forms, ADocumentWithEmptyFieldsPrints)
{
    sample::DocumentKind blank;
    blank.blank = true;
    const SampleData data(3, 3, blank);
    const ReportRun run = runBuiltin(GetParam().templateName, data);
    EXPECT_TRUE(run.ok) << run.errors().join('\n').toStdString();
    EXPECT_EQ(run.texts(QLatin1String(GetParam().numberMemo)).size(), 3);
}

TEST_P(Forms, ALongNameGrowsItsWholeRow)
{
    const FormCase &c = GetParam();
    const SampleData data(3); // the third name needs several lines in every form
    const ReportRun run = runBuiltin(c.templateName, data);
    ASSERT_TRUE(run.ok);
    const PreparedPage &page = run.prepared().pages().front();
    std::vector<double> rowHeights;
    for (const PreparedBand &band : page.bands) {
        if (band.name != QLatin1String("MasterData1"))
            continue;
        rowHeights.push_back(band.height);
        ASSERT_EQ(band.objectCount, quint32(c.rowCells));
        for (quint32 i = 0; i < band.objectCount; ++i) {
            const PreparedObject &cell = page.objects[band.firstObject + i];
            EXPECT_EQ(cell.top, 0) << cell.name.toStdString();
            EXPECT_NEAR(cell.height, band.height, 1e-6) << cell.name.toStdString();
        }
    }
    ASSERT_EQ(rowHeights.size(), 3u);
    EXPECT_GT(rowHeights[2], rowHeights[0]);
}

TEST_P(Forms, LinesRunOnWithoutTheHeadingAndTheTotalsFollowTheLast)
{
    RussianLocale locale;
    const FormCase &c = GetParam();
    const int lines = 90;
    const SampleData data(lines);
    const ReportRun run = runBuiltin(c.templateName, data);
    ASSERT_TRUE(run.ok);
    const int pages = run.prepared().pageCount();
    ASSERT_GE(pages, 2);
    EXPECT_EQ(run.bands(1).first(), QLatin1String("MasterData1"));
    for (int page = 1; page < pages; ++page)
        EXPECT_FALSE(run.bands(page).contains(QLatin1String("Header1"))) << page;
    EXPECT_EQ(run.bands(pages - 1).last(), QLatin1String("Footer1"));
    EXPECT_EQ(run.texts(QLatin1String(c.numberMemo)).size(), lines);

    // Totals over every printed line, not over the last page's.
    double quantity = 0, amount = 0;
    auto rows = sample::detail(lines, &amount);
    for (rows->open(), rows->first(); !rows->eof(); rows->next())
        quantity += rows->value(rows->fieldIndex(u"KOLVO")).toDouble();
    EXPECT_EQ(run.texts(QLatin1String(c.amountTotal)),
              QStringList{QString::number(amount, 'f', 2).replace(u'.', u',')});
    if (c.quantityTotal) {
        EXPECT_EQ(run.texts(QLatin1String(c.quantityTotal)),
                  QStringList{QLocale().toString(quantity)});
    }
}

INSTANTIATE_TEST_SUITE_P(Templates, Forms,
                         ::testing::Values(FormCase{"repSchF", "Memo25", 11, nullptr, "Memo55"},
                                           FormCase{"repNaklKn", "Memo6", 9, "Memo81", "Memo85"},
                                           FormCase{"repNaklAlb", "Memo6", 9, "Memo39", "Memo85"},
                                           FormCase{"repActKn", "Memo6", 8, "Memo81", "Memo82"},
                                           FormCase{"repActAlb", "Memo6", 8, "Memo81", "Memo82"}),
                         [](const auto &info) { return std::string(info.param.templateName); });

TEST(BuiltinTemplates, FormsPrintWhatTheDataModuleWorkedOut)
{
    RussianLocale locale;
    sample::DocumentKind withoutVat;
    withoutVat.vatMode = 2;
    sample::DocumentKind withAct;
    withAct.hasAct = true;
    sample::DocumentKind clientWithoutPhone;
    clientWithoutPhone.clientHasPhone = false;
    const QString noPhone =
        QStringLiteral("ИП Иванов Иван Иванович, Республика Казахстан, Карагандинская область, "
                       "г. Караганда, проспект Бухар-Жырау, дом 45, офис 301, бизнес-центр "
                       "«Сарыарка», ");
    const struct {
        const char *what;
        const char *templateName;
        sample::DocumentKind kind;
        const char *memo;
        QStringList texts;
    } cases[] = {
        {"every rate reads без НДС without VAT",
         "repSchF",
         withoutVat,
         "Memo46",
         {"без НДС", "без НДС", "без НДС"}},
        {"the VAT amounts stay those of the lines",
         "repSchF",
         withoutVat,
         "Memo47",
         {"133,98", "289,39", "466,23"}},
        {"consignor after an act number", "repSchF", withAct, "mGRUZOT", {"Грузоотправитель:  - "}},
        {"consignee after an act number", "repSchF", withAct, "Memo11", {"Грузополучатель:  - "}},
        {"customer without a telephone", "repActKn", clientWithoutPhone, "Memo50", {noPhone}},
        {"customer without a telephone, portrait",
         "repActAlb",
         clientWithoutPhone,
         "Memo50",
         {noPhone}},
    };
    for (const auto &c : cases) {
        const SampleData data(3, 3, c.kind);
        const ReportRun run = runBuiltin(c.templateName, data);
        ASSERT_TRUE(run.ok) << c.what;
        EXPECT_EQ(run.texts(QLatin1String(c.memo)), c.texts) << c.what;
    }
}

TEST(BuiltinTemplates, ALongPowerOfAttorneyMovesTheLyingWaybillsSignaturesOnly)
{
    const SampleData data(3);
    const struct {
        const char *templateName;
        double receivedTopMm; // "Запасы получил:" as designed
        bool moves;
    } cases[] = {{"repNaklKn", 35.0, true}, {"repNaklAlb", 42.708, false}};
    for (const auto &c : cases) {
        const ReportRun run = runBuiltin(c.templateName, data);
        ASSERT_TRUE(run.ok) << c.templateName;
        const PreparedPage &page = run.prepared().pages().back();
        const auto object = [&](const char *name) {
            return *std::find_if(page.objects.begin(), page.objects.end(),
                                 [&](const PreparedObject &o) { return o.name == name; });
        };
        EXPECT_GT(object("Memo63").height, mmToUnits(4.2)) << c.templateName;
        EXPECT_EQ(object("Memo56").top > mmToUnits(c.receivedTopMm) + 0.01, c.moves)
            << c.templateName;
    }
}

// Golden files of the templates of the main window and the reference books (golden_file.h).
struct GoldenCase {
    const char *name;
    const char *templateName;
    int lines;
    int listRows;
};

void PrintTo(const GoldenCase &c, std::ostream *os)
{
    *os << c.name;
}

class Golden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, PreparedPagesMatchTheStoredJson)
{
    RussianLocale locale;
    const GoldenCase &c = GetParam();
    const SampleData data(c.lines, c.listRows);
    const ReportRun run = runBuiltin(c.templateName, data);
    ASSERT_TRUE(run.ok) << run.errors().join('\n').toStdString();
    expectMatchesGolden(run.prepared(), c.name);
}

INSTANTIATE_TEST_SUITE_P(Templates, Golden,
                         ::testing::Values(GoldenCase{"repSchet", "repSchet", 3, 0},
                                           GoldenCase{"repSchet_beznds", "repSchet_beznds", 3, 0},
                                           GoldenCase{"repKNP_three_pages", "repKNP", 0, 100},
                                           GoldenCase{"repOrg", "repOrg", 0, 3},
                                           GoldenCase{"repNomenkl", "repNomenkl", 0, 3},
                                           GoldenCase{"repSchF", "repSchF", 3, 0},
                                           GoldenCase{"repNaklKn", "repNaklKn", 3, 0},
                                           GoldenCase{"repNaklAlb", "repNaklAlb", 3, 0},
                                           GoldenCase{"repActKn", "repActKn", 3, 0},
                                           GoldenCase{"repActAlb", "repActAlb", 3, 0}),
                         [](const auto &info) { return std::string(info.param.name); });

// A form reads the same on every desktop: the rows carry the desktop's own display texts, as
// the data module gives them, and the pages still match the Russian golden file.
class FormOnDesktop : public ::testing::TestWithParam<const char *> {};

TEST_P(FormOnDesktop, ReadsTheSameAsOnARussianOne)
{
    const ScopedLocale desktop(GetParam());
    ASSERT_TRUE(desktop.installed()) << GetParam() << " is not generated on this machine";
    const SampleData data(3, 0);
    const ReportRun run = runBuiltin(QStringLiteral("repSchet"), data);
    ASSERT_TRUE(run.ok) << run.errors().join('\n').toStdString();
    expectMatchesGolden(run.prepared(), "repSchet");
}

INSTANTIATE_TEST_SUITE_P(Templates, FormOnDesktop,
                         ::testing::Values("ru_RU.UTF-8", "kk_KZ.UTF-8", "en_US.UTF-8", "C.UTF-8"),
                         [](const auto &info) {
                             const std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

} // namespace
