// The reconciliation act with a client: its balances, what it names each sale and payment,
// and the sentence of its conclusion, on a real database.
#include "data/date_time.h"
#include "data/fb_statement.h"
#include "data/payments.h"
#include "data/reconciliation_act.h"
#include "data_module_test.h"

#include <gtest/gtest.h>

namespace {

const QString kAlpha = QStringLiteral("ТОО «Альфа»");
const QString kAlphaBin = QStringLiteral("990140000385");
const QDate kFrom(2026, 1, 1);
const QDate kTo(2026, 3, 31);

// The numbers and dates of a document's papers besides its invoice's date; 0 or an invalid date
// for none (the invoice number then is the document's key).
struct Papers {
    int invoice = 0, act = 0, waybill = 0;
    QDate actDate = {}, waybillDate = {};
};

class Reconciliation : public DataModuleTest {
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        if (!dm.TsnRW.isActive())
            dm.TsnRW.start();
    }

    void run(const QString &sql, const QVariantList &values)
    {
        FbStatement statement(dm.TsnRW);
        statement.prepare(sql);
        for (int i = 0; i < values.size(); ++i)
            statement.setParameter(i, values[i]);
        statement.execute();
    }

    // A document of the client dated by its invoice, with lines of these amounts.
    int document(QDate date, const QList<double> &lines, const Papers &papers = {},
                 const QString &name = kAlpha, const QString &biniin = kAlphaBin)
    {
        const int kod = ++m_lastDocument;
        const auto numberOrNull = [](int number) { return number ? QVariant(number) : QVariant(); };
        const auto dateOrNull = [](QDate d) {
            return d.isValid() ? QVariant(datetime::make(d)) : QVariant();
        };
        run(QStringLiteral("insert into DOCS (KOD, KODARCHIV, NAMEORG, BINIIN, NUMSCH, DATASCH, "
                           "NUMACT, DATAACT, NUMNAKL, DATANAKL) "
                           "values (:K, 0, :N, :B, :NUM, :D, :NA, :DA, :NN, :DN)"),
            {kod, name, biniin, papers.invoice ? papers.invoice : kod, datetime::make(date),
             numberOrNull(papers.act), dateOrNull(papers.actDate), numberOrNull(papers.waybill),
             dateOrNull(papers.waybillDate)});
        for (double amount : lines)
            run(QStringLiteral("insert into DETAILDOCS (KOD, KODDOCS, NUM, STREALIZ) "
                               "values (:K, :D, 1, :S)"),
                {++m_lastLine, kod, amount});
        return kod;
    }

    void pay(int document, QDate date, double amount, PaymentKind kind = PaymentKind::Bank,
             const QString &docNumber = {}, const QString &note = {}, int operation = 0)
    {
        Payment payment;
        payment.document = document;
        payment.date = date;
        payment.amount = amount;
        payment.kind = kind;
        payment.docNumber = docNumber;
        payment.note = note;
        payment.operation = operation;
        payments::add(dm.TsnRW, payment);
    }

    int operation(int kod, QDate documentDate, QDate operationDate, const QString &number,
                  double amount, int state, const QString &payerBin = kAlphaBin,
                  const QString &payerName = kAlpha)
    {
        run(QStringLiteral("insert into BANK_OPERATIONS (KOD, ACCOUNT, DATEDOC, NUMBER, AMOUNT, "
                           "DATEOPER, PAYER_NAME, PAYER_BIN, STATE) "
                           "values (:K, 'KZ126010002000012345', :DD, :N, :A, :DO, :PN, :PB, :S)"),
            {kod, datetime::make(documentDate), number, amount, datetime::make(operationDate),
             payerName, payerBin, state});
        return kod;
    }

    ReconciliationAct act(const ActClient &client = {kAlpha, kAlphaBin})
    {
        return reconciliationAct(dm.TsnRW, client, kFrom, kTo);
    }

    int m_lastDocument = 1000;
    int m_lastLine = 1000;
};

struct Sale {
    QDate date;
    QList<double> lines;
};
struct Paid {
    QDate date;
    double amount;
};

struct BalanceCase {
    const char *name;
    std::vector<Sale> sales;
    std::vector<Paid> paid; // of the first document, or of one without lines when there is none
    double opening, debit, credit, closing;
    size_t entries;
};

void PrintTo(const BalanceCase &c, std::ostream *os)
{
    *os << c.name;
}

class Balances : public Reconciliation, public ::testing::WithParamInterface<BalanceCase> {};

TEST_P(Balances, SumWhatWasSoldAndPaidBeforeAndWithinThePeriod)
{
    const BalanceCase &c = GetParam();
    int first = 0;
    for (const Sale &sale : c.sales) {
        const int kod = document(sale.date, sale.lines);
        first = first ? first : kod;
    }
    if (!first && !c.paid.empty())
        first = document(kFrom, {});
    for (const Paid &p : c.paid)
        pay(first, p.date, p.amount);

    const ReconciliationAct result = act();
    EXPECT_DOUBLE_EQ(result.opening, c.opening);
    EXPECT_DOUBLE_EQ(result.debitTurnover, c.debit);
    EXPECT_DOUBLE_EQ(result.creditTurnover, c.credit);
    EXPECT_DOUBLE_EQ(result.closing, c.closing);
    EXPECT_EQ(result.entries.size(), c.entries);
    for (size_t i = 1; i < result.entries.size(); ++i)
        EXPECT_LE(result.entries[i - 1].date, result.entries[i].date);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Balances,
    ::testing::Values(BalanceCase{"NoDocuments", {}, {}, 0, 0, 0, 0, 0},
                      BalanceCase{"OnlySales",
                                  {{{2026, 2, 15}, {50}}, {{2026, 1, 10}, {100, 0.1, 0.2}}},
                                  {},
                                  0,
                                  150.3,
                                  0,
                                  150.3,
                                  2},
                      BalanceCase{"OnlyPayments", {}, {{{2026, 2, 1}, 30}}, 0, 0, 30, -30, 1},
                      BalanceCase{"Overpayment",
                                  {{{2026, 1, 10}, {100}}},
                                  {{{2026, 1, 20}, 150.004}},
                                  0,
                                  100,
                                  150,
                                  -50,
                                  2},
                      BalanceCase{"OpeningBalanceFromBefore",
                                  {{{2025, 12, 10}, {200}}, {{2026, 1, 10}, {100}}},
                                  {{{2025, 12, 20}, 50}, {{2026, 2, 5}, 120}},
                                  150,
                                  100,
                                  120,
                                  130,
                                  2},
                      BalanceCase{"NothingInThePeriod",
                                  {{{2025, 12, 10}, {100}}, {{2026, 4, 1}, {70}}},
                                  {{{2026, 4, 2}, 100}},
                                  100,
                                  0,
                                  0,
                                  100,
                                  0}),
    [](const auto &info) { return std::string(info.param.name); });

// Each sale is named by the paper that delivered it and dated by it; each payment by its kind
// and paying document; what the bank left on account of the client is paid too. Documents of
// another client, or of one of the same name with a BIN, stay out.
TEST_F(Reconciliation, NamesSalesAndPaymentsInDateOrder)
{
    const int invoice = document({2026, 1, 5}, {1000}, {7, 0, 0, {}, {}});
    document({2026, 1, 6}, {500}, {8, 4, 0, QDate(2026, 1, 9), {}});
    document({2026, 1, 7}, {300}, {9, 4, 5, QDate(2026, 1, 12), QDate(2026, 1, 11)});
    document({2026, 1, 8}, {999}, {}, QStringLiteral("ТОО «Бета»"), QStringLiteral("111"));
    pay(invoice, {2026, 1, 20}, 100, PaymentKind::Bank, QStringLiteral("95022"), {},
        operation(1, {2026, 1, 19}, {2026, 1, 20}, QStringLiteral("95022"), 400, 1));
    pay(invoice, {2026, 1, 21}, 50, PaymentKind::Cash, QStringLiteral("11"));
    pay(invoice, {2026, 1, 22}, 10, PaymentKind::Bank);
    pay(invoice, {2026, 1, 23}, 20, PaymentKind::Cash);
    pay(invoice, {2026, 1, 24}, 30, PaymentKind::Other, {}, QStringLiteral("взаимозачет"));
    pay(invoice, {2026, 1, 25}, 40, PaymentKind::Bank, QStringLiteral("17"));
    operation(2, {2026, 1, 26}, {2026, 1, 27}, QStringLiteral("96001"), 70, 2); // ignored
    operation(3, {2026, 4, 2}, {2026, 4, 3}, QStringLiteral("96002"), 80, 1);   // after

    const ReconciliationAct result = act();
    const std::vector<std::pair<QString, QDate>> expected = {
        {"Счет на оплату № 7 от 05.01.2026", {2026, 1, 5}},
        {"Акт выполненных работ № 4 от 09.01.2026", {2026, 1, 9}},
        {"Реализация (накладная № 5 от 11.01.2026)", {2026, 1, 11}},
        {"Оплата (п/п № 95022 от 19.01.2026)", {2026, 1, 20}},
        // The advance: the 400 of the operation less the 100 its payment took.
        {"Оплата (п/п № 95022 от 19.01.2026)", {2026, 1, 20}},
        {"Оплата наличными (ПКО № 11 от 21.01.2026)", {2026, 1, 21}},
        {"Оплата", {2026, 1, 22}},
        {"Оплата наличными", {2026, 1, 23}},
        {"Оплата (взаимозачет)", {2026, 1, 24}},
        {"Оплата (п/п № 17 от 25.01.2026)", {2026, 1, 25}},
    };
    ASSERT_EQ(result.entries.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(result.entries[i].document, expected[i].first) << i;
        EXPECT_EQ(result.entries[i].date, expected[i].second) << i;
    }
    EXPECT_DOUBLE_EQ(result.entries[4].credit, 300);
    EXPECT_DOUBLE_EQ(result.debitTurnover, 1800);
    EXPECT_DOUBLE_EQ(result.creditTurnover, 550);

    // Without a BIN the client's documents are those of its name that have none.
    document({2026, 2, 1}, {60}, {}, kAlpha, QString());
    const ReconciliationAct byName = act({kAlpha, QString()});
    ASSERT_EQ(byName.entries.size(), 1u);
    EXPECT_DOUBLE_EQ(byName.closing, 60);
}

TEST_F(Reconciliation, ClientComesFromTheReferenceBook)
{
    run(QStringLiteral("insert into CLIENTS (KOD, TIP, NAMEORG, BINIIN) values (5, 0, :N, :B)"),
        {kAlpha + QStringLiteral("  "), kAlphaBin});
    const std::optional<ActClient> client = actClient(dm.TsnRW, 5);
    ASSERT_TRUE(client);
    EXPECT_EQ(client->name, kAlpha);
    EXPECT_EQ(client->biniin, kAlphaBin);
    EXPECT_FALSE(actClient(dm.TsnRW, 6));
}

TEST(ReconciliationConclusion, NamesWhomTheDebtIsOwedInWords)
{
    ReconciliationAct act;
    act.business = QStringLiteral("ТОО «Зарник»");
    act.client.name = kAlpha;
    act.to = kTo;
    const std::pair<double, const char *> cases[] = {
        {1500, "По данным ТОО «Зарник» на 31.03.2026 задолженность в пользу ТОО «Зарник» "
               "составляет 1500,00 тенге (Одна тысяча пятьсот тенге 00 тиын)"},
        {-21.5, "По данным ТОО «Зарник» на 31.03.2026 задолженность в пользу ТОО «Альфа» "
                "составляет 21,50 тенге (Двадцать один тенге 50 тиын)"},
        {0, "По данным ТОО «Зарник» на 31.03.2026 задолженность отсутствует"},
    };
    for (const auto &[closing, expected] : cases) {
        act.closing = closing;
        EXPECT_EQ(reconciliation::conclusion(act, act.business), QString::fromUtf8(expected))
            << closing;
    }
}

} // namespace

namespace {

TEST(ReconciliationPeriods, QuickChoicesAroundToday)
{
    const struct {
        ActPeriod period;
        QDate today, from, to;
    } cases[] = {
        {ActPeriod::ThisQuarter, {2026, 5, 20}, {2026, 4, 1}, {2026, 6, 30}},
        {ActPeriod::ThisQuarter, {2026, 12, 31}, {2026, 10, 1}, {2026, 12, 31}},
        {ActPeriod::LastQuarter, {2026, 5, 20}, {2026, 1, 1}, {2026, 3, 31}},
        {ActPeriod::LastQuarter, {2026, 2, 1}, {2025, 10, 1}, {2025, 12, 31}},
        {ActPeriod::ThisYear, {2026, 2, 1}, {2026, 1, 1}, {2026, 12, 31}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(actPeriod(c.period, c.today), std::pair(c.from, c.to))
            << c.today.toString().toStdString();
}

} // namespace
