// What the register shows of the documents' payments, its payment filter, the payments window
// it opens and the question after a printed cash receipt order.
#include "app/payment_dialog.h"
#include "app/tfrm_oplaty.h"
#include "data/fb_statement.h"
#include "data/payments.h"
#include "main_window_test.h"
#include "ui/db_grid.h"
#include "ui/radio_group.h"
#include "window_driver.h"

#include <QAction>
#include <QColor>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

namespace {

// The demo's current documents 1 to 4 come to 172 950, 189 000, 44 500 and 235 000 (the
// Russian locale's group separator is a non-breaking blank).
class RegisterPayments : public MainWindowTest {
protected:
    RegisterPayments() : MainWindowTest(TempDatabase::Demo) {}

    // Stored and committed before the window opens.
    int kodOf(int number)
    {
        begin();
        return FbStatement::scalar(
                   dm.TsnRW, QStringLiteral("select KOD from DOCS where NUMSCH = %1").arg(number))
            .toInt();
    }
    void pay(int number, double amount)
    {
        Payment payment;
        payment.document = kodOf(number);
        payment.date = QDate(2026, 3, 20);
        payment.amount = amount;
        payments::add(dm.TsnRW, payment);
        dm.TsnRW.commit();
    }
    void dueOn(int number, QDate date)
    {
        payments::setDueDate(dm.TsnRW, kodOf(number), date);
        dm.TsnRW.commit();
    }
    // Invoice 1 paid, 2 in part, 3 overdue since yesterday, 4 overpaid.
    void storeOneOfEachStatus()
    {
        pay(1, 172950);
        pay(2, 1000.5);
        dueOn(3, QDate::currentDate().addDays(-1));
        dueOn(4, QDate::currentDate().addDays(-1));
        pay(4, 235100);
    }

    // What is committed, read as another user would.
    std::vector<Payment> committedPayments(int number)
    {
        const int kod = kodOf(number);
        FbTransaction other(dm.ZNDB);
        other.start();
        return payments::of(other, kod);
    }

    QStringList listed() { return columnTexts(*dm.DSetDocs, QStringLiteral("NUMSCH")); }
    DbGrid &documentsGrid() { return *child<DbGrid>(*window, "dbgrSchets"); }
    void chooseFilter(int index)
    {
        child<RadioGroup>(*window, "rgrOplata")->button(index)->click();
    }

private:
    void begin()
    {
        if (!dm.TsnRW.isActive())
            dm.TsnRW.start();
    }
};

struct RowCase {
    int row;
    QString number;
    QString paid;
    QString status;
    bool red;
};

TEST_F(RegisterPayments, ShowWhatWasPaidAndTheStatusWithOverdueRowsInRed)
{
    storeOneOfEachStatus();
    openWindow();
    QAbstractItemModel &model = *documentsGrid().model();
    const int paidColumn =
        documentsGrid().datasetModel()->columnOfField(QStringLiteral("OPLACHENO"));
    const int statusColumn =
        documentsGrid().datasetModel()->columnOfField(QStringLiteral("STATUSTEXT"));
    EXPECT_EQ(model.headerData(paidColumn, Qt::Horizontal).toString(), QStringLiteral("Оплачено"));
    EXPECT_EQ(model.headerData(statusColumn, Qt::Horizontal).toString(), QStringLiteral("Статус"));
    const RowCase rows[] = {
        {0, QStringLiteral("1"), QStringLiteral("172950"), QStringLiteral("оплачен"), false},
        {1, QStringLiteral("2"), QStringLiteral("1000,5"), QStringLiteral("оплачен частично"),
         false},
        {2, QStringLiteral("3"), QStringLiteral("0"), QStringLiteral("просрочен"), true},
        {3, QStringLiteral("4"), QStringLiteral("235100"), QStringLiteral("переплата"), false}};
    ASSERT_EQ(listed().size(), 4);
    for (const RowCase &c : rows) {
        EXPECT_EQ(listed()[c.row], c.number);
        EXPECT_EQ(model.index(c.row, paidColumn).data().toString(), c.paid) << c.row;
        EXPECT_EQ(model.index(c.row, statusColumn).data().toString(), c.status) << c.row;
        EXPECT_EQ(model.index(c.row, 0).data(Qt::ForegroundRole).value<QColor>() == Qt::red, c.red)
            << c.row;
    }
}

struct FilterCase {
    int filter;
    QStringList listed;
    QDate first; // the period "Очистить" sets
    QDate last;
};

class RegisterPaymentFilter : public RegisterPayments,
                              public ::testing::WithParamInterface<FilterCase> {};

TEST_P(RegisterPaymentFilter, NarrowsTheViewTheQueryTheSortAndThePeriod)
{
    const FilterCase &c = GetParam();
    storeOneOfEachStatus();
    openWindow();
    chooseFilter(c.filter);
    EXPECT_EQ(listed(), c.listed) << "the view";

    child<QDateEdit>(*window, "date1")->setDate(QDate(2026, 1, 1));
    child<QDateEdit>(*window, "date2")->setDate(QDate(2026, 12, 31));
    click(*window, "btnZapros");
    EXPECT_EQ(listed(), c.listed) << "the query";

    clickTitle(documentsGrid(),
               documentsGrid().datasetModel()->columnOfField(QStringLiteral("NUMSCH")));
    EXPECT_EQ(listed(), c.listed) << "the sort";

    click(*window, "btnClear");
    EXPECT_EQ(listed(), c.listed) << "cleared";
    EXPECT_EQ(child<QDateEdit>(*window, "date1")->date(), c.first);
    EXPECT_EQ(child<QDateEdit>(*window, "date2")->date(), c.last);
}

INSTANTIATE_TEST_SUITE_P(
    EachFilter, RegisterPaymentFilter,
    ::testing::Values(FilterCase{0,
                                 {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                  QStringLiteral("4")},
                                 QDate(2026, 3, 2),
                                 QDate(2026, 3, 17)},
                      FilterCase{1,
                                 {QStringLiteral("2"), QStringLiteral("3")},
                                 QDate(2026, 3, 5),
                                 QDate(2026, 3, 11)},
                      FilterCase{2, {QStringLiteral("3")}, QDate(2026, 3, 11), QDate(2026, 3, 11)}),
    [](const auto &info) { return "Filter" + std::to_string(info.param.filter); });

// The payments window of invoice 3 (44 500,00), its entry window answered by the test.
class PaymentsWindow : public RegisterPayments {
protected:
    void openPayments()
    {
        payments = std::make_unique<TfrmOplaty>(dm, prompts, kodOf(3));
        payments->setDialogRunner([this](QDialog &entry) {
            EXPECT_FALSE(entries.empty()) << "an entry window nobody expected";
            if (entries.empty())
                return int(QDialog::Rejected);
            const auto fill = entries.front();
            entries.pop_front();
            return fill(entry);
        });
        payments->show();
    }

    // The next entry window is filled with these and "OK" is pressed.
    void expectEntry(QDate date, const QString &amount, int kind = 0, const QString &note = {})
    {
        entries.push_back([=](QDialog &entry) {
            child<QDateEdit>(entry, "dateOpl")->setDate(date);
            child<QLineEdit>(entry, "edSumma")->setText(amount);
            child<QComboBox>(entry, "cbVid")->setCurrentIndex(kind);
            child<QLineEdit>(entry, "edPrim")->setText(note);
            click(entry, "btnOk");
            return entry.result();
        });
    }

    QStringList row(int r)
    {
        QStringList texts;
        for (int c = 0; c < grid().columnCount(); ++c)
            texts << (grid().item(r, c) ? grid().item(r, c)->text() : QString());
        return texts;
    }
    QTableWidget &grid() { return *child<QTableWidget>(*payments, "dbgrOplaty"); }
    QString labelText(const char *name) { return child<QLabel>(*payments, name)->text(); }

    void TearDown() override
    {
        EXPECT_TRUE(entries.empty()) << "an entry window expected never came";
        payments.reset();
        RegisterPayments::TearDown();
    }

    std::unique_ptr<TfrmOplaty> payments;
    std::deque<std::function<int(QDialog &)>> entries;
};

TEST_F(PaymentsWindow, AddsChangesAndDeletesEachCommittedAtOnce)
{
    openPayments();
    EXPECT_EQ(grid().rowCount(), 0);
    EXPECT_EQ(labelText("lblSumma"), QStringLiteral("Сумма документа: 44\u00A0500,00"));
    EXPECT_EQ(labelText("lblOplacheno"), QStringLiteral("Оплачено: 0,00"));
    EXPECT_EQ(labelText("lblOstatok"), QStringLiteral("Осталось оплатить: 44\u00A0500,00"));

    expectEntry(QDate(2026, 4, 1), QStringLiteral("10 000,50"), 1, QStringLiteral("аванс"));
    click(*payments, "btnAdd");
    ASSERT_EQ(grid().rowCount(), 1);
    EXPECT_EQ(row(0), (QStringList{QStringLiteral("01.04.2026"), QStringLiteral("10\u00A0000,50"),
                                   QStringLiteral("касса"), QStringLiteral("аванс")}));
    EXPECT_EQ(labelText("lblOstatok"), QStringLiteral("Осталось оплатить: 34\u00A0499,50"));
    ASSERT_EQ(committedPayments(3).size(), 1u);
    EXPECT_DOUBLE_EQ(committedPayments(3)[0].amount, 10000.5);

    grid().selectRow(0);
    expectEntry(QDate(2026, 4, 2), QStringLiteral("20000.25"), 0, QStringLiteral("аванс"));
    click(*payments, "btnEdit");
    EXPECT_EQ(row(0), (QStringList{QStringLiteral("02.04.2026"), QStringLiteral("20\u00A0000,25"),
                                   QStringLiteral("банк"), QStringLiteral("аванс")}));
    ASSERT_EQ(committedPayments(3).size(), 1u);
    EXPECT_DOUBLE_EQ(committedPayments(3)[0].amount, 20000.25);
    EXPECT_EQ(committedPayments(3)[0].kind, PaymentKind::Bank);

    const QString question = QStringLiteral("Удалить оплату 20\u00A0000,25 от 02.04.2026?");
    prompts.expectConfirm(question, false);
    click(*payments, "btnDel");
    EXPECT_EQ(committedPayments(3).size(), 1u) << "kept on no";
    prompts.expectConfirm(question, true);
    click(*payments, "btnDel");
    EXPECT_EQ(grid().rowCount(), 0);
    EXPECT_TRUE(committedPayments(3).empty());
    EXPECT_EQ(labelText("lblOplacheno"), QStringLiteral("Оплачено: 0,00"));
}

class PaymentsWindowBadAmount : public PaymentsWindow,
                                public ::testing::WithParamInterface<const char *> {};

TEST_P(PaymentsWindowBadAmount, IsToldAndStoresNothing)
{
    openPayments();
    entries.push_back([](QDialog &entry) {
        child<QLineEdit>(entry, "edSumma")->setText(QString::fromUtf8(GetParam()));
        click(entry, "btnOk");
        EXPECT_EQ(entry.result(), QDialog::Rejected) << "the entry window stays open";
        EXPECT_EQ(child<QLineEdit>(entry, "edSumma")->text(), QString::fromUtf8(GetParam()))
            << "what was typed is kept";
        click(entry, "btnCancel");
        return entry.result();
    });
    prompts.expectInform(QString::fromUtf8(PaymentDialog::kBadAmount));
    click(*payments, "btnAdd");
    EXPECT_TRUE(committedPayments(3).empty());
}

INSTANTIATE_TEST_SUITE_P(Inputs, PaymentsWindowBadAmount,
                         ::testing::Values("", "сто", "0", "-5", "0,004", "1,2,3", "12a"));

class PaymentsWindowOverpay : public PaymentsWindow, public ::testing::WithParamInterface<bool> {};

TEST_P(PaymentsWindowOverpay, AsksFirstAndStoresOnlyOnYes)
{
    const bool yes = GetParam();
    openPayments();
    expectEntry(QDate(2026, 4, 1), QStringLiteral("50000"));
    prompts.expectConfirm(
        QStringLiteral("С этой оплатой оплачено 50\u00A0000,00 при сумме документа "
                       "44\u00A0500,00: переплата 5\u00A0500,00. Записать оплату?"),
        yes);
    click(*payments, "btnAdd");
    EXPECT_EQ(committedPayments(3).size(), yes ? 1u : 0u);
    EXPECT_EQ(grid().rowCount(), yes ? 1 : 0);
    if (yes) {
        EXPECT_EQ(labelText("lblOstatok"), QStringLiteral("Переплата: 5\u00A0500,00"));
    }
}

INSTANTIATE_TEST_SUITE_P(YesAndNo, PaymentsWindowOverpay, ::testing::Bool());

TEST_F(PaymentsWindow, PaidInFullAddsTheRemainderTodayByBank)
{
    pay(3, 4500);
    openPayments();
    click(*payments, "btnPolnostyu");
    const std::vector<Payment> stored = committedPayments(3);
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_DOUBLE_EQ(stored[1].amount, 40000);
    EXPECT_EQ(stored[1].date, QDate::currentDate());
    EXPECT_EQ(stored[1].kind, PaymentKind::Bank);
    EXPECT_EQ(labelText("lblOstatok"), QStringLiteral("Осталось оплатить: 0,00"));
    EXPECT_FALSE(child<QPushButton>(*payments, "btnPolnostyu")->isEnabled());
}

// "Оплаты..." opens the window on the current document; closed, the register shows its status
// as stored and stays on it.
TEST_F(RegisterPayments, PaymentsCommandOpensTheCurrentDocumentsPaymentsAndRefreshesItsRow)
{
    openWindow();
    clickRow(documentsGrid(), 2);
    QString opened;
    window->setDialogRunner([&](QDialog &dialog) {
        opened = dialog.objectName();
        click(dialog, "btnPolnostyu");
        return int(QDialog::Accepted);
    });
    click(*window, "btnOplaty");
    EXPECT_EQ(opened, QStringLiteral("frmOplaty"));
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("NUMSCH")), QStringLiteral("3"));
    EXPECT_EQ(dm.DSetDocs->displayText(QStringLiteral("STATUSTEXT")), QStringLiteral("оплачен"));
    EXPECT_EQ(dm.DSetDocs->displayText(QStringLiteral("OPLACHENO")), QStringLiteral("44500"));

    // The same from the register's own menu.
    opened.clear();
    clickRow(documentsGrid(), 1);
    child<QAction>(*window, "actOplaty")->trigger();
    EXPECT_EQ(opened, QStringLiteral("frmOplaty"));
    EXPECT_EQ(dm.DSetDocs->displayText(QStringLiteral("STATUSTEXT")), QStringLiteral("оплачен"));
}

class CashReceiptAfterPrinting : public RegisterPayments,
                                 public ::testing::WithParamInterface<bool> {};

TEST_P(CashReceiptAfterPrinting, AsksOnceAndOnYesCommitsTheCashPayment)
{
    const bool yes = GetParam();
    openWindow([](const zreport::TfrxReport &, const zreport::DataSources &) {});
    prompts.expectConfirm(demoCashReceiptQuestion(), yes);
    click(*window, "btnPrixKas");
    const std::vector<Payment> stored = committedPayments(1);
    ASSERT_EQ(stored.size(), yes ? 1u : 0u);
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("NUMSCH")), QStringLiteral("1"));
    EXPECT_EQ(dm.DSetDocs->displayText(QStringLiteral("STATUSTEXT")),
              yes ? QStringLiteral("оплачен") : QStringLiteral("не оплачен"));
    if (yes) {
        EXPECT_EQ(stored[0].kind, PaymentKind::Cash);
    }
}

INSTANTIATE_TEST_SUITE_P(YesAndNo, CashReceiptAfterPrinting, ::testing::Bool());

} // namespace
