// The question that follows a printed cash receipt order, and what its answers store.
#include "ui/cash_receipt_payment.h"

#include "data/payments.h"
#include "data_module_test.h"
#include "scripted_prompts.h"

#include <gtest/gtest.h>

namespace {

class CashReceiptPayment : public DataModuleTest {
protected:
    CashReceiptPayment() : DataModuleTest(TempDatabase::Demo) {}

    int document() { return int(dm.DSetDocs->asInteger(QStringLiteral("KOD"))); }

    // The demo's first invoice: order № 1 of 02.03.2026 over 172 950,00 (the group separator
    // of the Russian locale is a non-breaking blank).
    const QString question = QStringLiteral("Записать оплату наличными по приходному кассовому "
                                            "ордеру № 1 от 02.03.2026 на сумму 172\u00A0950,00?");
};

TEST_F(CashReceiptPayment, YesRecordsTheDocumentsAmountInCashAtTheOrdersDate)
{
    dm.DSetDocs->first();
    ScriptedPrompts prompts;
    prompts.expectConfirm(question, true);
    EXPECT_TRUE(offerCashReceiptPayment(nullptr, dm, prompts));
    const std::vector<Payment> stored = payments::of(dm.TsnRW, document());
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].kind, PaymentKind::Cash);
    EXPECT_DOUBLE_EQ(stored[0].amount, 172950);
    EXPECT_EQ(stored[0].date, QDate(2026, 3, 2));

    // Paid in full now: printing the order again asks nothing.
    EXPECT_FALSE(offerCashReceiptPayment(nullptr, dm, prompts));
}

TEST_F(CashReceiptPayment, NoRecordsNothing)
{
    dm.DSetDocs->first();
    ScriptedPrompts prompts;
    prompts.expectConfirm(question, false);
    EXPECT_FALSE(offerCashReceiptPayment(nullptr, dm, prompts));
    EXPECT_TRUE(payments::of(dm.TsnRW, document()).empty());
}

} // namespace
