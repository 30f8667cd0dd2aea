// "Выписка банка": a statement listed with what each incoming operation pays, the unmatched
// decided in "Сопоставление", and "Загрузить", on the demo database (its Kaspi account
// KZ64722S000001234567; invoice 1, KOD 1, of ТОО «Степной Ветер» comes to 172,950.00).
#include "app/tfrm_sopostavlenie.h"
#include "app/tfrm_vypiska.h"
#include "core/work_session.h"
#include "data/fb_statement.h"
#include "data/payments.h"
#include "window_driver.h"
#include "window_test.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kCaption = QStringLiteral("Выписка банка");

QByteArray statementFor(const char *account)
{
    return QByteArray("1CClientBankExchange\nВерсияФормата=1.02\nСекцияРасчСчет\n"
                      "ДатаНачала=01.12.2026\nДатаКонца=05.12.2026\nРасчСчет=") +
           account +
           "\nНачальныйОстаток=0\nВсегоПоступило=173950\nВсегоСписано=0\n"
           "КонечныйОстаток=173950\nКонецРасчСчет\n"
           "СекцияДокумент=Платежное поручение\nНомерДокумента=418\nДатаДокумента=02.12.2026\n"
           "Сумма=172950.00\nПлательщикНаименование=ТОО «Степной Ветер»\n"
           "ПлательщикБИН_ИИН=150940023457\nПлательщикИИК=KZ12601A861000123456\n"
           "ПолучательИИК=" +
           account +
           "\nНазначениеПлатежа=Оплата по счету № 1 от 01.12.2026\nКонецДокумента\n"
           "СекцияДокумент=Платежное поручение\nНомерДокумента=419\nДатаДокумента=03.12.2026\n"
           "Сумма=1000\nПлательщикНаименование=ТОО «Степной Ветер»\n"
           "ПлательщикБИН_ИИН=150940023457\nПлательщикИИК=KZ12601A861000123456\n"
           "ПолучательИИК=" +
           account + "\nНазначениеПлатежа=предоплата\nКонецДокумента\nКонецФайла\n";
}

class Vypiska : public WindowTest {
protected:
    Vypiska() : WindowTest(TempDatabase::Demo) {}

    QString write(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("vypiska.txt"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }

    // Opens the statement through the window's file button; `thenExpect` lists the prompts
    // that follow the file window.
    void open(TfrmVypiska &window, const QByteArray &bytes,
              const std::function<void()> &thenExpect = {})
    {
        prompts.expectFile(kCaption, write(bytes));
        if (thenExpect)
            thenExpect();
        click(window, "btnFile");
    }

    QStringList column(TfrmVypiska &window, int column)
    {
        QStringList texts;
        auto *grid = child<QTableWidget>(window, "dbgrOperacii");
        for (int row = 0; row < grid->rowCount(); ++row)
            texts << grid->item(row, column)->text();
        return texts;
    }

    bool highlighted(TfrmVypiska &window, int row)
    {
        return child<QTableWidget>(window, "dbgrOperacii")->item(row, 0)->background().style() !=
               Qt::NoBrush;
    }

    int count(const QString &sql) { return FbStatement::scalar(dm.TsnRW, sql).toInt(); }

    WorkSession session{dm};

private:
    QTemporaryDir m_dir;
};

constexpr int kMatchColumn = 6;

TEST_F(Vypiska, ListsMatchesDecidesTheRestAndLoadsOnce)
{
    // "Сопоставление" of the second operation: the client's open documents are offered, and
    // 600 of its 1,000 goes to the first of them; the rest stays as an advance.
    std::vector<QString> offered;
    TfrmVypiska window(session, prompts, [&](QDialog &dialog) {
        auto *grid = child<QTableWidget>(dialog, "dbgrDocs");
        for (int row = 0; row < grid->rowCount(); ++row)
            offered.push_back(grid->item(row, 0)->text());
        // More than the operation's amount is refused, and the window stays.
        prompts.expectInform(QStringLiteral("Сумма по документам больше суммы операции"));
        grid->item(0, 3)->setText(QStringLiteral("1 500,00"));
        click(dialog, "btnOk");
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        grid->item(0, 3)->setText(QStringLiteral("600"));
        click(dialog, "btnOk");
        return dialog.result();
    });
    open(window, statementFor("KZ64722S000001234567"));

    EXPECT_EQ(column(window, kMatchColumn),
              (QStringList{QStringLiteral("счет № 1"), QStringLiteral("не сопоставлено")}));
    EXPECT_FALSE(highlighted(window, 0));
    EXPECT_TRUE(highlighted(window, 1));
    EXPECT_EQ(child<QLabel>(window, "lblVypiska")->text(),
              QStringLiteral("Период: 01.12.2026 – 05.12.2026. Счет: KZ64722S000001234567"));
    EXPECT_EQ(child<QLabel>(window, "lblItogi")->text(),
              QStringLiteral("Итоги выписки сходятся с ее документами"));

    child<QTableWidget>(window, "dbgrOperacii")->setCurrentCell(1, 0);
    click(window, "btnSopostavlenie");
    ASSERT_FALSE(offered.empty());
    const QString chosen = column(window, kMatchColumn)[1];
    EXPECT_EQ(chosen, QStringLiteral("счет № %1: 600,00").arg(offered.front()));
    EXPECT_FALSE(highlighted(window, 1));

    prompts.expectInform(
        QStringLiteral("Загружено операций: 2. Без сопоставления: 0. Были загружены раньше: 0."));
    click(window, "btnZagruzit");
    EXPECT_EQ(column(window, kMatchColumn),
              (QStringList{QStringLiteral("уже загружено"), QStringLiteral("уже загружено")}));
    EXPECT_FALSE(child<QPushButton>(window, "btnZagruzit")->isEnabled());
    EXPECT_DOUBLE_EQ(payments::paidAmount(dm.TsnRW, 1), 172950);
    EXPECT_EQ(count(QStringLiteral("select count(*) from PAYMENTS where AMOUNT = 600")), 1);
    EXPECT_EQ(count(QStringLiteral("select STATE from BANK_OPERATIONS where NUMBER = '419'")), 1);

    // Loaded again from the file: nothing is offered to load.
    open(window, statementFor("KZ64722S000001234567"));
    EXPECT_FALSE(child<QPushButton>(window, "btnZagruzit")->isEnabled());
}

TEST_F(Vypiska, AskedAboutAnAccountNotOurs)
{
    TfrmVypiska window(session, prompts, [](QDialog &) { return int(QDialog::Rejected); });
    const QString question = QStringLiteral("Счет KZ12722S000012345678 не найден в реквизитах. "
                                            "Загрузить все равно?");
    open(window, statementFor("KZ12722S000012345678"),
         [&] { prompts.expectConfirm(question, false); });
    EXPECT_EQ(child<QTableWidget>(window, "dbgrOperacii")->rowCount(), 0);

    open(window, statementFor("KZ12722S000012345678"),
         [&] { prompts.expectConfirm(question, true); });
    EXPECT_EQ(child<QTableWidget>(window, "dbgrOperacii")->rowCount(), 2);
}

TEST_F(Vypiska, AFaultyFileIsRefusedWithItsLine)
{
    TfrmVypiska window(session, prompts, [](QDialog &) { return int(QDialog::Rejected); });
    open(window, "\n\n\nДата;Сумма\n", [&] {
        prompts.expectError(QStringLiteral("Выписка не загружена: строка 4: это не выписка в "
                                           "формате 1CClientBankExchange"),
                            kCaption);
    });
    EXPECT_FALSE(child<QPushButton>(window, "btnZagruzit")->isEnabled());
}

TEST_F(Vypiska, IsInTheServiceMenu)
{
    QWidget parent;
    QMenu menu;
    addBankStatementCommand(menu, session, prompts, &parent);
    const QAction *action = menu.findChild<QAction *>(QStringLiteral("actVypiska"));
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QStringLiteral("Выписка банка..."));
}

} // namespace
