#include "builtin_run.h"
#include "golden_file.h"

#include "data/debts.h"
#include "printing/debtors_listing.h"

namespace {

ClientDebt client(const char *name, const char *biniin, double invoiced, double paid, DebtAges ages,
                  double advance = 0)
{
    ClientDebt c;
    c.name = QString::fromUtf8(name);
    c.biniin = QString::fromLatin1(biniin);
    c.invoiced = invoiced;
    c.paid = paid;
    c.ages = ages;
    c.due = ages.notDue + ages.overdue();
    c.advance = advance;
    return c;
}

// Three debtors, one of a name long enough to take two lines, and the totals under them.
TEST(DebtorsListing, PreparedPagesMatchTheStoredJson)
{
    RussianLocale locale;
    Debts debts;
    debts.clients = {client("ИП «Айгерім»", "850101300123", 120000, 20000, {100000, 0, 0, 0, 0}),
                     client("ТОО «Құрылыс-Өнім» и партнеры, строительно-монтажное управление № 3",
                            "160440012345", 1500000.5, 250000, {0, 250000.5, 500000, 0, 500000},
                            15000),
                     client("ТОО «Заря»", "", 45000, 0, {0, 0, 0, 45000, 0})};
    for (const ClientDebt &c : debts.clients) {
        debts.total.invoiced += c.invoiced;
        debts.total.paid += c.paid;
        debts.total.due += c.due;
        debts.total.advance += c.advance;
        debts.total.ages.add(c.ages);
    }
    const DebtorsListingRows rows(debts, QDate(2026, 3, 31));
    const ReportRun run = runBuiltin(QString::fromLatin1(kDebtorsTemplate), rows.sources());
    ASSERT_TRUE(run.ok) << run.errors().join('\n').toStdString();
    expectMatchesGolden(run.prepared(), "repDolzhniki");
}

} // namespace
