// The checks made before a statement is loaded: whose accounts, and whether its documents add up
// to its own totals.
#include "statements/statement_checks.h"
#include "statements/statement_reader.h"

#include <gtest/gtest.h>

namespace {

const QString kOwn = QStringLiteral("KZ12722S000012345678");

Statement read(const QByteArray &bytes)
{
    const auto result = readStatement(bytes, {kOwn});
    EXPECT_TRUE(std::holds_alternative<Statement>(result))
        << std::get<StatementRefusal>(result).text().toStdString();
    return std::holds_alternative<Statement>(result) ? std::get<Statement>(result) : Statement();
}

// A day's section with these totals over an incoming 300.00 and an outgoing 100.00.
QByteArray dayWith(const char *totals)
{
    return QByteArray("1CClientBankExchange\nСекцияРасчСчет\nДатаНачала=01.12.2026\n"
                      "ДатаКонца=01.12.2026\nРасчСчет=KZ12722S000012345678\n") +
           totals +
           "КонецРасчСчет\n"
           "СекцияДокумент=Платежное поручение\nНомерДокумента=1\nДатаДокумента=01.12.2026\n"
           "Сумма=300\nПлательщикИИК=KZ75125KZT1001300335\nПолучательИИК=KZ12722S000012345678\n"
           "КонецДокумента\n"
           "СекцияДокумент=Платежное поручение\nНомерДокумента=2\nДатаДокумента=01.12.2026\n"
           "Сумма=100\nПлательщикИИК=KZ12722S000012345678\nПолучательИИК=KZ75125KZT1001300335\n"
           "КонецДокумента\nКонецФайла\n";
}

struct TotalsCase {
    const char *name;
    const char *totals;
    QStringList mismatches;
};

void PrintTo(const TotalsCase &c, std::ostream *os)
{
    *os << c.name;
}

const QString kWhere = QStringLiteral("Счет KZ12722S000012345678, 01.12.2026–01.12.2026: ");

const TotalsCase kTotals[] = {
    {"AllAgree",
     "НачальныйОстаток=50\nВсегоПоступило=300.00\nВсегоСписано=100\nКонечныйОстаток=250\n",
     {}},
    {"NoTotalsNothingToCheck", "", {}},
    {"IncomeDiffers",
     "НачальныйОстаток=50\nВсегоПоступило=400\nВсегоСписано=100\nКонечныйОстаток=250\n",
     {kWhere + QStringLiteral("поступило по документам 300.00, по итогам выписки 400.00")}},
    {"OutgoAndClosingDiffer",
     "НачальныйОстаток=50\nВсегоПоступило=300\nВсегоСписано=90\nКонечныйОстаток=260\n",
     {kWhere + QStringLiteral("списано по документам 100.00, по итогам выписки 90.00"),
      kWhere + QStringLiteral("остаток на конец по документам 250.00, по выписке 260.00")}},
};

class StatementTotals : public ::testing::TestWithParam<TotalsCase> {};

TEST_P(StatementTotals, AreCheckedAgainstTheDocuments)
{
    EXPECT_EQ(totalsMismatches(read(dayWith(GetParam().totals))), GetParam().mismatches);
}

INSTANTIATE_TEST_SUITE_P(Sections, StatementTotals, ::testing::ValuesIn(kTotals),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(StatementAccounts, ThoseNotAmongTheRequisitesAreAskedAbout)
{
    const Statement statement = read(dayWith(""));
    EXPECT_TRUE(foreignAccounts(statement, {QStringLiteral("kz12722s 0000 1234 5678")}).isEmpty());
    const QStringList foreign =
        foreignAccounts(statement, {QStringLiteral("KZ346010002000123456")});
    EXPECT_EQ(foreign, QStringList{kOwn});
    EXPECT_EQ(foreignAccountQuestion(foreign),
              QStringLiteral("Счет KZ12722S000012345678 не найден в реквизитах. Загрузить все "
                             "равно?"));
}

} // namespace
