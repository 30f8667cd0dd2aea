// The register's statements, the next number of a form and the copy of a document, on a real
// database and without a window.
#include "core/auto_number.h"
#include "core/document_copy.h"
#include "core/register_statements.h"
#include "data/date_time.h"
#include "data/fb_statement.h"
#include "data/payment_status.h"
#include "data/payments.h"
#include "data_module_test.h"

#include <gtest/gtest.h>

namespace {

class Core : public DataModuleTest {
protected:
    Core() : DataModuleTest(TempDatabase::Demo) {}

    // The invoice numbers a statement lists, in its order.
    QList<int> listed(const SelectStatement &statement)
    {
        dm.DSetDocs->close();
        dm.DSetDocs->setSelectSql(statement.sql, statement.parameters);
        dm.DSetDocs->open();
        QList<int> numbers;
        for (dm.DSetDocs->first(); !dm.DSetDocs->eof(); dm.DSetDocs->next())
            numbers << int(dm.DSetDocs->asInteger(QStringLiteral("NUMSCH")));
        return numbers;
    }
};

struct StatementCase {
    const char *name;
    SelectStatement statement;
    QList<int> numbers;
};

void PrintTo(const StatementCase &c, std::ostream *os)
{
    *os << c.name;
}

class RegisterStatements : public Core, public ::testing::WithParamInterface<StatementCase> {};

TEST_P(RegisterStatements, ListTheDocumentsOfTheDemoBusiness)
{
    EXPECT_EQ(listed(GetParam().statement), GetParam().numbers);
}

const QDate kFrom(2026, 1, 1), kTo(2026, 12, 31);

INSTANTIATE_TEST_SUITE_P(
    Cases, RegisterStatements,
    ::testing::Values(
        StatementCase{"Current", viewStatement(RegisterView::Current), {1, 2, 3, 4}},
        StatementCase{"Archived", viewStatement(RegisterView::Archived), {5}},
        StatementCase{"PartOfAName",
                      queryStatement(RegisterView::All, QStringLiteral("Степной"), kFrom, kTo),
                      {1, 5}},
        StatementCase{"QuoteAndDates",
                      queryStatement(RegisterView::Current, QStringLiteral("\"Казахская"),
                                     QDate(2026, 3, 5), QDate(2026, 3, 5)),
                      {2}},
        StatementCase{"WildcardsAreCharacters",
                      queryStatement(RegisterView::All, QStringLiteral("%"), kFrom, kTo),
                      {}},
        StatementCase{"SortedByName",
                      sortStatement(RegisterView::Current, QString(), QStringLiteral("NAMEORG")),
                      {2, 3, 4, 1}}),
    [](const auto &info) { return std::string(info.param.name); });

// Invoice 1 paid in full, 2 in part, 3 overdue, 4 not paid and never due: what the register
// shows of each and whom its filters keep.
TEST_F(Core, TheRegisterShowsWhatWasPaidAndFiltersByIt)
{
    auto kodOf = [this](int number) {
        return FbStatement::scalar(
                   dm.TsnRW, QStringLiteral("select KOD from DOCS where NUMSCH = %1").arg(number))
            .toInt();
    };
    auto pay = [this](int kod, double amount) {
        Payment payment;
        payment.document = kod;
        payment.date = QDate(2026, 3, 1);
        payment.amount = amount;
        payments::add(dm.TsnRW, payment);
    };
    pay(kodOf(1), payments::documentAmount(dm.TsnRW, kodOf(1)));
    pay(kodOf(2), 1);
    payments::setDueDate(dm.TsnRW, kodOf(3), QDate::currentDate().addDays(-1));

    const SelectStatement all = viewStatement(RegisterView::Current);
    FbStatement select(dm.TsnRW);
    select.prepare(all.sql);
    for (auto it = all.parameters.cbegin(); it != all.parameters.cend(); ++it)
        select.setParameter(it.key(), it.value());
    select.execute();
    QStringList shown;
    while (select.fetch()) {
        int paidColumn = -1, statusColumn = -1;
        for (int c = 0; c < select.columnCount(); ++c) {
            if (select.columnName(c) == QStringLiteral("OPLACHENO"))
                paidColumn = c;
            if (select.columnName(c) == QStringLiteral("STATUS"))
                statusColumn = c;
        }
        shown << QStringLiteral("%1 %2").arg(select.value(paidColumn).toDouble() > 0 ? "+" : "-",
                                             paymentStatusText(select.value(statusColumn)));
    }
    EXPECT_EQ(shown, (QStringList{QStringLiteral("+ оплачен"), QStringLiteral("+ оплачен частично"),
                                  QStringLiteral("- просрочен"), QStringLiteral("- не оплачен")}));

    EXPECT_EQ(listed(viewStatement(RegisterView::Current, PaymentFilter::Unpaid)),
              (QList<int>{2, 3, 4}));
    EXPECT_EQ(listed(viewStatement(RegisterView::Current, PaymentFilter::Overdue)), QList<int>{3});
    EXPECT_EQ(
        listed(queryStatement(RegisterView::All, QString(), kFrom, kTo, PaymentFilter::Overdue)),
        QList<int>{3});
    EXPECT_EQ(listed(sortStatement(RegisterView::Current, QString(), QStringLiteral("NAMEORG"),
                                   PaymentFilter::Unpaid)),
              (QList<int>{2, 3, 4}));
}

TEST_F(Core, EachFormIsNumberedAfterItsLargestStoredNumber)
{
    dm.DSetDocs->last();
    for (int kind = NumberInvoice; kind <= NumberPaymentOrder; ++kind) {
        AutoNumber(dm, kind);
        EXPECT_EQ(dm.DSetDocs->asInteger(numberColumn(kind)), 6)
            << numberColumn(kind).toStdString();
    }
    dm.DSetDocs->cancel();
}

TEST_F(Core, ACopyKeepsTheLinesAndStartsWithoutNumbersOnToday)
{
    dm.DSetDocs->first();
    const qint64 original = dm.DSetDocs->asInteger(QStringLiteral("KOD"));
    const QString client = dm.DSetDocs->asString(QStringLiteral("NAMEORG"));
    const int lines = dm.DSetDetail->recordCount();
    const qint64 copy = copyCurrentDocument(dm);
    EXPECT_NE(copy, original);
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("NAMEORG")), client);
    EXPECT_TRUE(dm.DSetDocs->value(QStringLiteral("NUMSCH")).isNull());
    EXPECT_EQ(dm.DSetDocs->value(QStringLiteral("DATAACT")).toDateTime(), datetime::today());
    EXPECT_EQ(FbStatement::scalar(dm.TsnRW, QStringLiteral("select count(*) from DETAILDOCS "
                                                           "where KODDOCS = %1")
                                                .arg(copy))
                  .toInt(),
              lines);
}

} // namespace
