// zarnik-cli pay and debts on a generated database.
#include "cli_run.h"
#include "temp_database.h"

#include <gtest/gtest.h>

namespace {

TEST(PaymentsCli, PayThenDebts)
{
    TempDatabase db(TempDatabase::Demo);
    const QStringList at = {QStringLiteral("--db"), db.path(), QStringLiteral("--date"),
                            QStringLiteral("31.12.2026")};

    // The demo's invoice 1 of ТОО «Степной Ветер» (KOD 1) comes to 172,950.00.
    CliRun paid =
        runCli(QStringList{QStringLiteral("pay"), QStringLiteral("--doc"), QStringLiteral("1"),
                           QStringLiteral("--amount"), QStringLiteral("1 000,50"),
                           QStringLiteral("--kind"), QStringLiteral("cash")}
               << at);
    ASSERT_EQ(paid.exitCode, 0) << paid.err.toStdString();
    EXPECT_EQ(paid.out, QStringLiteral("1000.50\t172950.00\tоплачен частично\n"));

    const CliRun text = runCli(QStringList{QStringLiteral("debts")} << at);
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    const QStringList lines = text.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[3],
              QStringLiteral(
                  "ТОО «Степной Ветер»\t150940023457\t193950.00\t1000.50\t192949.50\t0.00\t0.00"));
    EXPECT_EQ(lines[4], QStringLiteral("Итого\t\t662450.00\t1000.50\t661449.50\t0.00\t0.00"));

    const CliRun csv = runCli(QStringList{QStringLiteral("debts"), QStringLiteral("--csv")} << at);
    ASSERT_EQ(csv.exitCode, 0);
    EXPECT_TRUE(csv.out.startsWith(
        QStringLiteral("Клиент;БИН/ИИН;Выставлено;Оплачено;Долг;Просрочено;Аванс\r\n")));
    EXPECT_TRUE(
        csv.out.endsWith(QStringLiteral("Итого;;662450,00;1000,50;661449,50;0,00;0,00\r\n")));

    // Before the payment's date it is not counted.
    const CliRun before = runCli({QStringLiteral("debts"), QStringLiteral("--db"), db.path(),
                                  QStringLiteral("--date"), QStringLiteral("30.12.2026")});
    EXPECT_TRUE(
        before.out.endsWith(QStringLiteral("Итого\t\t662450.00\t0.00\t662450.00\t0.00\t0.00\n")))
        << before.out.toStdString();
}

struct RefusalCase {
    const char *name;
    QStringList args;
    int exitCode;
};

void PrintTo(const RefusalCase &c, std::ostream *os)
{
    *os << c.name;
}

class PaymentsCliRefusals : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(PaymentsCliRefusals, SayWhyAndWriteNothing)
{
    TempDatabase db(TempDatabase::Demo);
    const CliRun run = runCli(QStringList(GetParam().args) << QStringLiteral("--db") << db.path());
    EXPECT_EQ(run.exitCode, GetParam().exitCode);
    EXPECT_FALSE(run.err.isEmpty());
    const CliRun debts = runCli({QStringLiteral("debts"), QStringLiteral("--db"), db.path(),
                                 QStringLiteral("--date"), QStringLiteral("31.12.2026")});
    EXPECT_TRUE(debts.out.endsWith(QStringLiteral("\t0.00\t662450.00\t0.00\t0.00\n")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PaymentsCliRefusals,
    ::testing::Values(
        RefusalCase{"NoSuchDocument", {"pay", "--doc", "999", "--amount", "1"}, 1},
        RefusalCase{"NotAnAmount", {"pay", "--doc", "1", "--amount", "много"}, 2},
        RefusalCase{"ZeroAmount", {"pay", "--doc", "1", "--amount", "0"}, 2},
        RefusalCase{"BadKind", {"pay", "--doc", "1", "--amount", "1", "--kind", "card"}, 2},
        RefusalCase{"BadDate", {"pay", "--doc", "1", "--amount", "1", "--date", "31.02.2026"}, 2},
        RefusalCase{"DebtsBadDate", {"debts", "--date", "2026-12-31"}, 2}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
