#include "data/money.h"
#include "data/tdm.h"
#include "data_module_test.h"
#include "param_names.h"

#include <QLocale>

#include <ostream>

#include <gtest/gtest.h>

namespace {

class Calculations : public DataModuleTest {
protected:
    void setRequisites(int mode, QVariant rate)
    {
        dm.DSetRekvizity->edit();
        dm.DSetRekvizity->setValue(QStringLiteral("VARRASCHET"), mode);
        dm.DSetRekvizity->setValue(QStringLiteral("STNDS"), rate);
        dm.DSetRekvizity->setValue(QStringLiteral("NAMEORG"), QStringLiteral("ТОО «Мы»"));
        dm.DSetRekvizity->setValue(QStringLiteral("BINIIN"), QStringLiteral("111"));
        dm.DSetRekvizity->setValue(QStringLiteral("ADRES"), QStringLiteral("Алматы"));
        dm.DSetRekvizity->post();
    }
    void newDocument()
    {
        dm.DSetDocs->append();
        dm.DSetDocs->post();
    }
    void addLine(double quantity, double price, double rate)
    {
        dm.DSetDetail->append();
        dm.DSetDetail->setValue(QStringLiteral("STNDS"), rate);
        dm.DSetDetail->setValue(QStringLiteral("CENASHT"), price);
        dm.DSetDetail->setValue(QStringLiteral("KOLVO"), quantity);
        dm.DSetDetail->post();
    }
    double docs(const char *column) { return dm.DSetDocs->asFloat(QString::fromLatin1(column)); }
    double line(const char *column) { return dm.DSetDetail->asFloat(QString::fromLatin1(column)); }
};

struct LineCase {
    int mode;
    double quantity, price, rate;
    double strealiz, sumnds, cenasumbeznds;
};

void PrintTo(const LineCase &c, std::ostream *os)
{
    *os << "mode " << c.mode << ": " << c.quantity << " x " << c.price << " at " << c.rate << "%";
}

class LineAmountsOnADataset : public Calculations,
                              public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineAmountsOnADataset, AnyOrderOfAssignmentEndsWithTheSameAmounts)
{
    const LineCase &c = GetParam();
    setRequisites(c.mode, 12.0);
    newDocument();
    const std::vector<std::pair<const char *, double>> values = {
        {"KOLVO", c.quantity}, {"CENASHT", c.price}, {"STNDS", c.rate}};
    std::vector<int> order = {0, 1, 2};
    do {
        dm.DSetDetail->append();
        for (int i : order)
            dm.DSetDetail->setValue(QString::fromLatin1(values[size_t(i)].first),
                                    values[size_t(i)].second);
        EXPECT_EQ(line("STREALIZ"), roundMoney(c.strealiz));
        EXPECT_EQ(line("SUMNDS"), roundMoney(c.sumnds));
        EXPECT_EQ(line("CENASUMBEZNDS"), roundMoney(c.cenasumbeznds));
        dm.DSetDetail->cancel();
    } while (std::next_permutation(order.begin(), order.end()));
}

INSTANTIATE_TEST_SUITE_P(Modes, LineAmountsOnADataset,
                         ::testing::Values(LineCase{0, 3, 1120, 12, 3360.00, 360.00, 3000.00},
                                           LineCase{0, 2, 150.55, 12, 301.10, 32.26, 268.84},
                                           LineCase{1, 2, 150.55, 12, 337.23, 36.13, 301.10},
                                           LineCase{2, 2, 150.55, 12, 337.23, 36.13, 301.10},
                                           LineCase{0, 5, 10, 0, 50, 0, 50},
                                           LineCase{2, 5, 10, 0, 50, 0, 50}),
                         ztest::PrintedName());

TEST_F(Calculations, LineComputedColumnsFollowTheLineAndTheRequisites)
{
    setRequisites(0, 12.0);
    newDocument();
    addLine(21, 112, 12);
    EXPECT_EQ(dm.DSetDetail->asString(QStringLiteral("beznds")), QStringLiteral("12"));
    EXPECT_EQ(line("cenashtbeznds"), 100.0);
    EXPECT_EQ(dm.DSetDetail->asString(QStringLiteral("kolpropis")),
              QStringLiteral("Двадцать один"));
    dm.DSetDetail->edit();
    dm.DSetDetail->setValue(QStringLiteral("KOLVO"), 0);
    EXPECT_TRUE(dm.DSetDetail->isNull(QStringLiteral("cenashtbeznds")));
    EXPECT_EQ(dm.DSetDetail->asString(QStringLiteral("kolpropis")), QStringLiteral("Ноль"));
    dm.DSetDetail->setValue(QStringLiteral("KOLVO"), -1);
    EXPECT_EQ(dm.DSetDetail->asString(QStringLiteral("kolpropis")), QString());
    dm.DSetDetail->cancel();

    setRequisites(2, 12.0);
    dm.DSetDetail->close();
    dm.DSetDetail->open();
    EXPECT_EQ(dm.DSetDetail->asString(QStringLiteral("beznds")), QStringLiteral("без НДС"));
}

TEST_F(Calculations, DocumentComputedColumns)
{
    setRequisites(0, 12.0);
    dm.DSetDocs->append();
    dm.DSetDocs->setValue(QStringLiteral("NAMEORG"), QStringLiteral("ТОО «Они»"));
    dm.DSetDocs->setValue(QStringLiteral("BINIIN"), QStringLiteral("222"));
    dm.DSetDocs->setValue(QStringLiteral("ADRES"), QStringLiteral("Астана"));
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("gruzot")),
              QStringLiteral("ТОО «Мы», БИН(ИИН) и адрес: 111, Алматы"));
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("gruzopol")),
              QStringLiteral("ТОО «Они», БИН(ИИН) и адрес: 222, Астана"));
    dm.DSetDocs->setValue(QStringLiteral("NUMACT"), 5);
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("gruzot")), QStringLiteral(" - "));
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("gruzopol")), QStringLiteral(" - "));

    const struct {
        const char *pasp, *docum, *kbk;
    } cases[] = {{"Удостоверение № 1$|$104302", "Удостоверение № 1", "104302"},
                 {"Паспорт$|$", "Паспорт", ""},
                 {"$|$105102", "", "105102"},
                 {"Паспорт", "Паспорт", "спорт"},
                 {"", "", ""},
                 {"a$|$b$|$c", "a", "b$|$c"}};
    for (const auto &c : cases) {
        dm.DSetDocs->setValue(QStringLiteral("PASPVYD"), QString::fromUtf8(c.pasp));
        EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("Docum")), QString::fromUtf8(c.docum))
            << c.pasp;
        EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("KBK")), QString::fromUtf8(c.kbk)) << c.pasp;
    }
}

TEST_F(Calculations, NewRowsGetTheirDefaults)
{
    dm.DSetDocs->append();
    EXPECT_EQ(dm.DSetDocs->value(QStringLiteral("KODARCHIV")).toInt(), 0);
    EXPECT_FALSE(dm.DSetDocs->value(QStringLiteral("KODARCHIV")).isNull());
    dm.DSetDocs->post();
    dm.DSetDetail->append();
    EXPECT_EQ(dm.DSetDetail->asInteger(QStringLiteral("KODDOCS")),
              dm.DSetDocs->asInteger(QStringLiteral("KOD")));
    dm.DSetDetail->cancel();

    dm.clientsPage = 2;
    dm.DSetClients->append();
    EXPECT_EQ(dm.DSetClients->asInteger(QStringLiteral("TIP")), 2);
    dm.DSetClients->post();
    const qint64 client = dm.DSetClients->asInteger(QStringLiteral("KOD"));
    for (Dataset *owned : {dm.DSetSchets, dm.DSetOsnovanie}) {
        owned->append();
        EXPECT_EQ(owned->asInteger(QStringLiteral("KODORG")), client);
        owned->cancel();
    }
    dm.nomenklPage = 1;
    dm.DSetNomenkl->append();
    EXPECT_EQ(dm.DSetNomenkl->asInteger(QStringLiteral("TIP")), 1);
    dm.DSetNomenkl->cancel();
    dm.DSetSchetORG->append();
    EXPECT_EQ(dm.DSetSchetORG->value(QStringLiteral("KODORG")).toInt(), 0);
    EXPECT_FALSE(dm.DSetSchetORG->isNull(QStringLiteral("KODORG")));
}

TEST_F(Calculations, TotalsOfADocumentWithoutLines)
{
    setRequisites(0, 12.0);
    newDocument();
    dm.computeDocumentTotals(TotalsForm::Other);
    EXPECT_TRUE(dm.DSetDocs->isEditing());
    for (const char *column : {"STREALIZSUM", "VTNDS", "SUMBEZNDS", "SUMTOV"})
        EXPECT_EQ(docs(column), 0.0) << column;
    EXPECT_FALSE(dm.DSetDocs->isNull(QStringLiteral("SUMTOV")));
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("SUMPROPIS")),
              QStringLiteral("Ноль тенге 00 тиын"));
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("sumtovpropis")), QStringLiteral("Ноль"));
}

TEST_F(Calculations, TotalsSumTheLinesAtTheRequisitesRate)
{
    setRequisites(0, 12.0);
    newDocument();
    addLine(3, 1120, 12);
    addLine(2, 150.55, 12);
    dm.DSetDetail->last();
    dm.computeDocumentTotals(TotalsForm::Other);
    EXPECT_EQ(docs("STNDS"), 12.0);
    EXPECT_EQ(docs("STREALIZSUM"), roundMoney(3661.10));
    EXPECT_EQ(docs("VTNDS"), roundMoney(392.26));
    EXPECT_EQ(docs("SUMBEZNDS"), roundMoney(3268.84));
    EXPECT_EQ(docs("SUMTOV"), 2.0);
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("SUMPROPIS")),
              QStringLiteral("Три тысячи шестьсот шестьдесят один тенге 10 тиын"));
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("sumtovpropis")), QStringLiteral("Пять"));
    EXPECT_EQ(dm.DSetDetail->currentIndex(), 0) << "the lines are left on the first";
}

TEST_F(Calculations, PaymentOrderTakesVatOutAtTheDocumentsOwnRate)
{
    setRequisites(0, 12.0);
    newDocument();
    addLine(1, 1120, 12);
    dm.DSetDocs->edit();
    dm.DSetDocs->setValue(QStringLiteral("STNDS"), 16.0);
    dm.computeDocumentTotals(TotalsForm::PaymentOrder);
    EXPECT_EQ(docs("STNDS"), 16.0);
    EXPECT_EQ(docs("STREALIZSUM"), roundMoney(1120));
    EXPECT_EQ(docs("VTNDS"), roundMoney(154.48));
    EXPECT_EQ(docs("SUMBEZNDS"), roundMoney(965.52));
    EXPECT_EQ(docs("SUMTOV"), 0.0);
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("sumtovpropis")), QStringLiteral("Ноль"));

    dm.computeDocumentTotals(TotalsForm::Other);
    EXPECT_EQ(docs("STNDS"), 12.0);
}

TEST_F(Calculations, ANegativeTotalPrintsWithoutWords)
{
    setRequisites(0, 12.0);
    newDocument();
    addLine(-2, 100, 12);
    dm.computeDocumentTotals(TotalsForm::Other);
    EXPECT_EQ(docs("STREALIZSUM"), -200.0);
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("SUMPROPIS")), QString());
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("sumtovpropis")), QString());
}

} // namespace
