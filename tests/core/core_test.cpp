// The register's statements, the next number of a form and the copy of a document, on a real
// database and without a window.
#include "core/auto_number.h"
#include "core/document_copy.h"
#include "core/register_statements.h"
#include "data/date_time.h"
#include "data/fb_statement.h"
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
