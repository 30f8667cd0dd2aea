// The cash receipt order, the power of attorney and the payment order over fixed rows:
// golden prepared pages, and the cases whose faults a golden file would hide.

#include "builtin_run.h"
#include "golden_file.h"

#include "report/report_output.h"
#include "report/report_units.h"
#include "templates/template_loader.h"

#include <QFile>

using namespace zreport;

namespace {

ReportRun runForm(const QString &name, const OrderRows &rows)
{
    ReportRun run;
    QString error;
    run.report = ztemplates::loadBuiltinTemplate(name, &error);
    EXPECT_TRUE(run.report) << error.toStdString();
    if (!run.report)
        return run;
    run.engine = std::make_unique<ReportEngine>(*run.report, rows.sources());
    run.ok = run.engine->run();
    EXPECT_TRUE(run.errors().isEmpty()) << run.errors().join('\n').toStdString();
    return run;
}

QString text(const ReportRun &run, const char *memo)
{
    const QStringList texts = run.texts(QString::fromLatin1(memo));
    EXPECT_EQ(texts.size(), 1) << memo;
    return texts.value(0);
}

const PreparedObject *object(const ReportRun &run, const QString &name)
{
    for (const auto &page : run.prepared().pages())
        for (const auto &o : page.objects)
            if (o.name == name)
                return &o;
    return nullptr;
}

TEST(ReceiptAttorneyPayment, AreBuiltInWithTheirBandsPagesAndDatasets)
{
    const struct {
        const char *name;
        QStringList bands;
        double topMargin;
    } forms[] = {{"repPrix", {"ReportTitle1:50"}, 0},
                 {"repDov", {"ReportTitle1:22", "Header1:8", "MasterData1:4", "Footer1:16"}, 5},
                 {"repPlat", {"ReportTitle1:64"}, 0}};
    for (const auto &f : forms) {
        QString error;
        const auto report = ztemplates::loadBuiltinTemplate(QString::fromLatin1(f.name), &error);
        ASSERT_TRUE(report) << error.toStdString();
        const TfrxReportPage *page = report->reportPages().front();
        EXPECT_EQ(memoCounts(*report), f.bands) << f.name;
        EXPECT_EQ(std::vector<double>({page->settings.paperWidth, page->settings.paperHeight,
                                       page->settings.leftMargin, page->settings.topMargin,
                                       page->settings.rightMargin, page->settings.bottomMargin}),
                  std::vector<double>({210, 297, 0, f.topMargin, 0, f.topMargin}))
            << f.name;
        EXPECT_EQ(report->datasets.size(), 3u) << f.name;
    }
}

// Golden files of the three forms (golden_file.h).
struct GoldenCase {
    const char *name;
    const char *templateName;
    int lines;
};

void PrintTo(const GoldenCase &c, std::ostream *os)
{
    *os << c.name;
}

class ReceiptAttorneyPaymentGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(ReceiptAttorneyPaymentGolden, PreparedPagesMatchTheStoredJson)
{
    RussianLocale locale;
    const GoldenCase &c = GetParam();
    const OrderRows rows(sample::OrderDocument{}, c.lines);
    const ReportRun run = runForm(QString::fromLatin1(c.templateName), rows);
    ASSERT_TRUE(run.ok);
    expectMatchesGolden(run.prepared(), c.name);
}

INSTANTIATE_TEST_SUITE_P(Templates, ReceiptAttorneyPaymentGolden,
                         ::testing::Values(GoldenCase{"repPrix", "repPrix", 3},
                                           GoldenCase{"repDov", "repDov", 3},
                                           GoldenCase{"repPlat", "repPlat", 3}),
                         [](const auto &info) { return std::string(info.param.name); });

// One document, changed by each case, printed as one form; the memos named print so. An
// empty number or date inside a text prints as 0, as the engine converts nulls; a bare
// date field under the date format prints day zero.
struct FormCase {
    const char *name;
    const char *templateName;
    std::function<void(sample::OrderDocument &)> change;
    int lines;
    std::vector<std::pair<const char *, QString>> texts;
};

void PrintTo(const FormCase &c, std::ostream *os)
{
    *os << c.name;
}

class ReceiptAttorneyPaymentCases : public ::testing::TestWithParam<FormCase> {};

TEST_P(ReceiptAttorneyPaymentCases, PrintTheirValuesSo)
{
    RussianLocale locale;
    const FormCase &c = GetParam();
    sample::OrderDocument d;
    if (c.change)
        c.change(d);
    const OrderRows rows(d, c.lines);
    const ReportRun run = runForm(QString::fromLatin1(c.templateName), rows);
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(run.prepared().pageCount(), 1);
    for (const auto &[memo, expected] : c.texts)
        EXPECT_EQ(text(run, memo), expected) << memo;
}

void emptyDocument(sample::OrderDocument &d)
{
    d.client.clear();
    d.number = QVariant();
    d.date = QVariant();
    d.words.clear();
    d.quantityWords.clear();
    d.passport.clear();
    d.kbk.clear();
}

const QString kPurposeAtRateZero =
    QStringLiteral("Назначение платежа: Счет на оплату № 15 от 05.03.2024\n"
                   "Две тысячи пятьсот тенге 50 тиын\nВ т.ч. НДС(0%) - 0");

void negativeTotal(sample::OrderDocument &d)
{
    d.total = -861050;
    d.vat = -92255.36;
    d.words.clear();
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ReceiptAttorneyPaymentCases,
    ::testing::Values(
        FormCase{"receipt_whole_total",
                 "repPrix",
                 [](sample::OrderDocument &d) {
                     d.total = 1500;
                     d.vat = 160.71;
                 },
                 0,
                 {{"Memo38", QStringLiteral("1500,00")},
                  {"Memo44", QStringLiteral("Сумма: 1500 (Сто двенадцать тысяч пятьсот тенге 50 "
                                            "тиын), В т.ч. НДС 160,71")},
                  {"Memo23", QStringLiteral("КВИТАНЦИЯ\nк приходному кассовому ордеру\n№ 42")},
                  {"Memo41", QStringLiteral("Принято от:ТОО «Северный торговый дом и партнеры»")},
                  {"Memo63", QStringLiteral("05.03.2024")}}},
        FormCase{"receipt_empty_document",
                 "repPrix",
                 emptyDocument,
                 0,
                 {{"Memo38", QStringLiteral("0,00")},
                  {"Memo62", QStringLiteral("0")},
                  {"Memo63", QStringLiteral("30.12.1899")},
                  {"Memo41", QStringLiteral("Принято от:")},
                  {"Memo27", QStringLiteral("Принято от: ")},
                  {"Memo44", QStringLiteral("Сумма: 0 (), В т.ч. НДС 0")}}},
        FormCase{"receipt_negative_total",
                 "repPrix",
                 negativeTotal,
                 0,
                 {{"Memo38", QStringLiteral("-861050,00")},
                  {"Memo32", QStringLiteral("Сумма: -861050 (), В т.ч. НДС -92255,36")}}},
        FormCase{"attorney_without_identity_document",
                 "repDov",
                 [](sample::OrderDocument &d) { d.passport.clear(); },
                 2,
                 {{"Memo40", QStringLiteral("Удостоверение личности (паспорт): ")},
                  {"Memo47", QStringLiteral("Двадцать")}}},
        FormCase{"attorney_empty_document",
                 "repDov",
                 emptyDocument,
                 0,
                 {{"Memo5", QStringLiteral("Доверенность действительна по 0")},
                  {"Memo35", QStringLiteral("ДОВЕРЕННОСТЬ № 0")},
                  {"Memo36", QStringLiteral("Дата выдачи 0")},
                  {"Memo38", QStringLiteral("Выдана ")},
                  {"Memo43", QStringLiteral("На получение от ")}}},
        FormCase{"payment_rate_zero",
                 "repPlat",
                 [](sample::OrderDocument &d) {
                     d.rate = 0;
                     d.total = 2500.5;
                     d.vat = 0;
                     d.words = QStringLiteral("Две тысячи пятьсот тенге 50 тиын");
                 },
                 0,
                 {{"Memo7", QStringLiteral("2500,50")},
                  {"Memo20", kPurposeAtRateZero},
                  {"Memo52", kPurposeAtRateZero}}},
        FormCase{"payment_empty_document",
                 "repPlat",
                 emptyDocument,
                 0,
                 {{"Memo2", QStringLiteral("Платежное поручение № 0")},
                  {"Memo3", QStringLiteral("0")},
                  {"Memo10", QStringLiteral("Бенефициар: \nБИН(ИИН): ")},
                  {"Memo18", QStringLiteral("Сумма прописью:  ")},
                  {"Memo28", QString()},
                  {"Memo29", QStringLiteral("0")},
                  {"Memo39", QStringLiteral("0,00")}}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ReceiptAttorneyPayment, BothCopiesOfThePaymentOrderCarryTheSameValues142MmApart)
{
    RussianLocale locale;
    const OrderRows rows(sample::OrderDocument{}, 3);
    const ReportRun run = runForm(QStringLiteral("repPlat"), rows);
    ASSERT_TRUE(run.ok);
    ASSERT_EQ(run.prepared().pageCount(), 1);
    for (int n = 1; n <= 32; ++n) {
        const PreparedObject *first = object(run, QStringLiteral("Memo%1").arg(n));
        const PreparedObject *second = object(run, QStringLiteral("Memo%1").arg(n + 32));
        ASSERT_TRUE(first && second) << n;
        EXPECT_NEAR(second->top - first->top, mmToUnits(142.0), 0.01) << n;
        EXPECT_EQ(std::vector<double>({first->left, first->width, first->height}),
                  std::vector<double>({second->left, second->width, second->height}))
            << n;
        if (n != 15) {
            EXPECT_EQ(second->text, first->text) << n;
        }
    }
    EXPECT_EQ(text(run, "Memo15"), QStringLiteral("Банк-посредник:\n"));
    EXPECT_EQ(text(run, "Memo47"), QStringLiteral("Банк-посредник:"));
}

TEST(ReceiptAttorneyPayment, AttorneyWithoutLinesPrintsOnlyTheTitleAndWithManyGoesOn)
{
    RussianLocale locale;
    const OrderRows none(sample::OrderDocument{}, 0);
    const ReportRun empty = runForm(QStringLiteral("repDov"), none);
    ASSERT_TRUE(empty.ok);
    EXPECT_EQ(empty.bands(0), QStringList{"ReportTitle1"});

    const OrderRows many(sample::OrderDocument{}, 80);
    const ReportRun run = runForm(QStringLiteral("repDov"), many);
    ASSERT_TRUE(run.ok);
    ASSERT_GE(run.prepared().pageCount(), 2);
    EXPECT_EQ(run.bands(1).first(), QLatin1String("MasterData1"));
    EXPECT_EQ(run.bands(run.prepared().pageCount() - 1).last(), QLatin1String("Footer1"));
    EXPECT_EQ(run.texts("Memo6").size(), 80);
    EXPECT_EQ(run.texts("Memo19").size(), 1);
    // A name that takes three lines grows the row; all four cells reach its bottom.
    const auto &page = run.prepared().pages().front();
    for (const PreparedBand &band : page.bands) {
        if (band.name != QLatin1String("MasterData1") || band.height < mmToUnits(6))
            continue;
        for (quint32 i = band.firstObject; i < band.firstObject + band.objectCount; ++i)
            EXPECT_DOUBLE_EQ(page.objects[i].height, band.height)
                << page.objects[i].name.toStdString();
        break;
    }
}

} // namespace
