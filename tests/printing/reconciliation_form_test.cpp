// The reconciliation act's form on fixed rows: its golden pages, and the cells a golden file
// would not explain: blank zeros of the documents, the balances always printed, and the
// client's half left empty unless mirrored.
#include "../templates/builtin_run.h"
#include "../templates/golden_file.h"

#include "data/reconciliation_act.h"
#include "printing/reconciliation_rows.h"

#include <gtest/gtest.h>

namespace {

ReconciliationAct sampleAct()
{
    ReconciliationAct act;
    act.business = QStringLiteral("ТОО «Зарник Трейд»");
    act.director = QStringLiteral("Сейтказиев А.Б.");
    act.accountant = QStringLiteral("Ким Е.В.");
    act.client = {QStringLiteral("ТОО «Құрылыс-Өнім»"), QStringLiteral("990140000385")};
    act.from = QDate(2026, 1, 1);
    act.to = QDate(2026, 3, 31);
    act.opening = 15000;
    act.entries = {
        {{2026, 1, 12}, QStringLiteral("Реализация (накладная № 5 от 12.01.2026)"), 120500.5, 0},
        {{2026, 1, 20}, QStringLiteral("Оплата (п/п № 95022 от 19.01.2026)"), 0, 100000},
        {{2026, 2, 3}, QStringLiteral("Акт выполненных работ № 4 от 03.02.2026"), 30000, 0},
        {{2026, 3, 5}, QStringLiteral("Оплата наличными (ПКО № 11 от 05.03.2026)"), 0, 65500.5},
    };
    act.debitTurnover = 150500.5;
    act.creditTurnover = 165500.5;
    act.closing = 0;
    return act;
}

// Memos of the table's row band, ours then the client's: date, document, debit, credit.
const QString kOurDebit = QStringLiteral("Memo18");
const QString kOurCredit = QStringLiteral("Memo19");
const QString kClientDate = QStringLiteral("Memo20");
const QString kClientDebit = QStringLiteral("Memo22");
const QString kClientCredit = QStringLiteral("Memo23");

TEST(ReconciliationForm, PreparedPagesMatchTheStoredJson)
{
    RussianLocale locale;
    ReconciliationAct act = sampleAct();
    act.closing = 1500;
    const ReconciliationRows rows(act, QStringLiteral("Договор № 12 от 05.01.2026"), true);
    const ReportRun run = runBuiltin(QStringLiteral("repAktSverki"), rows.sources());
    ASSERT_TRUE(run.ok) << run.errors().join('\n').toStdString();
    expectMatchesGolden(run.prepared(), "repAktSverki");
}

TEST(ReconciliationForm, ZerosBlankInDocumentsPrintedInBalances)
{
    RussianLocale locale;
    for (const bool mirror : {false, true}) {
        const ReconciliationRows rows(sampleAct(), {}, mirror);
        const ReportRun run = runBuiltin(QStringLiteral("repAktSverki"), rows.sources());
        ASSERT_TRUE(run.ok) << run.errors().join('\n').toStdString();
        // The opening balance, then the four documents.
        EXPECT_EQ(run.texts(kOurDebit), (QStringList{"15000,00", "120500,50", "", "30000,00", ""}));
        EXPECT_EQ(run.texts(kOurCredit), (QStringList{"0,00", "", "100000,00", "", "65500,50"}));
        if (mirror) {
            EXPECT_EQ(run.texts(kClientDebit),
                      (QStringList{"0,00", "", "100000,00", "", "65500,50"}));
            EXPECT_EQ(run.texts(kClientCredit),
                      (QStringList{"15000,00", "120500,50", "", "30000,00", ""}));
            EXPECT_EQ(run.texts(kClientDate)[1], QStringLiteral("12.01.2026"));
        } else {
            EXPECT_EQ(run.texts(kClientDebit), QStringList(5, QString()));
            EXPECT_EQ(run.texts(kClientDate), QStringList(5, QString()));
        }
        const QStringList conclusions = run.texts(QStringLiteral("Memo37"));
        EXPECT_EQ(conclusions, QStringList{mirror ? QStringLiteral("По данным ТОО «Құрылыс-Өнім» "
                                                                   "на 31.03.2026 задолженность "
                                                                   "отсутствует")
                                                  : QString()});
        // The closing balance is zero and printed on our side.
        EXPECT_EQ(run.texts(QStringLiteral("Memo31")), QStringList{"0,00"});
    }
}

} // namespace
