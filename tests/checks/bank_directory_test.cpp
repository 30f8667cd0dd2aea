#include "checks/bank_directory.h"

#include <gtest/gtest.h>

namespace {

TEST(BankDirectory, TheBuiltInTableIsReadWithItsWorkingBanksByCode)
{
    const BankDirectory &banks = BankDirectory::builtin();
    EXPECT_GE(banks.banks().size(), 40u);
    const auto kaspi = banks.byCode(QStringLiteral("722"));
    ASSERT_TRUE(kaspi);
    EXPECT_EQ(kaspi->bik, QStringLiteral("CASPKZKA"));
    // Two BIKs carry 914; the one the bank works under now is the one found.
    EXPECT_EQ(banks.byCode(QStringLiteral("914"))->bik, QStringLiteral("BRKEKZKA"));
    EXPECT_FALSE(banks.byCode(QStringLiteral("926"))) << "a merged bank is not filled in";
    EXPECT_EQ(banks.byBik(QStringLiteral("SABRKZKA"))->renamedTo(), QStringLiteral("BRKEKZKA"));
    EXPECT_FALSE(banks.byBik(QStringLiteral("NOSUCHBK")));
}

TEST(BankDirectory, NotesAndBrokenLinesAreSkippedAndOtherColumnsRefused)
{
    const BankDirectory banks = BankDirectory::parse(
        QStringLiteral("# source\n\nname_ru\tbik\tstatus\tbank_code\nБанк\tAAAAKZKA\tactive\t123\n"
                       "\t\t\t\nshort line\n"));
    ASSERT_EQ(banks.banks().size(), 1u);
    EXPECT_EQ(banks.byCode(QStringLiteral("123"))->name, QStringLiteral("Банк"));
    EXPECT_TRUE(BankDirectory::parse(QStringLiteral("a\tb\nx\ty\n")).banks().empty());
}

} // namespace
