#include "../report/qt_printing.h"
#include "../report/report_fixture.h"
#include "sample_data.h"

#include "report_output.h"
#include "report_units.h"
#include "template_loader.h"

#include <QDir>
#include <QFile>

using namespace zreport;

namespace {

std::unique_ptr<TfrxReport> builtin(const QString &name)
{
    QString error;
    auto report = ztemplates::loadBuiltinTemplate(name, &error);
    EXPECT_TRUE(report) << error.toStdString();
    return report;
}

// The rows every template of the main window and the reference books reads.
struct SampleData {
    explicit SampleData(int lines, int listRows = 3)
    {
        double total = 0;
        detail = lines > 0 ? sample::detail(lines, &total) : sample::emptyDetail();
        document = sample::document(total, std::round(total * 12 / 112 * 100) / 100, lines);
        knp = sample::knp(listRows);
        clients = sample::clients(listRows);
        goods = sample::goods(listRows);
    }
    DataSources sources() const
    {
        return {{"DM.DSRekvizity", rekvizity.get()}, {"DM.DSDocs", document.get()},
                {"DM.DSDetail", detail.get()},       {"DM.DSKNP", knp.get()},
                {"DM.DSClients", clients.get()},     {"DM.DSNomenkl", goods.get()}};
    }

    std::unique_ptr<MemoryRows> rekvizity = sample::rekvizity();
    std::unique_ptr<MemoryRows> document, detail, knp, clients, goods;
};

ReportRun runBuiltin(const QString &name, const SampleData &data)
{
    ReportRun run;
    run.report = builtin(name);
    run.engine = std::make_unique<ReportEngine>(*run.report, data.sources());
    run.ok = run.engine->run();
    return run;
}

QStringList memoCounts(const TfrxReport &report)
{
    QStringList counts;
    for (const auto &band : report.reportPages().front()->bands)
        counts << QStringLiteral("%1:%2").arg(band->name).arg(band->objects.size());
    return counts;
}

TEST(BuiltinTemplates, AllAreThere)
{
    EXPECT_EQ(ztemplates::builtinTemplateNames(),
              (QStringList{"repDov", "repKNP", "repNomenkl", "repOrg", "repPlat", "repPrix",
                           "repSchet", "repSchet_beznds"}));
}

TEST(BuiltinTemplates, BandsHoldTheirMemos)
{
    const std::pair<const char *, QStringList> expected[] = {
        {"repSchet", {"ReportTitle1:11", "Header1:13", "MasterData1:6", "Footer1:10"}},
        {"repSchet_beznds", {"ReportTitle1:11", "Header1:13", "MasterData1:6", "Footer1:9"}},
        {"repKNP", {"ReportTitle1:1", "Header1:3", "MasterData1:3", "Footer1:1", "PageFooter1:1"}},
        {"repOrg", {"ReportTitle1:1", "Header1:8", "MasterData1:8", "Footer1:1", "PageFooter1:1"}},
        {"repNomenkl",
         {"ReportTitle1:1", "Header1:5", "MasterData1:5", "Footer1:1", "PageFooter1:1"}}};
    for (const auto &[name, counts] : expected) {
        const auto report = builtin(name);
        ASSERT_TRUE(report);
        EXPECT_EQ(memoCounts(*report), counts) << name;
        EXPECT_EQ(report->datasets.size(),
                  QLatin1String(name).startsWith(QLatin1String("repSchet")) ? 3u : 1u);
        for (const DatasetItem &item : report->datasets)
            EXPECT_TRUE(item.dataSet) << name;
    }
}

TEST(BuiltinTemplates, PagesAreA4WithTheirMargins)
{
    const auto invoice = builtin("repSchet");
    const TfrxReportPage *page = invoice->reportPages().front();
    EXPECT_EQ(std::vector<double>({page->paperWidth, page->paperHeight, page->leftMargin,
                                   page->topMargin, page->rightMargin, page->bottomMargin}),
              std::vector<double>({210, 297, 0, 10, 0, 10}));
    const auto clients = builtin("repOrg");
    page = clients->reportPages().front();
    EXPECT_EQ(page->orientation, PageOrientation::poLandscape);
    EXPECT_EQ(std::vector<double>({page->paperWidth, page->paperHeight, page->topMargin}),
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

// Golden files: the JSON of the prepared pages of each template on fixed rows. After a
// deliberate change of layout, regenerate them with
//   ZARNIK_UPDATE_GOLDEN=1 build/tests/test_templates --gtest_filter='Golden*'
// and review the diff of tests/templates/golden/.
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
    QByteArray json;
    QBuffer buffer(&json);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(writePreparedJson(run.prepared(), buffer));

    const QString path = QStringLiteral(ZARNIK_GOLDEN_DIR "/%1.json").arg(QLatin1String(c.name));
    if (qEnvironmentVariableIsSet("ZARNIK_UPDATE_GOLDEN")) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(json);
        GTEST_SKIP() << "golden file written: " << path.toStdString();
    }
    QFile in(path);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << path.toStdString();
    const QList<QByteArray> expected = in.readAll().split('\n');
    const QList<QByteArray> actual = json.split('\n');
    for (qsizetype i = 0; i < std::min(expected.size(), actual.size()); ++i)
        ASSERT_EQ(actual[i].toStdString(), expected[i].toStdString()) << "line " << i + 1;
    EXPECT_EQ(actual.size(), expected.size());
}

INSTANTIATE_TEST_SUITE_P(Templates, Golden,
                         ::testing::Values(GoldenCase{"repSchet", "repSchet", 3, 0},
                                           GoldenCase{"repSchet_beznds", "repSchet_beznds", 3, 0},
                                           GoldenCase{"repKNP_three_pages", "repKNP", 0, 100},
                                           GoldenCase{"repOrg", "repOrg", 0, 3},
                                           GoldenCase{"repNomenkl", "repNomenkl", 0, 3}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
