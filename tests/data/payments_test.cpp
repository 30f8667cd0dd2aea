// Payments, due dates, the payment status of a document and what clients owe, on a real
// database.
#include "data/database_file.h"
#include "data/date_time.h"
#include "data/db_error.h"
#include "data/debts.h"
#include "data/fb_connection.h"
#include "data/fb_statement.h"
#include "data/money.h"
#include "data/payment_status.h"
#include "data/payments.h"
#include "data/tdm.h"
#include "data_module_test.h"

#include <gtest/gtest.h>

namespace {

const QDate kToday(2026, 6, 15);

Payment paymentOf(int document, QDate date, double amount, PaymentKind kind = PaymentKind::Bank)
{
    Payment payment;
    payment.document = document;
    payment.date = date;
    payment.amount = amount;
    payment.kind = kind;
    return payment;
}

class Payments : public DataModuleTest {
protected:
    void run(const QString &sql, const QVariantList &values = {})
    {
        FbStatement statement(dm.TsnRW);
        statement.prepare(sql);
        for (int i = 0; i < values.size(); ++i)
            statement.setParameter(i, values[i]);
        statement.execute();
    }

    // A document of lines with these amounts, never printed: its total columns stay empty.
    int document(const QString &name, const QString &biniin, const QList<double> &lines,
                 std::optional<QDate> due = std::nullopt, int archived = 0)
    {
        const int kod = ++m_lastDocument;
        run(QStringLiteral("insert into DOCS (KOD, KODARCHIV, NAMEORG, BINIIN, NUMSCH, DATASCH) "
                           "values (:K, :A, :N, :B, :NUM, :D)"),
            {kod, archived, name, biniin, kod, datetime::make(QDate(2026, 1, 10))});
        for (double amount : lines)
            run(QStringLiteral("insert into DETAILDOCS (KOD, KODDOCS, NUM, STREALIZ) "
                               "values (:K, :D, 1, :S)"),
                {++m_lastLine, kod, amount});
        payments::setDueDate(dm.TsnRW, kod, due);
        return kod;
    }

    void pay(int document, double amount, QDate date = QDate(2026, 2, 1),
             PaymentKind kind = PaymentKind::Bank)
    {
        payments::add(dm.TsnRW, paymentOf(document, date, amount, kind));
    }

    // The status the register's statement computes for a document at a date.
    PaymentStatus storedStatus(int document, QDate at)
    {
        FbStatement statement(dm.TsnRW);
        statement.prepare(
            QStringLiteral("select %1 from DOCS D where D.KOD = :K").arg(payment_sql::status()));
        statement.setParameter(QStringLiteral("NA"), datetime::make(at));
        statement.setParameter(QStringLiteral("K"), document);
        statement.execute();
        EXPECT_TRUE(statement.fetch());
        return PaymentStatus(statement.value(0).toInt());
    }

    int m_lastDocument = 1000;
    int m_lastLine = 1000;
};

struct StatusCase {
    const char *name;
    QList<double> lines;
    QList<double> paid;
    std::optional<QDate> due;
    PaymentStatus status;
};

void PrintTo(const StatusCase &c, std::ostream *os)
{
    *os << c.name;
}

class PaymentStatuses : public Payments, public ::testing::WithParamInterface<StatusCase> {};

// The register's SQL and the computation in the program agree on every case.
TEST_P(PaymentStatuses, FollowWhatIsPaidAndTheDueDate)
{
    const StatusCase &c = GetParam();
    const int kod = document(QStringLiteral("ТОО «Альфа»"), QString(), c.lines, c.due);
    for (double amount : c.paid)
        pay(kod, amount);
    EXPECT_EQ(storedStatus(kod, kToday), c.status);
    EXPECT_EQ(paymentStatus(payments::documentAmount(dm.TsnRW, kod),
                            payments::paidAmount(dm.TsnRW, kod), payments::dueDate(dm.TsnRW, kod),
                            kToday),
              c.status);
}

const QDate kPassed = kToday.addDays(-1);

INSTANTIATE_TEST_SUITE_P(
    Cases, PaymentStatuses,
    ::testing::Values(
        StatusCase{"None", {100}, {}, std::nullopt, PaymentStatus::Unpaid},
        StatusCase{"Part", {60, 40}, {40}, std::nullopt, PaymentStatus::Partial},
        StatusCase{"FullInTwo", {60, 40}, {40, 60}, std::nullopt, PaymentStatus::Paid},
        StatusCase{"FullOfThirds", {33.33, 33.33, 33.34}, {100}, std::nullopt, PaymentStatus::Paid},
        StatusCase{"OverByATiyn", {100}, {100.01}, std::nullopt, PaymentStatus::Overpaid},
        StatusCase{"PartAndPassed", {100}, {40}, kPassed, PaymentStatus::Overdue},
        StatusCase{"NoneAndPassed", {100}, {}, kPassed, PaymentStatus::Overdue},
        StatusCase{"DueToday", {100}, {}, kToday, PaymentStatus::Unpaid},
        StatusCase{"FullAndPassed", {100}, {100}, kPassed, PaymentStatus::Paid},
        StatusCase{"OverAndPassed", {100}, {150}, kPassed, PaymentStatus::Overpaid},
        StatusCase{"NoLinesPassed", {}, {}, kPassed, PaymentStatus::Unpaid}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Payments, AmountOfADocumentNeverPrintedIsTheSumOfItsLines)
{
    const int kod = document(QStringLiteral("ТОО «Альфа»"), QString(), {10.10, 20.20, 0.01});
    EXPECT_DOUBLE_EQ(payments::documentAmount(dm.TsnRW, kod), 30.31);
    pay(kod, 12.345); // stored to tiyn
    pay(kod, 0.005);
    EXPECT_DOUBLE_EQ(payments::paidAmount(dm.TsnRW, kod), 12.35);
}

// The amount the database keeps beside each document, as the program reads it: to tiyn.
double storedAmount(FbTransaction &transaction, int document)
{
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("select AMOUNT from DOC_AMOUNTS where KODDOCS = :K"));
    statement.setParameter(0, document);
    statement.execute();
    const double amount = statement.fetch() ? statement.value(0).toDouble() : 0;
    statement.closeCursor();
    return roundMoney(amount);
}

std::optional<QDate> storedDueDate(FbTransaction &transaction, int document)
{
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("select SROK from DOC_AMOUNTS where KODDOCS = :K"));
    statement.setParameter(0, document);
    statement.execute();
    std::optional<QDate> due;
    if (statement.fetch() && !statement.value(0).isNull())
        due = statement.value(0).toDateTime().date();
    statement.closeCursor();
    return due;
}

// Whatever is done to the lines, the kept amount is the one summed from them: amounts of whole
// tiyn and of less, returns, many lines, large sums, a line without an amount.
TEST_F(Payments, TheKeptAmountFollowsTheLinesThroughEveryChange)
{
    const QList<QList<double>> lineSets = {{10.10, 20.20, 0.01},
                                           {33.33, 33.33, 33.34},
                                           {0.1, 0.2},
                                           {0.125},
                                           {0.025, 0.1},
                                           {-50, 150.5},
                                           QList<double>(250, 0.07),
                                           {123456789.99, 0.01, 0.015},
                                           {}};
    std::vector<int> documents;
    for (const QList<double> &lines : lineSets)
        documents.push_back(document(QStringLiteral("ТОО «Альфа»"), QString(), lines));
    run(QStringLiteral("insert into DETAILDOCS (KOD, KODDOCS, NUM) values (:K, :D, 2)"),
        {++m_lastLine, documents[0]});
    const auto expectKeptAsSummed = [&](const char *step) {
        SCOPED_TRACE(step);
        for (int kod : documents)
            EXPECT_DOUBLE_EQ(storedAmount(dm.TsnRW, kod), payments::documentAmount(dm.TsnRW, kod))
                << "document " << kod;
    };
    expectKeptAsSummed("lines added");

    const int changed = documents[0];
    const int other = documents[1];
    run(QStringLiteral("update DETAILDOCS set STREALIZ = 0.125 where KODDOCS = :D and "
                       "STREALIZ = 20.20"),
        {changed});
    run(QStringLiteral("update DETAILDOCS set NAME = 'x' where KODDOCS = :D"), {changed});
    expectKeptAsSummed("a line's amount changed");
    run(QStringLiteral("delete from DETAILDOCS where KODDOCS = :D and STREALIZ = 0.01"), {changed});
    expectKeptAsSummed("a line deleted");
    run(QStringLiteral("update DETAILDOCS set KODDOCS = :O where KODDOCS = :D and "
                       "STREALIZ = 10.10"),
        {other, changed});
    expectKeptAsSummed("a line moved to another document");
    EXPECT_DOUBLE_EQ(storedAmount(dm.TsnRW, changed), 0.12);
    EXPECT_DOUBLE_EQ(storedAmount(dm.TsnRW, other), 110.10);
    run(QStringLiteral("delete from DETAILDOCS where KODDOCS = :D"), {changed});
    expectKeptAsSummed("every line deleted");
    EXPECT_DOUBLE_EQ(storedAmount(dm.TsnRW, changed), 0);

    // Through the data module, as the editor writes lines and deletes a document.
    dm.TsnRW.commit();
    dm.TsnRW.start();
    dm.DSetDocs->close();
    dm.DSetDocs->open();
    ASSERT_TRUE(dm.DSetDocs->locate(other));
    dm.DSetDetail->append();
    dm.DSetDetail->setValue(QStringLiteral("KODDOCS"), other);
    dm.DSetDetail->setValue(QStringLiteral("NUM"), 9);
    dm.DSetDetail->setValue(QStringLiteral("KOLVO"), 3);
    dm.DSetDetail->setValue(QStringLiteral("CENASHT"), 0.33);
    dm.DSetDetail->post();
    expectKeptAsSummed("a line of the editor");
    EXPECT_DOUBLE_EQ(storedAmount(dm.TsnRW, other), 111.09);
    dm.deleteDocument();
    FbStatement kept(dm.TsnRW);
    kept.prepare(QStringLiteral("select 1 from DOC_AMOUNTS where KODDOCS = :K"));
    kept.setParameter(0, other);
    kept.execute();
    EXPECT_FALSE(kept.fetch());
}

TEST_F(Payments, TheKeptDueDateFollowsTheDocumentsDueDate)
{
    const int kod = document(QStringLiteral("ТОО «Альфа»"), QString(), {100}, QDate(2026, 1, 20));
    const int noLines = document(QStringLiteral("ТОО «Альфа»"), QString(), {});
    EXPECT_EQ(storedDueDate(dm.TsnRW, kod), QDate(2026, 1, 20));
    payments::setDueDate(dm.TsnRW, kod, QDate(2026, 1, 25));
    payments::setDueDate(dm.TsnRW, noLines, QDate(2026, 2, 1));
    EXPECT_EQ(storedDueDate(dm.TsnRW, kod), QDate(2026, 1, 25));
    EXPECT_EQ(storedDueDate(dm.TsnRW, noLines), QDate(2026, 2, 1));
    EXPECT_DOUBLE_EQ(storedAmount(dm.TsnRW, noLines), 0);
    payments::setDueDate(dm.TsnRW, kod, std::nullopt);
    EXPECT_EQ(storedDueDate(dm.TsnRW, kod), std::nullopt);
    EXPECT_DOUBLE_EQ(storedAmount(dm.TsnRW, kod), 100);
}

TEST_F(Payments, AreStoredChangedAndRemoved)
{
    const int kod = document(QStringLiteral("ТОО «Альфа»"), QString(), {100});
    pay(kod, 30, QDate(2026, 3, 1), PaymentKind::Cash);
    pay(kod, 20, QDate(2026, 2, 1));
    std::vector<Payment> stored = payments::of(dm.TsnRW, kod);
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].date, QDate(2026, 2, 1));
    EXPECT_EQ(stored[1].kind, PaymentKind::Cash);
    stored[0].amount = 25;
    stored[0].note = QStringLiteral("Қазақ банкі, п/п 7");
    stored[0].docNumber = QStringLiteral("7А");
    payments::change(dm.TsnRW, stored[0]);
    payments::remove(dm.TsnRW, stored[1].kod);
    stored = payments::of(dm.TsnRW, kod);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_DOUBLE_EQ(stored[0].amount, 25);
    EXPECT_EQ(stored[0].note, QStringLiteral("Қазақ банкі, п/п 7"));
    EXPECT_EQ(stored[0].docNumber, QStringLiteral("7А"));
}

// A database whose payments were kept before they held the paying document's number gains the
// columns on opening and keeps its payments.
TEST(PaymentsOfAnOlderDatabase, GainTheNewColumnsOnOpening)
{
    TempDatabase db;
    {
        TDM dm;
        dm.DataModuleCreate(db.path());
        for (const char *sql :
             {"ALTER TABLE PAYMENTS DROP DOCNUM", "ALTER TABLE PAYMENTS DROP OPERATION",
              "INSERT INTO DOCS (KOD, NAMEORG) VALUES (1, 'A')",
              "INSERT INTO PAYMENTS (KOD, KODDOCS, DATAOPL, AMOUNT, KIND, SOURCE) "
              "VALUES (100, 1, '2026-02-01', 5, 0, 0)"})
            executeCommitted(dm.ZNDB, QString::fromLatin1(sql));
    }
    TDM dm;
    dm.DataModuleCreate(db.path());
    if (!dm.TsnRW.isActive())
        dm.TsnRW.start();
    Payment cash = paymentOf(1, QDate(2026, 2, 2), 7, PaymentKind::Cash);
    cash.docNumber = QStringLiteral("11");
    payments::add(dm.TsnRW, cash);
    const std::vector<Payment> stored = payments::of(dm.TsnRW, 1);
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_DOUBLE_EQ(stored[0].amount, 5);
    EXPECT_EQ(stored[1].docNumber, QStringLiteral("11"));
}

// A database kept before the amounts were: they are summed for its documents on opening, and
// kept from then on.
TEST(KeptAmountsOfAnOlderDatabase, AreSummedOnOpening)
{
    TempDatabase db;
    {
        TDM dm;
        dm.DataModuleCreate(db.path());
        for (const char *sql :
             {"DROP TRIGGER DETAILDOCS_AMOUNTS", "DROP TRIGGER DUEDATES_AMOUNTS",
              "DROP TRIGGER DOCS_AMOUNTS", "DROP TABLE DOC_AMOUNTS",
              "INSERT INTO DOCS (KOD, NAMEORG) VALUES (1, 'A')",
              "INSERT INTO DOCS (KOD, NAMEORG) VALUES (2, 'B')",
              "INSERT INTO DETAILDOCS (KOD, KODDOCS, STREALIZ) VALUES (1, 1, 33.33)",
              "INSERT INTO DETAILDOCS (KOD, KODDOCS, STREALIZ) VALUES (2, 1, 0.005)",
              "INSERT INTO DETAILDOCS (KOD, KODDOCS, STREALIZ) VALUES (3, 1, 66.67)",
              "INSERT INTO DUEDATES (KODDOCS, SROK) VALUES (2, '2026-03-01')"})
            executeCommitted(dm.ZNDB, QString::fromLatin1(sql));
    }
    TDM dm;
    dm.DataModuleCreate(db.path());
    EXPECT_TRUE(dm.missingProgramParts().isEmpty());
    if (!dm.TsnRW.isActive())
        dm.TsnRW.start();
    EXPECT_DOUBLE_EQ(storedAmount(dm.TsnRW, 1), payments::documentAmount(dm.TsnRW, 1));
    EXPECT_NEAR(storedAmount(dm.TsnRW, 1), 100.005, 0.006);
    EXPECT_DOUBLE_EQ(storedAmount(dm.TsnRW, 2), 0);
    EXPECT_EQ(storedDueDate(dm.TsnRW, 2), QDate(2026, 3, 1));
    FbStatement::run(
        dm.TsnRW,
        QStringLiteral("INSERT INTO DETAILDOCS (KOD, KODDOCS, STREALIZ) VALUES (4, 2, 5)"));
    EXPECT_DOUBLE_EQ(storedAmount(dm.TsnRW, 2), 5);
}

TEST_F(Payments, DueDateAndTermDays)
{
    const int kod = document(QStringLiteral("ТОО «Альфа»"), QString(), {100});
    EXPECT_EQ(payments::dueDate(dm.TsnRW, kod), std::nullopt);
    payments::setDueDate(dm.TsnRW, kod, QDate(2026, 1, 20));
    payments::setDueDate(dm.TsnRW, kod, QDate(2026, 1, 25));
    EXPECT_EQ(payments::dueDate(dm.TsnRW, kod), QDate(2026, 1, 25));
    payments::setDueDate(dm.TsnRW, kod, std::nullopt);
    EXPECT_EQ(payments::dueDate(dm.TsnRW, kod), std::nullopt);

    EXPECT_EQ(payments::termDays(dm.TsnRW), payments::kDefaultTermDays);
    payments::setTermDays(dm.TsnRW, 30);
    EXPECT_EQ(payments::termDays(dm.TsnRW), 30);
}

TEST_F(Payments, DeletingADocumentDeletesItsPaymentsAndDueDate)
{
    const int kept = document(QStringLiteral("ТОО «Бета»"), QString(), {50});
    const int gone = document(QStringLiteral("ТОО «Альфа»"), QString(), {100}, QDate(2026, 2, 1));
    pay(kept, 50);
    pay(gone, 30);
    pay(gone, 20);
    dm.TsnRW.commit();
    dm.TsnRW.start();
    dm.DSetDocs->close();
    dm.DSetDocs->open();
    ASSERT_TRUE(dm.DSetDocs->locate(gone));
    dm.deleteDocument();
    dm.TsnRW.commit();
    dm.TsnRW.start();
    EXPECT_TRUE(payments::of(dm.TsnRW, gone).empty());
    EXPECT_EQ(payments::dueDate(dm.TsnRW, gone), std::nullopt);
    EXPECT_EQ(payments::of(dm.TsnRW, kept).size(), 1u);
}

TEST_F(Payments, DebtorsByClientAndAgeAtADate)
{
    const QDate at(2026, 6, 30);
    // One client by BIN/IIN under two spellings of its name, the newest naming it.
    const int a1 = document(QStringLiteral("ТОО Альфа"), QStringLiteral("123456789012"), {100},
                            at); // not due yet
    const int a2 = document(QStringLiteral("ТОО «Альфа»"), QStringLiteral("123456789012"), {200},
                            at.addDays(-1)); // 1 day
    const int a3 = document(QStringLiteral("ТОО «Альфа»"), QStringLiteral("123456789012"), {300},
                            at.addDays(-31), 1); // archived, 31 days
    // By name where the BIN/IIN is empty.
    const int b1 = document(QStringLiteral("ИП Бек"), QString(), {400}, at.addDays(-61));
    const int b2 = document(QStringLiteral("ИП Бек"), QString(), {500}, at.addDays(-91));
    const int b3 = document(QStringLiteral("ИП Бек"), QString(), {50}, at.addDays(-90));
    // Paid in full, overpaid, or paid only after the date: owes nothing / all.
    const int c1 = document(QStringLiteral("ТОО «Сигма»"), QString(), {70}, at.addDays(-5));
    const int c2 = document(QStringLiteral("ТОО «Сигма»"), QString(), {10}, at.addDays(-5));
    pay(a2, 50);
    pay(a3, 300, at.addDays(1));
    pay(b2, 100);
    pay(c1, 70);
    pay(c2, 15);
    (void)a1;
    (void)b1;
    (void)b3;

    const Debts debts = clientDebts(dm.TsnRW, at);
    ASSERT_EQ(debts.clients.size(), 2u);
    const ClientDebt &bek = debts.clients[0];
    const ClientDebt &alfa = debts.clients[1];
    EXPECT_EQ(bek.name, QStringLiteral("ИП Бек"));
    EXPECT_EQ(alfa.name, QStringLiteral("ТОО «Альфа»"));
    EXPECT_EQ(alfa.biniin, QStringLiteral("123456789012"));
    EXPECT_DOUBLE_EQ(alfa.invoiced, 600);
    EXPECT_DOUBLE_EQ(alfa.paid, 50);
    EXPECT_DOUBLE_EQ(alfa.due, 550);
    EXPECT_DOUBLE_EQ(alfa.ages.notDue, 100);
    EXPECT_DOUBLE_EQ(alfa.ages.days1to30, 150);
    EXPECT_DOUBLE_EQ(alfa.ages.days31to60, 300);
    EXPECT_EQ(alfa.documents, (std::vector<int>{a1, a2, a3}));
    EXPECT_DOUBLE_EQ(bek.ages.days61to90, 450);
    EXPECT_DOUBLE_EQ(bek.ages.over90, 400);
    EXPECT_DOUBLE_EQ(bek.due, 850);
    EXPECT_DOUBLE_EQ(debts.total.due, 1400);
    EXPECT_DOUBLE_EQ(debts.total.ages.overdue(), 1300);

    // Before the documents were invoiced nothing is owed.
    EXPECT_DOUBLE_EQ(clientDebts(dm.TsnRW, QDate(2026, 1, 9)).total.due, 0);
}

// What the bank brought on account of a client and no document took is its advance, listed even
// for a payer with nothing due; operations that paid documents or were ignored bring none.
TEST_F(Payments, AdvancesFromTheBankAtADate)
{
    const int owed = document(QStringLiteral("ТОО «Альфа»"), QStringLiteral("123456789012"), {300});
    const auto operation = [&](int kod, const char *number, double amount, int state,
                               const QString &payer, const QString &bin, QDate date) {
        run(QStringLiteral("insert into BANK_OPERATIONS (KOD, ACCOUNT, DATEDOC, NUMBER, AMOUNT, "
                           "PAYER_NAME, PAYER_BIN, STATE) values (:K, 'KZ1', :D, :N, :A, :P, :B, "
                           ":S)"),
            {kod, datetime::make(date), QString::fromLatin1(number), amount, payer,
             bin.isEmpty() ? QVariant() : QVariant(bin), state});
    };
    const QString alfa = QStringLiteral("ТОО Альфа"), bek = QStringLiteral("ИП Бек");
    const QString alfaBin = QStringLiteral("123456789012");
    operation(1, "1", 500, 1, alfa, alfaBin, QDate(2026, 2, 1)); // 200 of it to the document
    operation(2, "2", 40, 1, bek, QString(), QDate(2026, 2, 1));
    operation(3, "3", 70, 0, bek, QString(), QDate(2026, 2, 1));
    operation(4, "4", 90, 2, bek, QString(), QDate(2026, 2, 1));
    operation(5, "5", 60, 1, bek, QString(), QDate(2026, 3, 1)); // after the date
    Payment part = paymentOf(owed, QDate(2026, 2, 1), 200);
    part.operation = 1;
    payments::add(dm.TsnRW, part);

    const Debts debts = clientDebts(dm.TsnRW, QDate(2026, 2, 15));
    ASSERT_EQ(debts.clients.size(), 2u);
    EXPECT_EQ(debts.clients[0].name, bek);
    EXPECT_DOUBLE_EQ(debts.clients[0].advance, 40);
    EXPECT_DOUBLE_EQ(debts.clients[0].due, 0);
    EXPECT_EQ(debts.clients[1].name, QStringLiteral("ТОО «Альфа»"));
    EXPECT_DOUBLE_EQ(debts.clients[1].advance, 300);
    EXPECT_DOUBLE_EQ(debts.clients[1].due, 100);
    EXPECT_DOUBLE_EQ(debts.total.advance, 340);
}

// Two users pay one document at the same moment: both payments are kept, and each sees the
// other's once it reads again.
// The register's row carries what was paid and the status as read, beside the document's own
// columns: another user's payment is no change of the document, the two are never written, and a
// listing that does not select them still opens.
TEST_F(Payments, TheRegistersComputedColumnsAreReadNotStoredNorTakenForAChange)
{
    const int kod = document(QStringLiteral("ТОО «Альфа»"), QString(), {100});
    dm.TsnRW.commit();
    Dataset &docs = *dm.DSetDocs;
    docs.close();
    docs.open();
    ASSERT_TRUE(docs.locate(kod));
    EXPECT_DOUBLE_EQ(docs.asFloat(QStringLiteral("OPLACHENO")), 0);
    EXPECT_EQ(docs.displayText(QStringLiteral("STATUSTEXT")), QStringLiteral("не оплачен"));

    {
        FbTransaction elsewhere(dm.ZNDB);
        elsewhere.start();
        payments::add(elsewhere, paymentOf(kod, QDate(2026, 2, 1), 40));
        elsewhere.commit();
    }
    docs.refreshCurrentRow();
    docs.edit();
    EXPECT_THROW(docs.setValue(QStringLiteral("OPLACHENO"), 5), DbError);
    docs.setValue(QStringLiteral("NAMEORG"), QStringLiteral("ТОО «Бета»"));
    EXPECT_NO_THROW(docs.post());
    dm.TsnRW.commit();

    docs.close();
    docs.open();
    ASSERT_TRUE(docs.locate(kod));
    EXPECT_EQ(docs.asString(QStringLiteral("NAMEORG")), QStringLiteral("ТОО «Бета»"));
    EXPECT_DOUBLE_EQ(docs.asFloat(QStringLiteral("OPLACHENO")), 40);
    EXPECT_EQ(docs.displayText(QStringLiteral("STATUSTEXT")), QStringLiteral("оплачен частично"));

    docs.close();
    docs.setSelectSql(QStringLiteral("select * from DOCS order by NUMSCH"));
    docs.open();
    ASSERT_TRUE(docs.locate(kod));
    EXPECT_TRUE(docs.value(QStringLiteral("OPLACHENO")).isNull());
    EXPECT_EQ(docs.displayText(QStringLiteral("STATUSTEXT")), QString());
}

TEST(PaymentsOfTwoUsers, BothAreKept)
{
    TempDatabase db;
    TDM first, second;
    first.DataModuleCreate(db.path());
    second.DataModuleCreate(db.path());
    for (TDM *user : {&first, &second}) {
        if (!user->TsnRW.isActive())
            user->TsnRW.start();
    }
    FbStatement::run(first.TsnRW, QStringLiteral("insert into DOCS (KOD, NUMSCH) values (1, 1)"));
    FbStatement::run(
        first.TsnRW,
        QStringLiteral("insert into DETAILDOCS (KOD, KODDOCS, STREALIZ) values (1, 1, 100)"));
    first.TsnRW.commit();
    first.TsnRW.start();
    second.TsnRW.commit();
    second.TsnRW.start();

    payments::add(first.TsnRW, paymentOf(1, QDate(2026, 2, 1), 30));
    payments::add(second.TsnRW, paymentOf(1, QDate(2026, 2, 1), 70));
    first.TsnRW.commit();
    second.TsnRW.commit();
    first.TsnRW.start();
    EXPECT_DOUBLE_EQ(payments::paidAmount(first.TsnRW, 1), 100);
    EXPECT_EQ(payments::of(first.TsnRW, 1).size(), 2u);
}

} // namespace
