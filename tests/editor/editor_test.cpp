#include "app/reference_book_pickers.h"
#include "app/tfrm_main.h"
#include "core/document_copy.h"
#include "core/work_session.h"
#include "data/date_time.h"
#include "data/fb_statement.h"
#include "data/mail_sendings.h"
#include "data/payments.h"
#include "data/tdm.h"
#include "editor/document_editor.h"
#include "editor/tfrm_schet.h"
#include "ui/application_title.h"
#include "ui/db_grid.h"
#include "window_driver.h"
#include "window_test.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QLocale>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

const QString kDeleteQuestion = QStringLiteral("Вы действительно хотите удалить выдленную запись?");
const QString kEmptyTable = QStringLiteral("Таблица пуста. Невозможно удалить!");

using Values = std::vector<std::pair<const char *, QVariant>>;

QString field(const char *name)
{
    return QString::fromLatin1(name);
}

// Clicks a button of the editor, push button or tool button alike.
void press(const QWidget &window, const char *name)
{
    auto *button = child<QAbstractButton>(window, name);
    ASSERT_TRUE(button);
    ASSERT_TRUE(button->isEnabled()) << name << " is disabled";
    button->click();
}

// The editor over a small database of its own: the business's requisites and whatever a
// test stores before the editor opens. The reference books are stood in for by pickers
// that write into the current records what the real windows write.
class Editor : public WindowTest {
protected:
    Editor() : WindowTest(TempDatabase::Empty) {}

    void SetUp() override
    {
        WindowTest::SetUp();
        openData();
        pickers.goods = [this](QWidget *, GoodsPick mode) {
            goodsModes.push_back(mode);
            if (mode == GoodsPick::AddLine)
                addLine(QStringLiteral("Бумага офисная А4"), 2, 1500);
            else
                replaceLineItem(QStringLiteral("Картридж"), 9000);
            return true;
        };
        pickers.client = [this](QWidget *, ClientPick mode) {
            pickClient(mode);
            return true;
        };
    }
    void openData()
    {
        for (Dataset *dataset : dm.mainDatasets())
            dataset->open();
    }

    qint64 store(Dataset *dataset, const Values &values)
    {
        dataset->append();
        for (const auto &[name, value] : values)
            dataset->setValue(field(name), value);
        dataset->post();
        return dataset->asInteger(QStringLiteral("KOD"));
    }
    void storeRequisites(QVariant startNumber)
    {
        store(dm.DSetRekvizity, {{"NAMEORG", QStringLiteral("ТОО «Тест»")},
                                 {"NUMSTART", startNumber},
                                 {"STNDS", 12.0},
                                 {"VARRASCHET", 0}});
    }
    // Commits what was stored and reopens the data, as the register leaves it.
    void commit()
    {
        dm.TsnRW.commit();
        dm.closeAllDatasets();
        dm.TsnRW.start();
        openData();
    }

    // What the goods list does for "Добавить": a new line numbered after the largest one,
    // posted at once, then its quantity.
    void addLine(const QString &name, double quantity, double price)
    {
        Dataset &numbers = *dm.DSetNumDetail;
        numbers.close();
        numbers.open();
        Dataset &lines = *dm.DSetDetail;
        lines.insert();
        lines.setValue(QStringLiteral("NAME"), name);
        lines.setValue(QStringLiteral("EDIZM"), QStringLiteral("шт"));
        lines.setValue(QStringLiteral("CENASHT"), price);
        lines.setValue(QStringLiteral("STNDS"), dm.DSetRekvizity->value(QStringLiteral("STNDS")));
        lines.setValue(QStringLiteral("NUM"), numbers.asInteger(QStringLiteral("NUM")) + 1);
        numbers.close();
        lines.post();
        lines.edit();
        lines.setValue(QStringLiteral("KOLVO"), quantity);
        lines.post();
    }
    // What the goods list does for "Изменить".
    void replaceLineItem(const QString &name, double price)
    {
        Dataset &lines = *dm.DSetDetail;
        lines.edit();
        lines.setValue(QStringLiteral("NAME"), name);
        lines.setValue(QStringLiteral("CENASHT"), price);
        lines.post();
    }
    // What the client list writes into the document.
    void pickClient(ClientPick mode)
    {
        Dataset &docs = *dm.DSetDocs;
        docs.edit();
        if (mode == ClientPick::AttorneyHolder) {
            docs.setValue(QStringLiteral("KOMU"), QStringLiteral("Иванов И.И."));
            docs.setValue(QStringLiteral("PASPVYD"), QStringLiteral("уд. № 012345678$|$") +
                                                         docs.asString(QStringLiteral("KBK")));
        } else {
            docs.setValue(QStringLiteral("NAMEORG"), QStringLiteral("ТОО «Покупатель»"));
            docs.setValue(QStringLiteral("BINIIN"), QStringLiteral("990140001234"));
        }
    }

    // Opens the editor as the register does: the window shown, the user's actions (which
    // close it), then the document posted or cancelled by the result.
    int runEditor(EditorMode mode, const std::function<void(TfrmSchet &)> &user)
    {
        const int result =
            openDocumentEditor(dm, prompts, pickers, mode, nullptr, [&](QDialog &dialog) {
                auto &editor = static_cast<TfrmSchet &>(dialog);
                editor.show();
                user(editor);
                EXPECT_FALSE(editor.isVisible()) << "the editor is still open";
                return editor.result();
            });
        if (result == QDialog::Accepted) {
            if (mode != EditorMode::Current || dm.DSetDocs->isEditing())
                dm.DSetDocs->post();
        } else {
            dm.DSetDocs->cancel();
        }
        return result;
    }

    qint64 count(const QString &sql) { return FbStatement::scalar(dm.TsnRW, sql).toLongLong(); }
    qint64 storedLines(qint64 document)
    {
        return count(
            QStringLiteral("select count(*) from DETAILDOCS where KODDOCS=%1").arg(document));
    }
    qint64 storedDocuments(qint64 document)
    {
        return count(QStringLiteral("select count(*) from DOCS where KOD=%1").arg(document));
    }
    QVariant stored(const char *column, qint64 document)
    {
        return FbStatement::scalar(
            dm.TsnRW,
            QStringLiteral("select %1 from DOCS where KOD=%2").arg(field(column)).arg(document));
    }
    qint64 currentDocument() const { return dm.DSetDocs->asInteger(QStringLiteral("KOD")); }

    DocumentPickers pickers;
    std::vector<GoodsPick> goodsModes;
};

// ---- numbers ----

struct NumberCase {
    const char *what;
    std::optional<int> startNumber;       // none: no requisites row at all
    std::vector<QVariant> invoiceNumbers; // of the stored documents; null: none
    EditorMode mode;
    int presses;
    QVariant proposal;
};

void PrintTo(const NumberCase &c, std::ostream *os)
{
    *os << c.what;
}

class EditorNumbers : public Editor, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(EditorNumbers, ProposeTheLargestStoredNumberPlusOneOrTheStartNumber)
{
    const NumberCase &c = GetParam();
    if (c.startNumber)
        storeRequisites(*c.startNumber);
    for (const QVariant &number : c.invoiceNumbers)
        store(dm.DSetDocs, {{"NUMSCH", number}, {"KODARCHIV", 0}});
    commit();
    dm.DSetDocs->last(); // ordered by number: the largest

    runEditor(c.mode, [&](TfrmSchet &editor) {
        for (int i = 0; i < c.presses; ++i)
            press(editor, "btnNumSch");
        EXPECT_EQ(dm.DSetDocs->value(QStringLiteral("NUMSCH")), c.proposal);
        EXPECT_EQ(child<QLineEdit>(editor, "dbNUMSCH_0")->text(), c.proposal.toString());
        press(editor, "btnCancel");
    });
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditorNumbers,
    ::testing::Values(
        NumberCase{"no document stored: the start number", 7, {}, EditorMode::New, 1, 7},
        NumberCase{"no requisites either: 1", std::nullopt, {}, EditorMode::New, 1, 1},
        NumberCase{"a start number of 0 is kept: 0", 0, {}, EditorMode::New, 1, 0},
        NumberCase{"5, 12 and an unnumbered one, pressed twice: 13",
                   1,
                   {5, QVariant(), 12},
                   EditorMode::New,
                   2,
                   13},
        NumberCase{"only 0 stored: the start number", 4, {0}, EditorMode::New, 1, 4},
        NumberCase{"editing the document that holds the largest: it counts",
                   1,
                   {5, 12},
                   EditorMode::Current,
                   1,
                   13},
        NumberCase{"a copy counts too", 1, {5, 12}, EditorMode::Copy, 1, 13}));

TEST_F(Editor, EachNumberButtonProposesTheNextNumberOfItsOwnForm)
{
    storeRequisites(1);
    const char *const columns[] = {"NUMSCH",  "NUMSCHF", "NUMACT", "NUMNAKL",
                                   "NUMPRIX", "NUMDOV",  "NUMPLAT"};
    Values numbers{{"KODARCHIV", 1}}; // an archived document counts as well
    for (int i = 0; i < 7; ++i)
        numbers.emplace_back(columns[i], 10 * (i + 1));
    store(dm.DSetDocs, numbers);
    commit();

    runEditor(EditorMode::New, [&](TfrmSchet &editor) {
        for (const char *button : {"btnNumSch", "btnNumSchF", "btnNumAct", "btnNumNakl",
                                   "btnNumPrix", "btnNumDov", "btnNumPlat"}) {
            auto *b = child<QToolButton>(editor, button);
            EXPECT_EQ(b->toolTip(), QStringLiteral("Получить номер автоматически"));
            b->click();
        }
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(dm.DSetDocs->asInteger(field(columns[i])), 10 * (i + 1) + 1) << columns[i];
        press(editor, "btnCancel");
    });
}

TEST_F(Editor, BadInputIsRefusedWithAMessageAndTheWindowKeepsTheDocument)
{
    storeRequisites(1);
    store(dm.DSetDocs, {{"NUMSCH", 2147483647},
                        {"NUMSCHF", 3},
                        {"NAMEORG", QStringLiteral("ТОО «Прежнее»")},
                        {"KODARCHIV", 0}});
    commit();
    const QString refusal = QStringLiteral("'%1' не является допустимым значением поля 'NUMSCH'");

    runEditor(EditorMode::Current, [&](TfrmSchet &editor) {
        prompts.expectError(refusal.arg(QStringLiteral("2147483648")), applicationTitle());
        press(editor, "btnNumSch");
        EXPECT_EQ(dm.DSetDocs->asInteger(QStringLiteral("NUMSCH")), 2147483647);

        editor.findChild<QTabWidget *>(QStringLiteral("pgCtrl"))->setCurrentIndex(1);
        typeInto(editor, "dbNUMSCHF_1", QStringLiteral("99999999999"));
        prompts.expectError(
            QStringLiteral("Значение 99999999999 поля «№ документа» вне допустимого "
                           "диапазона: допустимы целые числа от -2147483648 до "
                           "2147483647."),
            applicationTitle());
        press(editor, "btnOk");
        EXPECT_TRUE(editor.isVisible()) << "the window stays open to put it right";
        EXPECT_EQ(dm.DSetDocs->asInteger(QStringLiteral("NUMSCHF")), 3);
        typeInto(editor, "dbNUMSCHF_1", QStringLiteral("4"));

        typeInto(editor, "dbNAMEORG_1", QStringLiteral("ТОО 日本"));
        prompts.expectError(QStringLiteral("Текст поля «Покупатель» содержит символы, которые "
                                           "нельзя сохранить в базе данных: 日本"),
                            applicationTitle());
        press(editor, "btnOk");
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(stored("NAMEORG", currentDocument()).toString(), QStringLiteral("ТОО «Прежнее»"));
        typeInto(editor, "dbNAMEORG_1", QStringLiteral("ТОО «Новое»"));
        press(editor, "btnOk");
    });
    EXPECT_EQ(stored("NUMSCHF", currentDocument()).toInt(), 4);
    EXPECT_EQ(stored("NAMEORG", currentDocument()).toString(), QStringLiteral("ТОО «Новое»"));
}

// ---- header ----

TEST_F(Editor, PowerOfAttorneyDateAndValueDateAreOneAndDatesAreStoredAtMidnight)
{
    storeRequisites(1);
    commit();
    qint64 document = 0;
    runEditor(EditorMode::New, [&](TfrmSchet &editor) {
        document = currentDocument();
        auto *power = child<QDateEdit>(editor, "dateDover");
        auto *value = child<QDateEdit>(editor, "datevalut_dov");
        power->setDate(QDate(2026, 3, 1));
        EXPECT_EQ(value->date(), QDate(2026, 3, 1));
        value->setDate(QDate(2026, 3, 5));
        EXPECT_EQ(power->date(), QDate(2026, 3, 5));
        child<QDateEdit>(editor, "dateSchet")->setDate(QDate(2026, 2, 27));
        press(editor, "btnOk");
    });
    EXPECT_EQ(stored("DATADOV", document).toDateTime(), datetime::make(QDate(2026, 3, 5)));
    EXPECT_EQ(stored("DATASCH", document).toDateTime(), datetime::make(QDate(2026, 2, 27)));
    EXPECT_EQ(stored("DATAPLAT", document).toDateTime(), datetime::today());
}

// "Оплатить до:" of the invoice page: the invoice date plus the requisites' term while it
// follows, what the user set once changed, empty when unticked; stored with the document.
struct DueDateCase {
    const char *what;
    EditorMode mode;
    std::optional<int> termDays;              // none: the requisites' default
    std::optional<QDate> storedDue;           // of the document before the editor opens
    std::function<void(TfrmSchet &)> user;    // after the invoice date was set to kInvoiceDate
    std::optional<QDate> shownAtOpen, stored; // none: the box unticked / nothing stored
};

const QDate kInvoiceDate(2026, 2, 27);

void PrintTo(const DueDateCase &c, std::ostream *os)
{
    *os << c.what;
}

class EditorDueDate : public Editor, public ::testing::WithParamInterface<DueDateCase> {};

TEST_P(EditorDueDate, FollowsTheInvoiceDateUntilChangedAndIsStoredWithTheDocument)
{
    const DueDateCase &c = GetParam();
    storeRequisites(1);
    if (c.termDays)
        payments::setTermDays(dm.TsnRW, *c.termDays);
    store(dm.DSetDocs, {{"NAMEORG", QStringLiteral("ТОО «Источник»")},
                        {"KODARCHIV", 0},
                        {"DATASCH", datetime::make(QDate(2026, 1, 5))}});
    payments::setDueDate(dm.TsnRW, int(currentDocument()), c.storedDue);
    commit();
    if (c.mode == EditorMode::Copy)
        copyCurrentDocument(dm);

    qint64 document = 0;
    runEditor(c.mode, [&](TfrmSchet &editor) {
        document = currentDocument();
        auto *due = child<QDateEdit>(editor, "dtpOplatitDo");
        auto *set = child<QCheckBox>(editor, "chkOplatitDo");
        EXPECT_EQ(set->isChecked(), c.shownAtOpen.has_value());
        if (c.shownAtOpen) {
            EXPECT_EQ(due->date(), *c.shownAtOpen);
        }
        child<QDateEdit>(editor, "dateSchet")->setDate(kInvoiceDate);
        if (c.user)
            c.user(editor);
        press(editor, "btnOk");
    });
    EXPECT_EQ(payments::dueDate(dm.TsnRW, int(document)), c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditorDueDate,
    ::testing::Values(
        DueDateCase{"new document follows the invoice date by ten days",
                    EditorMode::New,
                    {},
                    {},
                    {},
                    datetime::today().date().addDays(10),
                    kInvoiceDate.addDays(10)},
        DueDateCase{"the term of the requisites",
                    EditorMode::New,
                    30,
                    {},
                    {},
                    datetime::today().date().addDays(30),
                    kInvoiceDate.addDays(30)},
        DueDateCase{"a date the user set stays when the invoice date changes after it",
                    EditorMode::New,
                    {},
                    {},
                    [](TfrmSchet &editor) {
                        child<QDateEdit>(editor, "dtpOplatitDo")->setDate(QDate(2026, 4, 1));
                        child<QDateEdit>(editor, "dateSchet")->setDate(QDate(2026, 3, 2));
                    },
                    datetime::today().date().addDays(10),
                    QDate(2026, 4, 1)},
        DueDateCase{"unticked is no due date",
                    EditorMode::New,
                    {},
                    {},
                    [](TfrmSchet &editor) { child<QCheckBox>(editor, "chkOplatitDo")->click(); },
                    datetime::today().date().addDays(10),
                    {}},
        DueDateCase{"a copy (dated today) follows its invoice date as a new one",
                    EditorMode::Copy,
                    {},
                    QDate(2026, 1, 20),
                    {},
                    datetime::today().date().addDays(10),
                    kInvoiceDate.addDays(10)},
        DueDateCase{"a stored document shows its date, which stays",
                    EditorMode::Current,
                    {},
                    QDate(2026, 1, 20),
                    {},
                    QDate(2026, 1, 20),
                    QDate(2026, 1, 20)},
        DueDateCase{
            "a stored document without one shows none", EditorMode::Current, {}, {}, {}, {}, {}}),
    [](const auto &info) { return "Case" + std::to_string(info.index); });

TEST_F(Editor, HolderDocumentAndBudgetCodeAreTheTwoHalvesOfOneColumn)
{
    storeRequisites(1);
    const qint64 document =
        store(dm.DSetDocs, {{"PASPVYD", QStringLiteral("паспорт N 0123456 выдан МВД РК$|$4321")},
                            {"KODARCHIV", 0}});
    commit();

    runEditor(EditorMode::Current, [&](TfrmSchet &editor) {
        EXPECT_EQ(child<QLineEdit>(editor, "edDocum")->text(),
                  QStringLiteral("паспорт N 0123456 выдан МВД РК"));
        EXPECT_EQ(child<QLineEdit>(editor, "edKBK")->text(), QStringLiteral("4321"));
        // The code typed on the payment order's page is stored though the page is never left.
        editor.findChild<QTabWidget *>(QStringLiteral("pgCtrl"))->setCurrentIndex(6);
        typeInto(editor, "edKBK", QStringLiteral("105102"));
        press(editor, "btnOk");
    });
    EXPECT_EQ(stored("PASPVYD", document).toString(),
              QStringLiteral("паспорт N 0123456 выдан МВД РК$|$105102"));

    runEditor(EditorMode::Current, [&](TfrmSchet &editor) {
        editor.findChild<QTabWidget *>(QStringLiteral("pgCtrl"))->setCurrentIndex(5);
        press(editor, "btnKomu");
        EXPECT_EQ(child<QLineEdit>(editor, "edDocum")->text(), QStringLiteral("уд. № 012345678"));
        press(editor, "btnOk");
    });
    EXPECT_EQ(stored("PASPVYD", document).toString(), QStringLiteral("уд. № 012345678$|$105102"));
    EXPECT_EQ(stored("KOMU", document).toString(), QStringLiteral("Иванов И.И."));
}

// Where the document went by e-mail, the earliest first, beside the invoice's page; a new
// document has been nowhere.
TEST_F(Editor, ListsTheDocumentsSendingsByEmail)
{
    storeRequisites(1);
    const int document = int(store(dm.DSetDocs, {{"KODARCHIV", 0}}));
    mail_sendings::record(
        dm.TsnRW, {document,
                   QDateTime(QDate(2026, 3, 5), QTime(9, 30)),
                   QStringLiteral("buh@alfa.kz"),
                   {QStringLiteral("Счет на оплату"), QStringLiteral("Акт сверки взаиморасчетов")},
                   QStringLiteral("anna")});
    mail_sendings::record(dm.TsnRW, {document,
                                     QDateTime(QDate(2026, 3, 2), QTime(17, 5)),
                                     QStringLiteral("zakup@alfa.kz"),
                                     {QStringLiteral("Счет на оплату")},
                                     QStringLiteral("boris")});
    commit();

    const auto rows = [](TfrmSchet &editor) {
        std::vector<QStringList> texts;
        auto *list = child<QTreeWidget>(editor, "lvSendings");
        for (int r = 0; list && r < list->topLevelItemCount(); ++r) {
            QStringList row;
            for (int c = 0; c < list->columnCount(); ++c)
                row << list->topLevelItem(r)->text(c);
            texts.push_back(row);
        }
        return texts;
    };
    runEditor(EditorMode::Current, [&](TfrmSchet &editor) {
        EXPECT_EQ(rows(editor),
                  (std::vector<QStringList>{
                      {"02.03.2026 17:05", "zakup@alfa.kz", "Счет на оплату", "boris"},
                      {"05.03.2026 09:30", "buh@alfa.kz",
                       "Счет на оплату, Акт сверки взаиморасчетов", "anna"}}));
        press(editor, "btnCancel");
    });
    runEditor(EditorMode::New, [&](TfrmSchet &editor) {
        EXPECT_TRUE(rows(editor).empty());
        press(editor, "btnCancel");
    });
}

// The reference book a pick button opens, and what for.
struct PickCase {
    const char *button;
    QString opened;
};

TEST_F(Editor, PickButtonsOpenTheirReferenceBookInItsMode)
{
    storeRequisites(1);
    commit();
    std::vector<QString> seen;
    pickers.client = [&](QWidget *, ClientPick mode) {
        seen.push_back(mode == ClientPick::DocumentClient   ? QStringLiteral("client")
                       : mode == ClientPick::AttorneyHolder ? QStringLiteral("holder")
                                                            : QStringLiteral("other"));
        return false;
    };
    pickers.ground = [&](QWidget *) {
        seen.push_back(QStringLiteral("ground"));
        return false;
    };
    pickers.knp = [&](QWidget *) {
        seen.push_back(QStringLiteral("knp"));
        return false;
    };
    const PickCase cases[] = {
        {"btnOrg", "client"},        {"SpeedButton11", "client"}, {"SpeedButton14", "client"},
        {"SpeedButton8", "client"},  {"SpeedButton9", "client"},  {"SpeedButton1", "client"},
        {"SpeedButton3", "client"},  {"btnKomu", "holder"},       {"btnOsn", "ground"},
        {"SpeedButton12", "ground"}, {"SpeedButton15", "ground"}, {"SpeedButton7", "ground"},
        {"SpeedButton13", "ground"}, {"btnKNP", "knp"},           {"btnKNP2", "knp"},
    };
    runEditor(EditorMode::New, [&](TfrmSchet &editor) {
        for (const PickCase &c : cases) {
            seen.clear();
            auto *button = child<QToolButton>(editor, c.button);
            EXPECT_TRUE(button->toolTip().isEmpty()) << c.button;
            button->click();
            ASSERT_EQ(seen.size(), 1u) << c.button;
            EXPECT_EQ(seen[0], c.opened) << c.button;
        }
        press(editor, "btnCancel");
    });
}

TEST_F(Editor, VatColumnsOfTheLinesShowOnlyOnTheVatInvoicePage)
{
    storeRequisites(1);
    commit();
    const QString vatColumns[] = {QStringLiteral("CENASUMBEZNDS"), QStringLiteral("STNDS"),
                                  QStringLiteral("SUMNDS"), QStringLiteral("STAKCIZ"),
                                  QStringLiteral("SUMAKCIZ")};
    const auto shown = [&] {
        int visible = 0;
        for (const QString &name : vatColumns)
            visible += dm.DSetDetail->field(name).visible;
        return visible;
    };
    runEditor(EditorMode::New, [&](TfrmSchet &editor) {
        auto *grid = child<DbGrid>(editor, "DBGrid1");
        auto *pages = editor.findChild<QTabWidget *>(QStringLiteral("pgCtrl"));
        EXPECT_EQ(shown(), 0);
        const int narrow = grid->model()->columnCount();
        for (int page : {1, 2, 1, 6, 0, 1}) {
            pages->setCurrentIndex(page);
            EXPECT_EQ(shown(), page == 1 ? 5 : 0) << "page " << page;
            EXPECT_EQ(grid->model()->columnCount(), narrow + (page == 1 ? 5 : 0))
                << "page " << page;
        }
        press(editor, "btnCancel"); // from the VAT invoice's page
    });
    EXPECT_EQ(shown(), 0) << "hidden whenever the editor is closed";
}

// ---- lines ----

TEST_F(Editor, LinesKeepTheirNumbersWhenOneIsDeletedAndTheNextGetsTheLargestPlusOne)
{
    storeRequisites(1);
    commit();
    qint64 document = 0;
    // The numbers of the document's lines (a new line stands where it was inserted).
    const auto numbers = [&] {
        QStringList texts = columnTexts(*dm.DSetDetail, QStringLiteral("NUM"));
        std::sort(texts.begin(), texts.end());
        return texts;
    };
    runEditor(EditorMode::New, [&](TfrmSchet &editor) {
        document = currentDocument();
        Dataset &lines = *dm.DSetDetail;
        prompts.expectInform(kEmptyTable);
        press(editor, "btnDel");
        QTest::mouseDClick(child<DbGrid>(editor, "DBGrid1")->viewport(), Qt::LeftButton);
        press(editor, "btnAdd");
        press(editor, "btnAdd");
        EXPECT_EQ(numbers(), (QStringList{"1", "2", "3"}));

        lines.setCurrentIndex(int(columnTexts(lines, QStringLiteral("NUM")).indexOf("2")));
        prompts.expectConfirm(kDeleteQuestion, false);
        press(editor, "btnDel");
        prompts.expectConfirm(kDeleteQuestion, true);
        press(editor, "btnDel");
        EXPECT_EQ(numbers(), (QStringList{"1", "3"}));
        press(editor, "btnAdd");
        EXPECT_EQ(numbers(), (QStringList{"1", "3", "4"}));

        // On a list with lines, a double click replaces the current line's item.
        lines.setCurrentIndex(0);
        QTest::mouseDClick(child<DbGrid>(editor, "DBGrid1")->viewport(), Qt::LeftButton);
        EXPECT_EQ(lines.asString(QStringLiteral("NAME")), QStringLiteral("Картридж"));
        EXPECT_EQ(lines.asFloat(QStringLiteral("KOLVO")), 2.0);
        press(editor, "btnOk");
    });
    EXPECT_EQ(goodsModes,
              (std::vector<GoodsPick>{GoodsPick::AddLine, GoodsPick::AddLine, GoodsPick::AddLine,
                                      GoodsPick::AddLine, GoodsPick::ReplaceItem}));
    EXPECT_EQ(storedLines(document), 3);
}

// ---- cancelling ----

enum class Closing { Button, Escape, TitleBar };

struct CancelCase {
    const char *what;
    EditorMode mode;
    Closing closing;
};

void PrintTo(const CancelCase &c, std::ostream *os)
{
    *os << c.what;
}

class EditorCancel : public Editor, public ::testing::WithParamInterface<CancelCase> {};

// A cancelled new document or copy leaves nothing behind, however the window is closed.
TEST_P(EditorCancel, LeavesNoDocumentAndNoLineOfItBehind)
{
    const CancelCase &c = GetParam();
    storeRequisites(1);
    const qint64 source =
        store(dm.DSetDocs, {{"NAMEORG", QStringLiteral("ТОО «Источник»")}, {"KODARCHIV", 0}});
    for (int i = 0; i < 3; ++i)
        addLine(QStringLiteral("Строка"), 1, 100);
    commit();
    if (c.mode == EditorMode::Copy)
        copyCurrentDocument(dm);

    qint64 document = 0;
    const int result = runEditor(c.mode, [&](TfrmSchet &editor) {
        document = currentDocument();
        press(editor, "btnAdd");
        if (c.mode == EditorMode::New) {
            press(editor, "btnAdd");
            press(editor, "btnAdd");
        }
        ASSERT_EQ(storedLines(document), c.mode == EditorMode::New ? 3 : 4);
        switch (c.closing) {
        case Closing::Button:
            press(editor, "btnCancel");
            break;
        case Closing::Escape:
            QTest::keyClick(&editor, Qt::Key_Escape);
            break;
        case Closing::TitleBar:
            editor.close();
            break;
        }
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(storedLines(document), 0);
    EXPECT_EQ(storedDocuments(document), 0);
    EXPECT_EQ(storedLines(source), 3) << "the original keeps its lines";
    EXPECT_EQ(stored("NAMEORG", source).toString(), QStringLiteral("ТОО «Источник»"));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, EditorCancel,
    ::testing::Values(CancelCase{"new document, Отмена", EditorMode::New, Closing::Button},
                      CancelCase{"new document, Esc", EditorMode::New, Closing::Escape},
                      CancelCase{"new document, title bar", EditorMode::New, Closing::TitleBar},
                      CancelCase{"copy, Отмена", EditorMode::Copy, Closing::Button},
                      CancelCase{"copy, title bar", EditorMode::Copy, Closing::TitleBar}));

// A database that refuses to delete lines while its lock generator is 1.
class LockedLines : public Editor {
protected:
    void SetUp() override
    {
        {
            TDM ddl;
            ddl.DataModuleCreate(db.path());
            for (const char *sql :
                 {"CREATE GENERATOR LINES_LOCK", "CREATE EXCEPTION LINES_LOCKED 'lines are locked'",
                  "CREATE TRIGGER DETAILDOCS_LOCK FOR DETAILDOCS BEFORE DELETE AS BEGIN "
                  "IF (GEN_ID(LINES_LOCK, 0) = 1) THEN EXCEPTION LINES_LOCKED; END"})
                run(ddl.ZNDB, sql);
            ddl.DataModuleDestroy();
        }
        Editor::SetUp();
    }
    void lock(bool on)
    {
        run(dm.ZNDB, on ? "SET GENERATOR LINES_LOCK TO 1" : "SET GENERATOR LINES_LOCK TO 0");
    }
    static void run(FbConnection &connection, const char *sql)
    {
        FbTransaction transaction(connection);
        transaction.start();
        FbStatement statement(transaction);
        statement.prepare(QString::fromLatin1(sql));
        statement.execute();
        transaction.commit();
    }
};

TEST_F(LockedLines, ADatabaseErrorWhileCancellingIsShownAndKeepsTheWindowAndTheLines)
{
    storeRequisites(1);
    commit();
    qint64 document = 0;
    runEditor(EditorMode::New, [&](TfrmSchet &editor) {
        document = currentDocument();
        press(editor, "btnAdd");
        press(editor, "btnAdd");
        lock(true);
        prompts.expectError(QString(), applicationTitle());
        editor.close();
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(storedLines(document), 2);
        EXPECT_EQ(child<DbGrid>(editor, "DBGrid1")->model()->rowCount(), 2);

        lock(false);
        press(editor, "btnCancel");
    });
    EXPECT_EQ(storedLines(document), 0);
}

// ---- from the register ----

TEST_F(Editor, ANewInvoiceMadeFromTheRegisterWithTheReferenceBooksIsListedThere)
{
    storeRequisites(1);
    store(dm.DSetClients, {{"TIP", 0},
                           {"NAMEORG", QStringLiteral("ТОО «Покупатель»")},
                           {"BINIIN", QStringLiteral("990140001234")}});
    store(dm.DSetNomenkl, {{"TIP", 0},
                           {"NAME", QStringLiteral("Бумага офисная А4")},
                           {"EDIZM", QStringLiteral("пачка")},
                           {"CENA", 1500.0},
                           {"OSTATOK", 10.0}});
    commit();

    // The user, in every window that opens: the client and the product are the first of
    // their lists, and the quantity is 3.
    const DialogRunner user = [](QDialog &dialog) {
        dialog.show();
        const QString name = dialog.objectName();
        if (name == QLatin1String("frmSchet")) {
            press(dialog, "btnOrg");
            press(dialog, "btnNumSch");
            press(dialog, "btnAdd");
            press(dialog, "btnOk");
        } else if (name == QLatin1String("frmOrg") || name == QLatin1String("frmNomenkl")) {
            press(dialog, "btnClose");
        } else if (name == QLatin1String("frmKolvo")) {
            typeInto(dialog, "DBEdit1", QStringLiteral("3"));
            press(dialog, "Button1");
        } else {
            ADD_FAILURE() << "unexpected window " << name.toStdString();
        }
        return dialog.result();
    };
    WorkSession session(dm);
    TfrmMain window(session, prompts);
    window.show();
    window.setDocumentEditor([&](QWidget *parent, EditorMode mode) {
        return openDocumentEditor(dm, prompts, referenceBookPickers({dm, prompts, user, {}}), mode,
                                  parent, user);
    });
    click(window, "btnAdd");

    EXPECT_EQ(columnTexts(*dm.DSetDocs, QStringLiteral("NAMEORG")),
              QStringList{QStringLiteral("ТОО «Покупатель»")});
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("BINIIN")), QStringLiteral("990140001234"));
    EXPECT_EQ(dm.DSetDocs->asInteger(QStringLiteral("NUMSCH")), 1);
    EXPECT_EQ(dm.DSetDocs->asDateTime(QStringLiteral("DATASCH")), datetime::today());
    EXPECT_EQ(columnTexts(*dm.DSetDetail, QStringLiteral("NAME")),
              QStringList{QStringLiteral("Бумага офисная А4")});
    EXPECT_EQ(dm.DSetDetail->asFloat(QStringLiteral("KOLVO")), 3.0);
    EXPECT_EQ(dm.DSetDetail->asFloat(QStringLiteral("STREALIZ")), 4500.0);
    EXPECT_TRUE(child<QWidget>(window, "btnEdit")->isEnabled());

    // Committed: a second connection sees it.
    TDM other;
    other.DataModuleCreate(db.path());
    other.DSetDocs->open();
    EXPECT_EQ(other.DSetDocs->asString(QStringLiteral("NAMEORG")),
              QStringLiteral("ТОО «Покупатель»"));
    other.DataModuleDestroy();
}

} // namespace
