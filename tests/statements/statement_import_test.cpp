// Recording a statement's incoming money on a real database: once only, all or nothing, and what
// the user chose for the operations left unmatched.
#include "statements/open_documents.h"
#include "statements/statement_import.h"
#include "statements/statement_reader.h"

#include "data/date_time.h"
#include "data/db_error.h"
#include "data/debts.h"
#include "data/fb_statement.h"
#include "data/payments.h"
#include "data_module_test.h"

#include <gtest/gtest.h>

namespace {

const char *const kOwn = "KZ12722S000012345678";
const char *const kClient = "150940023457";
const char *const kOther = "900202300456";

struct Line {
    const char *number;
    const char *date;
    const char *amount;
    const char *payerBin;
    const char *purpose;
    bool incoming = true;
};

QByteArray statementOf(const std::vector<Line> &lines)
{
    QByteArray text = "1CClientBankExchange\nВерсияФормата=1.02\nРасчСчет=";
    text += QByteArray(kOwn) + "\n";
    for (const Line &line : lines) {
        const QByteArray client = QByteArray("KZ75125KZT100130033") + line.payerBin[11];
        text += QByteArray("СекцияДокумент=Платежное поручение\nНомерДокумента=") + line.number +
                "\nДатаДокумента=" + line.date + "\nСумма=" + line.amount +
                "\nПлательщикНаименование=Клиент " + line.payerBin +
                "\nПлательщикБИН_ИИН=" + line.payerBin +
                "\nПлательщикИИК=" + (line.incoming ? client : QByteArray(kOwn)) +
                "\nПолучательИИК=" + (line.incoming ? QByteArray(kOwn) : client) +
                "\nНазначениеПлатежа=" + line.purpose + "\nКонецДокумента\n";
    }
    return text + "КонецФайла\n";
}

class StatementImport : public DataModuleTest {
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        run(QStringLiteral("delete from REKVIZITY"));
        run(QStringLiteral("insert into REKVIZITY (KOD, IIK) values (1, :I)"),
            {QString::fromLatin1(kOwn)});
        run(QStringLiteral("insert into RASSCHET (KOD, KODORG, IIK) values (1, 0, :I)"),
            {QStringLiteral("KZ346010002000123456")});
        run(QStringLiteral("insert into RASSCHET (KOD, KODORG, IIK) values (2, 5, :I)"),
            {QStringLiteral("KZ75125KZT1001300337")});
    }

    void run(const QString &sql, const QVariantList &values = {})
    {
        FbStatement statement(dm.TsnRW);
        statement.prepare(sql);
        for (int i = 0; i < values.size(); ++i)
            statement.setParameter(i, values[i]);
        statement.execute();
    }

    int count(const QString &sql) { return FbStatement::scalar(dm.TsnRW, sql).toInt(); }

    // A document of one line of this amount.
    int document(const char *biniin, int numsch, int numschf, double amount)
    {
        const int kod = ++m_lastDocument;
        run(QStringLiteral("insert into DOCS (KOD, NAMEORG, BINIIN, NUMSCH, NUMSCHF, DATASCH) "
                           "values (:K, :N, :B, :NUM, :NUMF, :D)"),
            {kod, QStringLiteral("Клиент"), QString::fromLatin1(biniin), numsch, numschf,
             datetime::make(QDate(2026, 11, 1))});
        run(QStringLiteral("insert into DETAILDOCS (KOD, KODDOCS, NUM, STREALIZ) "
                           "values (:K, :D, 1, :S)"),
            {kod, kod, amount});
        return kod;
    }

    StatementPlan plan(const std::vector<Line> &lines)
    {
        const auto read = readStatement(statementOf(lines), ownAccounts(dm.TsnRW));
        EXPECT_TRUE(std::holds_alternative<Statement>(read))
            << std::get<StatementRefusal>(read).text().toStdString();
        return planImport(dm.TsnRW, std::get<Statement>(read));
    }

    int m_lastDocument = 100;
};

const std::vector<Line> kDecember = {
    {"11", "02.12.2026", "1000.00", kClient, "Оплата по счету № 12 от 01.12.2026"},
    {"12", "03.12.2026", "700", kClient, "оплата по договору"},
    {"13", "03.12.2026", "50", kOther, "оплата"},
    {"14", "04.12.2026", "300", kClient, "возврат", false},
};

TEST_F(StatementImport, OwnAccountsAreTheRequisitesAndTheBusinesssList)
{
    EXPECT_EQ(ownAccounts(dm.TsnRW), (QStringList{QStringLiteral("KZ12722S000012345678"),
                                                  QStringLiteral("KZ346010002000123456")}));
}

TEST_F(StatementImport, RecordsTheMatchedOnceOnly)
{
    const int invoice12 = document(kClient, 12, 40, 1500);
    const int invoice13 = document(kClient, 13, 41, 700);
    document(kClient, 14, 42, 0); // nothing due: not open

    StatementPlan first = plan(kDecember);
    ASSERT_EQ(first.operations.size(), 3u); // the outgoing one is not offered
    EXPECT_EQ(first.operations[0].match.document, invoice12);
    EXPECT_EQ(first.operations[0].match.rule, MatchRule::NumberInPurpose);
    EXPECT_EQ(first.operations[1].match.document, invoice13);
    EXPECT_EQ(first.operations[1].match.rule, MatchRule::ExactAmount);
    EXPECT_EQ(first.operations[2].match.document, 0);

    const ImportCounts counts = recordImport(dm.TsnRW, first.operations);
    EXPECT_EQ(counts.recorded, 2);
    EXPECT_EQ(counts.unmatched, 1);
    EXPECT_EQ(counts.alreadyImported, 0);
    const std::vector<Payment> paid = payments::of(dm.TsnRW, invoice12);
    ASSERT_EQ(paid.size(), 1u);
    EXPECT_EQ(paid[0].date, QDate(2026, 12, 2));
    EXPECT_DOUBLE_EQ(paid[0].amount, 1000);
    EXPECT_EQ(paid[0].source, PaymentSource::BankStatement);
    EXPECT_EQ(paid[0].docNumber, QStringLiteral("11"));
    EXPECT_EQ(count(QStringLiteral("select STATE from BANK_OPERATIONS where KOD = %1")
                        .arg(paid[0].operation)),
              0);
    EXPECT_DOUBLE_EQ(payments::paidAmount(dm.TsnRW, invoice13), 700);

    // The same statement again, then one overlapping it by a day: only the new operation counts.
    StatementPlan again = plan(kDecember);
    EXPECT_TRUE(again.operations[0].alreadyImported);
    EXPECT_EQ(again.operations[0].match.document, 0);
    const ImportCounts second = recordImport(dm.TsnRW, again.operations);
    EXPECT_EQ(second.recorded, 0);
    EXPECT_EQ(second.alreadyImported, 2);
    const ImportCounts overlap = recordImport(
        dm.TsnRW, plan({kDecember[1], {"15", "05.12.2026", "500", kClient, "сч.12"}}).operations);
    EXPECT_EQ(overlap.recorded, 1);
    EXPECT_EQ(overlap.alreadyImported, 1);
    EXPECT_DOUBLE_EQ(payments::paidAmount(dm.TsnRW, invoice12), 1500);
    EXPECT_DOUBLE_EQ(payments::paidAmount(dm.TsnRW, invoice13), 700);
    EXPECT_EQ(count(QStringLiteral("select count(*) from BANK_OPERATIONS")), 3);
}

TEST_F(StatementImport, WhatTheUserChoseForTheUnmatched)
{
    const int first = document(kOther, 1, 0, 100);
    const int second = document(kOther, 2, 0, 100);
    StatementPlan choices = plan({{"1", "02.12.2026", "150", kOther, "split"},
                                  {"2", "02.12.2026", "80", kOther, "advance"},
                                  {"3", "02.12.2026", "20", kOther, "ignore"}});
    ASSERT_EQ(choices.operations.size(), 3u);
    EXPECT_EQ(choices.matcher.documentsOf(QString::fromLatin1(kOther)).size(), 2u);
    choices.operations[0].choice = {OperationChoice::Kind::Documents, {{first, 100}, {second, 30}}};
    choices.operations[1].choice = {OperationChoice::Kind::Advance, {}};
    choices.operations[2].choice = {OperationChoice::Kind::Ignore, {}};
    EXPECT_EQ(recordImport(dm.TsnRW, choices.operations).recorded, 3);

    EXPECT_DOUBLE_EQ(payments::paidAmount(dm.TsnRW, first), 100);
    EXPECT_DOUBLE_EQ(payments::paidAmount(dm.TsnRW, second), 30);
    FbStatement states(dm.TsnRW);
    states.prepare(QStringLiteral("select STATE from BANK_OPERATIONS order by NUMBER"));
    states.execute();
    std::vector<int> stored;
    while (states.fetch())
        stored.push_back(states.value(0).toInt());
    EXPECT_EQ(stored, (std::vector<int>{1, 1, 2}));
    // What the split left (20) and the advance (80) are the client's advance.
    const Debts debts = clientDebts(dm.TsnRW, QDate(2026, 12, 31));
    ASSERT_EQ(debts.clients.size(), 1u);
    EXPECT_DOUBLE_EQ(debts.clients[0].advance, 100);
}

TEST_F(StatementImport, ASplitOverTheAmountIsRefusedAndLeavesNothing)
{
    const int first = document(kOther, 1, 0, 100);
    StatementPlan choices = plan(
        {{"1", "02.12.2026", "1000", kClient, "сч.1"}, {"2", "02.12.2026", "50", kOther, "split"}});
    choices.operations[1].choice = {OperationChoice::Kind::Documents, {{first, 60}}};
    EXPECT_EQ(choiceProblem(choices.operations[1]),
              QStringLiteral("Сумма по документам больше суммы операции"));
    EXPECT_THROW(recordImport(dm.TsnRW, choices.operations), DbError);
    EXPECT_EQ(count(QStringLiteral("select count(*) from BANK_OPERATIONS")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from PAYMENTS")), 0);
}

TEST_F(StatementImport, AFailureAtTheLastOperationLeavesNothing)
{
    document(kClient, 12, 0, 5000);
    run(QStringLiteral("create exception STATEMENT_TEST_FAILURE 'injected'"));
    dm.TsnRW.commit();
    dm.TsnRW.start();
    run(QStringLiteral(
        "create trigger STATEMENT_TEST_FAIL for BANK_OPERATIONS before insert as "
        "begin if (new.NUMBER = 'LAST') then exception STATEMENT_TEST_FAILURE; end"));
    dm.TsnRW.commit();
    dm.TsnRW.start();
    const StatementPlan failing = plan({{"1", "02.12.2026", "1000", kClient, "сч.12"},
                                        {"2", "02.12.2026", "1000", kClient, "сч.12"},
                                        {"LAST", "02.12.2026", "1000", kClient, "сч.12"}});
    ASSERT_EQ(failing.operations[2].match.rule, MatchRule::NumberInPurpose);
    EXPECT_THROW(recordImport(dm.TsnRW, failing.operations), DbError);
    EXPECT_EQ(count(QStringLiteral("select count(*) from BANK_OPERATIONS")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from PAYMENTS")), 0);
}

} // namespace
