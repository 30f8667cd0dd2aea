#include "app/debtors_command.h"
#include "app/tfrm_dolzhniki.h"
#include "data/date_time.h"
#include "data/debts.h"
#include "data/fb_statement.h"
#include "data/payments.h"
#include "main_window_test.h"
#include "report/report_engine.h"
#include "window_driver.h"
#include "window_test.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDateEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QDate kAt(2026, 6, 30);

// The debtors' window over two clients: "ИП Бек" (by name) owes 400 due 61 days before kAt
// and 500 not due yet; "ТОО «Альфа»" (by BIN/IIN) owes 300 of 1000, due 10 days before kAt,
// and paid 200 more after kAt.
class Debtors : public WindowTest {
protected:
    Debtors() : WindowTest(TempDatabase::Empty) {}

    void SetUp() override
    {
        WindowTest::SetUp();
        dm.TsnRW.start();
        document(QStringLiteral("ИП Бек"), QString(), 400, kAt.addDays(-61));
        document(QStringLiteral("ИП Бек"), QString(), 500, kAt.addDays(5));
        const int alfa = document(QStringLiteral("ТОО «Альфа»"), QStringLiteral("123456789012"),
                                  1000, kAt.addDays(-10));
        pay(alfa, 700, kAt.addDays(-20));
        pay(alfa, 200, kAt.addDays(1));
        window = std::make_unique<TfrmDolzhniki>(
            dm, prompts,
            [this](const zreport::TfrxReport &report, const zreport::DataSources &sources) {
                shown(report, sources);
            });
        window->setDate(kAt);
    }

    int document(const QString &name, const QString &biniin, double amount, QDate due)
    {
        const int kod = ++m_documents;
        FbStatement insert(dm.TsnRW);
        insert.prepare(QStringLiteral("insert into DOCS (KOD, KODARCHIV, NAMEORG, BINIIN, NUMSCH, "
                                      "DATASCH) values (:K, 0, :N, :B, :K, :D)"));
        insert.setParameter(QStringLiteral("K"), kod);
        insert.setParameter(QStringLiteral("N"), name);
        insert.setParameter(QStringLiteral("B"), biniin);
        insert.setParameter(QStringLiteral("D"), datetime::make(QDate(2026, 1, 10)));
        insert.execute();
        FbStatement::run(dm.TsnRW,
                         QStringLiteral("insert into DETAILDOCS (KOD, KODDOCS, NUM, STREALIZ) "
                                        "values (%1, %1, 1, %2)")
                             .arg(kod)
                             .arg(amount));
        payments::setDueDate(dm.TsnRW, kod, due);
        return kod;
    }
    void pay(int document, double amount, QDate date)
    {
        Payment payment;
        payment.document = document;
        payment.amount = amount;
        payment.date = date;
        payments::add(dm.TsnRW, payment);
    }

    QTableView &grid(const char *name) { return *child<QTableView>(*window, name); }
    // The texts of a grid's row, column by column, thousands grouped by plain spaces.
    QStringList row(const char *gridName, int r)
    {
        QStringList texts;
        const QAbstractItemModel &model = *grid(gridName).model();
        for (int c = 0; c < model.columnCount(); ++c)
            texts << plainSpaces(model.index(r, c).data().toString());
        return texts;
    }
    static QString plainSpaces(QString text)
    {
        return text.replace(QChar(0x00A0), QLatin1Char(' '))
            .replace(QChar(0x202F), QLatin1Char(' '));
    }

    std::function<void(const zreport::TfrxReport &, const zreport::DataSources &)> shown =
        [](const zreport::TfrxReport &, const zreport::DataSources &) {
            ADD_FAILURE() << "nothing is printed";
        };
    std::unique_ptr<TfrmDolzhniki> window;

private:
    int m_documents = 0;
};

TEST_F(Debtors, ListEachClientByAgeWithTotalsAndFollowTheDate)
{
    struct Case {
        QDate at;
        std::vector<QStringList> rows;
    };
    const Case cases[] = {
        {kAt,
         {{"ИП Бек", "", "900,00", "", "900,00", "500,00", "", "", "400,00", "", ""},
          {"ТОО «Альфа»", "123456789012", "1 000,00", "700,00", "300,00", "", "300,00", "", "", "",
           ""},
          {"Итого", "", "1 900,00", "700,00", "1 200,00", "500,00", "300,00", "", "400,00", "",
           ""}}},
        // A hundred days later the payment after kAt counts, and all that is due is over 90 days.
        {kAt.addDays(100),
         {{"ИП Бек", "", "900,00", "", "900,00", "", "", "", "", "900,00", ""},
          {"ТОО «Альфа»", "123456789012", "1 000,00", "900,00", "100,00", "", "", "", "", "100,00",
           ""},
          {"Итого", "", "1 900,00", "900,00", "1 000,00", "", "", "", "", "1 000,00", ""}}}};
    for (const Case &c : cases) {
        child<QDateEdit>(*window, "dtpNaDatu")->setDate(c.at);
        ASSERT_EQ(grid("dbgrDolzhniki").model()->rowCount(), int(c.rows.size()));
        for (size_t r = 0; r < c.rows.size(); ++r)
            EXPECT_EQ(row("dbgrDolzhniki", int(r)), c.rows[r]) << c.at.toString().toStdString();
    }
}

TEST_F(Debtors, AClientOpensToItsDocumentsWithMoneyDue)
{
    QTableView &clients = grid("dbgrDolzhniki");
    clients.setFocus();
    clients.selectRow(0);
    QTest::keyClick(&clients, Qt::Key_Return);
    QTableView &documents = grid("dbgrDokumenty");
    ASSERT_EQ(documents.model()->rowCount(), 2);
    EXPECT_EQ(row("dbgrDokumenty", 0),
              (QStringList{"1", "10.01.2026", "400,00", "", "400,00", "30.04.2026", "61"}));
    EXPECT_EQ(row("dbgrDokumenty", 1),
              (QStringList{"2", "10.01.2026", "500,00", "", "500,00", "05.07.2026", ""}));
    EXPECT_EQ(documents.currentIndex().row(), 0);

    clients.selectRow(1);
    ASSERT_EQ(documents.model()->rowCount(), 1);
    EXPECT_EQ(row("dbgrDokumenty", 0),
              (QStringList{"3", "10.01.2026", "1 000,00", "700,00", "300,00", "20.06.2026", "10"}));
    clients.selectRow(2); // the totals
    EXPECT_EQ(documents.model()->rowCount(), 0);
}

TEST_F(Debtors, PrintShowsTheListingOfTheFiguresAtTheDate)
{
    QStringList texts;
    shown = [&](const zreport::TfrxReport &report, const zreport::DataSources &sources) {
        zreport::ReportEngine engine(report, sources);
        ASSERT_TRUE(engine.run()) << engine.errors().join('\n').toStdString();
        for (const auto &page : engine.prepared().pages())
            for (const auto &object : page.objects)
                texts << plainSpaces(object.text.trimmed());
    };
    click(*window, "btnPrint");
    for (const char *text : {"Должники на 30.06.2026", "ИП Бек", "ТОО «Альфа»", "123456789012",
                             "1 900,00", "1 200,00"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
}

TEST_F(Debtors, ReconciliationActOpensForTheChosenClientOnly)
{
    QPushButton &act = *child<QPushButton>(*window, "btnAktSverki");
    EXPECT_FALSE(act.isEnabled()) << "nobody opens the act";
    QStringList opened;
    window->setReconciliationAct([&](QWidget *, const ClientDebt &client, QDate at) {
        opened << client.name + QLatin1Char(' ') + at.toString(u"dd.MM.yyyy");
    });
    grid("dbgrDolzhniki").selectRow(2);
    EXPECT_FALSE(act.isEnabled()) << "the totals are no client";
    grid("dbgrDolzhniki").selectRow(1);
    ASSERT_TRUE(act.isEnabled());
    act.click();
    EXPECT_EQ(opened, QStringList{QStringLiteral("ТОО «Альфа» 30.06.2026")});
}

// "Сервис" → "Должники..." of the register opens the window over the database, modally.
class DebtorsCommand : public MainWindowTest {
protected:
    DebtorsCommand() : MainWindowTest(TempDatabase::Demo) {}
};

TEST_F(DebtorsCommand, OpensTheDebtorsFromTheServiceMenu)
{
    openWindow();
    int rows = 0;
    addDebtorsCommand(*window, dm, prompts, {}, [&](QDialog &dialog) {
        auto &debtors = dynamic_cast<TfrmDolzhniki &>(dialog);
        debtors.setDate(QDate(2026, 12, 31));
        rows = child<QTableView>(debtors, "dbgrDolzhniki")->model()->rowCount();
        return int(QDialog::Accepted);
    });
    auto *action = window->serviceMenu()->findChild<QAction *>(QStringLiteral("actDolzhniki"));
    ASSERT_TRUE(action);
    EXPECT_EQ(window->serviceMenu()->actions().front(), action);
    action->trigger();
    EXPECT_GT(rows, 1) << "the demo's clients owe, with the totals under them";
}

} // namespace
