#include "data/business_templates.h"
#include "main_window_test.h"
#include "report/report_engine.h"
#include "ui/db_grid.h"
#include "window_driver.h"

#include <QLocale>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

// What the report shower was handed at one print: the template and the document's row
// as the engine reads it.
struct Printed {
    QString templateName;
    double total = 0;
    double vat = 0;
    double rate = 0;
    int lines = 0;
    QString words;
    QString quantityWords;
    QString firstLine;
};

QVariant documentValue(const zreport::DataSources &sources, const char *field)
{
    zreport::ReportRows *docs = sources.value(QStringLiteral("DM.DSDocs"));
    return docs ? docs->value(docs->fieldIndex(QString::fromLatin1(field))) : QVariant();
}

// The register over the demo database, whose current document is invoice 1: three lines
// (40 x 2350, 3 x 18900, 25 x 890) at 16 % included in the prices, 172 950 in all.
class Printing : public MainWindowTest {
protected:
    Printing() : MainWindowTest(TempDatabase::Demo) {}

    void openWindow()
    {
        MainWindowTest::openWindow(
            [this](const zreport::TfrxReport &report, const zreport::DataSources &sources) {
                Printed p;
                p.templateName = report.name;
                p.total = documentValue(sources, "STREALIZSUM").toDouble();
                p.vat = documentValue(sources, "VTNDS").toDouble();
                p.rate = documentValue(sources, "STNDS").toDouble();
                p.lines = documentValue(sources, "SUMTOV").toInt();
                p.words = documentValue(sources, "SUMPROPIS").toString();
                p.quantityWords = documentValue(sources, "sumtovpropis").toString();
                zreport::ReportRows *detail = sources.value(QStringLiteral("DM.DSDetail"));
                if (detail && !detail->eof())
                    p.firstLine = detail->value(detail->fieldIndex(u"NUM")).toString();
                printed.push_back(p);
            });
    }

    // Opens the data on invoice 1 and its lines, to change them before the window opens.
    void openInvoiceOne()
    {
        dm.DSetRekvizity->open();
        dm.DSetDocs->open();
        ASSERT_TRUE(dm.DSetDocs->locate(invoiceOneKod()));
        dm.DSetDetail->open();
    }
    qint64 invoiceOneKod()
    {
        Dataset &docs = *dm.DSetDocs;
        for (docs.first(); !docs.eof(); docs.next()) {
            if (docs.asInteger(QStringLiteral("NUMSCH")) == 1)
                return docs.asInteger(QStringLiteral("KOD"));
        }
        return -1;
    }
    void storeAndClose()
    {
        dm.TsnRW.commit();
        dm.closeAllDatasets();
    }

    // Changes stored rows before the window opens.
    void storeRequisite(const char *field, const QVariant &value)
    {
        storeInto(*dm.DSetRekvizity, field, value);
    }
    void storeDocument(const char *field, const QVariant &value)
    {
        storeInto(*dm.DSetDocs, field, value);
    }

    // Presses a printing command and expects it to show templateName.
    void expectPrints(const char *button, const QString &templateName)
    {
        const size_t before = printed.size();
        declineCashPayment(button);
        click(*window, button);
        ASSERT_EQ(printed.size(), before + 1) << button;
        EXPECT_EQ(printed.back().templateName, templateName) << button;
    }

    Printed print(const char *button)
    {
        declineCashPayment(button);
        click(*window, button);
        EXPECT_FALSE(printed.empty()) << button;
        return printed.empty() ? Printed{} : printed.back();
    }

    std::vector<Printed> printed;
    // False for a test whose invoice 1 comes to nothing: its order asks nothing.
    bool printedAmountIsUnpaid = true;

private:
    // The cash receipt order of an unpaid document asks to record it as paid; these tests
    // look at the forms only.
    void declineCashPayment(const char *button)
    {
        if (qstrcmp(button, "btnPrixKas") == 0 && printedAmountIsUnpaid)
            prompts.expectConfirm(demoCashReceiptQuestion(), false);
    }

    void storeInto(Dataset &dataset, const char *field, const QVariant &value)
    {
        openInvoiceOne();
        dataset.edit();
        dataset.setValue(QString::fromLatin1(field), value);
        dataset.post();
        storeAndClose();
    }
};

struct ChoiceCase {
    const char *what;
    int vatMode;
    const char *button;
    const char *templateName;
};

void PrintTo(const ChoiceCase &c, std::ostream *os)
{
    *os << c.what;
}

class PrintingChoice : public Printing, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(PrintingChoice, EachCommandShowsItsFormsTemplate)
{
    const ChoiceCase &c = GetParam();
    storeRequisite("VARRASCHET", c.vatMode);
    openWindow();
    expectPrints(c.button, QString::fromLatin1(c.templateName));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, PrintingChoice,
    ::testing::Values(ChoiceCase{"invoice_with_vat", 0, "btnSch", "repSchet"},
                      ChoiceCase{"invoice_vat_on_top", 1, "btnSch", "repSchet"},
                      ChoiceCase{"invoice_without_vat", 2, "btnSch", "repSchet_beznds"},
                      ChoiceCase{"vat_invoice_without_vat", 2, "btnSchFac", "repSchF"},
                      ChoiceCase{"cash_receipt", 2, "btnPrixKas", "repPrix"},
                      ChoiceCase{"power_of_attorney", 0, "btnDov", "repDov"},
                      ChoiceCase{"payment_order", 2, "btnPlat", "repPlat"}),
    [](const auto &info) { return std::string(info.param.what); });

TEST_F(Printing, OrientationTogglesTurnTheActAndTheWaybillUntilClickedBack)
{
    openWindow();
    expectPrints("btnActVyp", QStringLiteral("repActKn"));
    click(*window, "btnActKn");
    expectPrints("btnActVyp", QStringLiteral("repActAlb"));
    expectPrints("btnRasxNakl", QStringLiteral("repNaklKn"));
    click(*window, "btnRasxKn");
    expectPrints("btnRasxNakl", QStringLiteral("repNaklAlb"));
    expectPrints("btnActVyp", QStringLiteral("repActAlb"));
    click(*window, "btnActAlb");
    click(*window, "btnRasxAlb");
    expectPrints("btnActVyp", QStringLiteral("repActKn"));
    expectPrints("btnRasxNakl", QStringLiteral("repNaklKn"));
}

// The business's invoice in the database no longer reads: the standard one prints, after one
// message that names the form.
TEST_F(Printing, AStoredFormThatDoesNotLoadPrintsTheStandardOneAfterSayingSo)
{
    {
        FbTransaction transaction(dm.ZNDB);
        transaction.start();
        business_templates::store(transaction, QStringLiteral("repSchet"), "<TfrxReport");
        transaction.commit();
    }
    openWindow();
    prompts.expectInform(QStringLiteral("Бланк «Счет на оплату» из базы данных не загружается "
                                        "(repSchet:1:11: Premature end of document.); "
                                        "напечатан стандартный бланк."));
    expectPrints("btnSch", QStringLiteral("repSchet"));
    expectPrints("btnSchFac", QStringLiteral("repSchF"));
}

TEST_F(Printing, TotalsAreWorkedOutFromTheLinesAndLeftForTheNextPost)
{
    storeDocument("STREALIZSUM", 1);
    storeDocument("SUMPROPIS", QStringLiteral("старое"));
    openWindow();
    const Printed p = print("btnSch");
    EXPECT_DOUBLE_EQ(p.total, 172950);
    EXPECT_DOUBLE_EQ(p.vat, 23855.18);
    EXPECT_EQ(p.lines, 3);
    EXPECT_EQ(p.words,
              QStringLiteral("Сто семьдесят две тысячи девятьсот пятьдесят тенге 00 тиын"));
    EXPECT_EQ(p.quantityWords, QStringLiteral("Шестьдесят восемь"));
    EXPECT_EQ(p.firstLine, QStringLiteral("1"));
    EXPECT_TRUE(dm.DSetDocs->isEditing());

    // Moving to another document posts the printed one.
    clickRow(*child<DbGrid>(*window, "dbgrSchets"), 1);
    window.reset();
    dm.closeAllDatasets();
    dm.DSetDocs->open();
    EXPECT_DOUBLE_EQ(dm.DSetDocs->asFloat(QStringLiteral("STREALIZSUM")), 172950);
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("SUMPROPIS")), p.words);
}

TEST_F(Printing, ADocumentWithoutLinesPrintsZeroTotals)
{
    openInvoiceOne();
    Dataset &lines = *dm.DSetDetail;
    while (!lines.isEmpty())
        lines.remove();
    storeAndClose();
    openWindow();
    printedAmountIsUnpaid = false;
    const Printed p = print("btnPrixKas");
    EXPECT_EQ(p.total, 0);
    EXPECT_EQ(p.vat, 0);
    EXPECT_EQ(p.lines, 0);
    EXPECT_EQ(p.words, QStringLiteral("Ноль тенге 00 тиын"));
    EXPECT_EQ(p.quantityWords, QStringLiteral("Ноль"));
}

TEST_F(Printing, ANegativeTotalPrintsWithEmptyWords)
{
    openInvoiceOne();
    dm.DSetDetail->edit();
    dm.DSetDetail->setValue(QStringLiteral("KOLVO"), -400);
    dm.DSetDetail->post();
    storeAndClose();
    openWindow();
    const Printed p = print("btnDov");
    EXPECT_DOUBLE_EQ(p.total, 172950 - 40 * 2350 - 400 * 2350);
    EXPECT_EQ(p.words, QString());
    EXPECT_EQ(p.quantityWords, QString());
}

TEST_F(Printing, ThePaymentOrderKeepsItsOwnRateAndAnyOtherFormSetsTheBusinesssRate)
{
    storeDocument("STNDS", 12);
    openWindow();
    Printed p = print("btnPlat");
    EXPECT_DOUBLE_EQ(p.total, 172950);
    EXPECT_DOUBLE_EQ(p.rate, 12);
    EXPECT_DOUBLE_EQ(p.vat, 18530.36);
    EXPECT_EQ(p.lines, 0);

    p = print("btnPrixKas");
    EXPECT_DOUBLE_EQ(p.rate, 16);
    EXPECT_DOUBLE_EQ(p.vat, 23855.18);
    EXPECT_EQ(p.lines, 3);

    // A rate of 0 takes no VAT out.
    dm.DSetDocs->setValue(QStringLiteral("STNDS"), 0);
    p = print("btnPlat");
    EXPECT_DOUBLE_EQ(p.rate, 0);
    EXPECT_EQ(p.vat, 0);
    EXPECT_DOUBLE_EQ(p.total, 172950);
}

TEST_F(Printing, TheRequisitesWindowBetweenTwoPrintsChangesNoTotal)
{
    openWindow();
    window->setDialogRunner([](QDialog &) { return int(QDialog::Accepted); });
    const Printed first = print("btnSch");
    click(*window, "btnRekviz");
    const Printed second = print("btnSch");
    EXPECT_EQ(printed.size(), 2u);
    EXPECT_EQ(second.total, first.total);
    EXPECT_EQ(second.vat, first.vat);
    EXPECT_EQ(second.lines, first.lines);
    EXPECT_EQ(second.words, first.words);
}

TEST_F(Printing, TheFormsReadTheDataModulesComputedColumns)
{
    storeDocument("PASPVYD", QStringLiteral("$|$105102"));
    openWindow();
    QHash<QString, QString> texts;
    window->setReportShower(
        [&texts](const zreport::TfrxReport &report, const zreport::DataSources &sources) {
            zreport::ReportEngine engine(report, sources);
            EXPECT_TRUE(engine.run()) << engine.errors().join('\n').toStdString();
            for (const auto &page : engine.prepared().pages()) {
                for (const auto &object : page.objects) {
                    if (!texts.contains(object.name))
                        texts.insert(object.name, object.text);
                }
            }
        });
    click(*window, "btnDov");
    EXPECT_EQ(texts.value("Memo40"), QStringLiteral("Удостоверение личности (паспорт): "));
    EXPECT_EQ(texts.value("Memo9"), QStringLiteral("Сорок"));
    EXPECT_EQ(texts.value("Memo47"), QStringLiteral("Шестьдесят восемь"));
    texts.clear();
    click(*window, "btnPlat");
    EXPECT_EQ(texts.value("Memo28"), QStringLiteral("105102"));
    EXPECT_TRUE(texts.value("Memo20").endsWith(QStringLiteral("В т.ч. НДС(16%) - 23855,17")))
        << texts.value("Memo20").toStdString();
}

TEST_F(Printing, FailingIdentifiersAreListedOnceBeforeThePreview)
{
    storeDocument("BINIIN", QStringLiteral("060440019474"));
    storeRequisite("KBE", QStringLiteral("30"));
    openWindow();
    const QString question = QStringLiteral(
        "Проверьте реквизиты:\n"
        "Клиент: БИН (ИИН) 060440019474: не сходится контрольная (последняя) цифра: в номере "
        "опечатка или переставлены цифры\n"
        "Реквизиты компании: КБЕ 30: 1-я цифра — 1 (резидент) или 2 (нерезидент), а не 3\n\n"
        "Печатать всё равно?");
    prompts.expectConfirm(question, false);
    click(*window, "btnPlat");
    prompts.verify();
    EXPECT_TRUE(printed.empty()) << "Нет shows no preview";
    prompts.expectConfirm(question, true);
    expectPrints("btnPlat", QStringLiteral("repPlat"));
}

TEST_F(Printing, WithoutAShowerTheCommandSaysSo)
{
    window = std::make_unique<TfrmMain>(session, prompts);
    window->show();
    prompts.expectError(QStringLiteral("Просмотр отчетов недоступен"), window->windowTitle());
    click(*window, "btnSch");
}

} // namespace
