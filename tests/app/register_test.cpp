#include "data/date_time.h"
#include "data/fb_statement.h"
#include "main_window_test.h"
#include "refbooks/tfrm_org.h"
#include "ui/application_title.h"
#include "ui/db_grid.h"
#include "ui/radio_group.h"
#include "window_driver.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cctype>
#include <memory>

namespace {

const QString kDeleteQuestion = QStringLiteral("Вы действительно хотите удалить выдленную запись?");
const QString kCopyQuestion = QStringLiteral("Скопировать выделенную запись?");
const QString kArchiveQuestion =
    QStringLiteral("Вы уверены что хотите переместить выделенную запись в архив?");
const QString kRestoreQuestion =
    QStringLiteral("Вы уверены что хотите вернуть выделенную запись в текущие записи?");

// The document register over a database; the demo business unless a test says otherwise.
// Its current documents are numbers 1 to 4 (02.03, 05.03, 11.03 and 17.03.2026), the
// archived one is number 5 (20.02.2026).
class Register : public MainWindowTest {
protected:
    explicit Register(TempDatabase::Content content = TempDatabase::Demo) : MainWindowTest(content)
    {}

    // Stores one more document; done before the window opens.
    void addDocument(const QString &name, int number, QDate invoiceDate, int archive = 0)
    {
        Dataset &docs = *dm.DSetDocs;
        docs.open();
        docs.append();
        docs.setValue(QStringLiteral("NAMEORG"), name);
        docs.setValue(QStringLiteral("NUMSCH"), number);
        if (invoiceDate.isValid())
            docs.setValue(QStringLiteral("DATASCH"), datetime::make(invoiceDate));
        docs.setValue(QStringLiteral("KODARCHIV"), archive);
        docs.post();
        dm.TsnRW.commit();
        dm.closeAllDatasets();
    }

    QStringList listed() { return columnTexts(*dm.DSetDocs, QStringLiteral("NUMSCH")); }
    QString currentNumber() const { return dm.DSetDocs->displayText(QStringLiteral("NUMSCH")); }
    DbGrid &documentsGrid() { return *child<DbGrid>(*window, "dbgrSchets"); }
    RadioGroup &views() { return *child<RadioGroup>(*window, "rgrTipDocs"); }
    void chooseView(int index) { views().button(index)->click(); }
    bool shown(const char *name) { return !child<QWidget>(*window, name)->isHidden(); }

    void query(const QString &client, QDate from, QDate to)
    {
        typeInto(*window, "edOrg", client);
        child<QDateEdit>(*window, "date1")->setDate(from);
        child<QDateEdit>(*window, "date2")->setDate(to);
        click(*window, "btnZapros");
    }

    // An editor that records the mode it was opened in and closes with result.
    TfrmMain::DocumentEditor editorAnswering(int result, std::function<void()> work = {})
    {
        return [this, result, work](QWidget *, EditorMode mode) {
            editorModes.push_back(mode);
            if (work)
                work();
            return result;
        };
    }

    std::vector<EditorMode> editorModes;
};

class EmptyRegister : public Register {
protected:
    EmptyRegister() : Register(TempDatabase::Empty) {}
};

QStringList numbers(std::initializer_list<int> values)
{
    QStringList texts;
    for (int v : values)
        texts << QString::number(v);
    return texts;
}

TEST_F(Register, OpensOnTheCurrentDocumentsWithTheBusinessNameInTheCaption)
{
    openWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ТОО «Алтын Дала Трейд» Zarnik 1.2"));
    EXPECT_EQ(applicationTitle(), window->windowTitle());
    EXPECT_EQ(listed(), numbers({1, 2, 3, 4}));
    EXPECT_EQ(child<QDateEdit>(*window, "date1")->date(), QDate(2026, 3, 2));
    EXPECT_EQ(child<QDateEdit>(*window, "date2")->date(), QDate(2026, 3, 17));
    for (Dataset *dataset : dm.mainDatasets())
        EXPECT_TRUE(dataset->isActive()) << dataset->objectName().toStdString();
    EXPECT_FALSE(dm.DSetKOD->isActive());
    EXPECT_TRUE(dm.TsnRW.isActive());
    EXPECT_EQ(documentsGrid().model()->columnCount(), 17);
    EXPECT_EQ(documentsGrid().model()->headerData(7, Qt::Horizontal).toString(),
              QStringLiteral("Наименование компании"));
    EXPECT_EQ(documentsGrid().columnWidth(7), 200);
}

struct ViewCase {
    int view;
    QStringList listed;
    std::vector<const char *> shown;
    std::vector<const char *> hidden;
};

void PrintTo(const ViewCase &c, std::ostream *os)
{
    *os << "view " << c.view;
}

class RegisterViews : public Register, public ::testing::WithParamInterface<ViewCase> {};

TEST_P(RegisterViews, ListTheirDocumentsWithoutTheFiltersAndArrangeTheirCommands)
{
    const ViewCase &c = GetParam();
    openWindow();
    typeInto(*window, "edOrg", QStringLiteral("Нурланов"));
    child<QDateEdit>(*window, "date2")->setDate(QDate(2026, 3, 2));
    chooseView(c.view == 2 ? 1 : 2);
    chooseView(c.view);

    EXPECT_EQ(listed(), c.listed);
    EXPECT_EQ(child<QLineEdit>(*window, "edOrg")->text(), QStringLiteral("Нурланов"))
        << "the filters stay in their boxes";
    for (const char *name : c.shown)
        EXPECT_TRUE(shown(name)) << name;
    for (const char *name : c.hidden)
        EXPECT_FALSE(shown(name)) << name;
    if (c.view == 1) {
        EXPECT_EQ(child<QWidget>(*window, "btnVernut")->geometry(),
                  child<QWidget>(*window, "btnEdit")->geometry());
    }
}

INSTANTIATE_TEST_SUITE_P(EachView, RegisterViews,
                         ::testing::Values(ViewCase{0,
                                                    numbers({1, 2, 3, 4}),
                                                    {"btnAdd", "btnEdit", "btnUse", "btnDel",
                                                     "btnVArchiv", "btnOplaty"},
                                                    {"btnVernut"}},
                                           ViewCase{1,
                                                    numbers({5}),
                                                    {"btnVernut", "btnUse", "btnOplaty"},
                                                    {"btnAdd", "btnEdit", "btnDel", "btnVArchiv"}},
                                           ViewCase{2,
                                                    numbers({1, 2, 3, 4, 5}),
                                                    {"btnEdit", "btnUse", "btnDel", "btnOplaty"},
                                                    {"btnVernut", "btnAdd", "btnVArchiv"}}),
                         [](const auto &info) { return "View" + std::to_string(info.param.view); });

struct QueryCase {
    const char *what;
    int view;
    QString client;
    QDate from;
    QDate to;
    QStringList listed;
};

void PrintTo(const QueryCase &c, std::ostream *os)
{
    *os << c.what;
}

// Besides the demo documents: names with quotes, a percent sign and an underscore, and a
// document without an invoice date.
class RegisterQuery : public Register, public ::testing::WithParamInterface<QueryCase> {
protected:
    void SetUp() override
    {
        Register::SetUp();
        addDocument(QStringLiteral("ТОО 'Береке'"), 6, QDate(2026, 3, 12));
        addDocument(QStringLiteral("Скидка 100% ООО"), 7, QDate(2026, 3, 13));
        addDocument(QStringLiteral("Скидка 1000 ООО"), 8, QDate(2026, 3, 14));
        addDocument(QStringLiteral("ИП Иванов_Петров"), 9, QDate(2026, 3, 15));
        addDocument(QStringLiteral("ИП ИвановXПетров"), 10, QDate(2026, 3, 16));
        addDocument(QStringLiteral("Без даты"), 11, QDate());
        addDocument(QStringLiteral("ТОО «Құрылыс-Өнім»"), 12, QDate(2026, 3, 17));
        openWindow();
    }
};

TEST_P(RegisterQuery, FiltersByClientTextAsTypedAndByInvoiceDate)
{
    const QueryCase &c = GetParam();
    if (c.view != 0)
        chooseView(c.view);
    query(c.client, c.from, c.to);
    EXPECT_EQ(listed(), c.listed);
    EXPECT_EQ(child<QLineEdit>(*window, "edOrg")->text(), c.client);
    if (!c.client.isEmpty()) {
        EXPECT_FALSE(dm.DSetDocs->selectSql().contains(c.client)) << "bound, never pasted";
    }
}

const QDate kYearStart(2026, 1, 1);
const QDate kYearEnd(2026, 12, 31);

INSTANTIATE_TEST_SUITE_P(
    Cases, RegisterQuery,
    ::testing::Values(
        QueryCase{"part of a name", 0, QStringLiteral("Степной"), kYearStart, kYearEnd,
                  numbers({1})},
        QueryCase{"case matters", 0, QStringLiteral("степной"), kYearStart, kYearEnd, {}},
        QueryCase{"double quote", 0, QStringLiteral("\"Казахская"), kYearStart, kYearEnd,
                  numbers({2})},
        QueryCase{"single quotes", 0, QStringLiteral("'Береке'"), kYearStart, kYearEnd,
                  numbers({6})},
        QueryCase{"percent sign", 0, QStringLiteral("100%"), kYearStart, kYearEnd, numbers({7})},
        QueryCase{"underscore", 0, QStringLiteral("Иванов_"), kYearStart, kYearEnd, numbers({9})},
        QueryCase{"kazakh letters", 0, QStringLiteral("Құрылыс-Ө"), kYearStart, kYearEnd,
                  numbers({12})},
        QueryCase{"no client text", 0, QString(), kYearStart, kYearEnd,
                  numbers({1, 2, 3, 4, 6, 7, 8, 9, 10, 12})},
        QueryCase{"both dates included", 0, QString(), QDate(2026, 3, 5), QDate(2026, 3, 11),
                  numbers({2, 3})},
        QueryCase{"no invoice date never matches",
                  0,
                  QStringLiteral("Без даты"),
                  QDate(1899, 12, 30),
                  QDate(2100, 1, 1),
                  {}},
        QueryCase{"archived", 1, QStringLiteral("ТОО"), kYearStart, kYearEnd, numbers({5})},
        QueryCase{"all", 2, QStringLiteral("Степной"), QDate(2026, 2, 20), QDate(2026, 3, 2),
                  numbers({1, 5})}),
    [](const ::testing::TestParamInfo<QueryCase> &info) {
        std::string name;
        bool upper = true;
        for (const char *c = info.param.what; *c; ++c) {
            if (*c == ' ') {
                upper = true;
                continue;
            }
            name += upper ? char(std::toupper(*c)) : *c;
            upper = false;
        }
        return name;
    });

TEST_F(Register, EnterInTheClientBoxRunsTheQuery)
{
    openWindow();
    typeInto(*window, "edOrg", QStringLiteral("Степной"));
    QTest::keyClick(child<QLineEdit>(*window, "edOrg"), Qt::Key_Return);
    EXPECT_EQ(listed(), numbers({1}));
}

TEST_F(Register, SortingKeepsTheClientFilterDropsTheDatesAndStaysOnTheDocument)
{
    addDocument(QStringLiteral("ТОО 'Береке'"), 6, QDate(2026, 3, 12));
    openWindow();
    query(QStringLiteral("ТОО"), QDate(2026, 3, 2), QDate(2026, 3, 2));
    ASSERT_EQ(listed(), numbers({1}));

    clickTitle(documentsGrid(), 8); // "Дата счета"
    EXPECT_EQ(listed(), numbers({1, 6}));
    clickTitle(documentsGrid(), 7); // "Наименование компании"
    EXPECT_EQ(listed(), numbers({6, 1}));
    EXPECT_EQ(currentNumber(), QStringLiteral("1"));
    EXPECT_EQ(documentsGrid().currentIndex().row(), 1) << "the grid shows the same row";

    chooseView(1);
    typeInto(*window, "edOrg", QStringLiteral("ТОО"));
    clickTitle(documentsGrid(), 0);
    EXPECT_EQ(listed(), numbers({5}));
}

TEST_F(Register, ReferenceBookButtonsOpenTheirListsToBrowse)
{
    openWindow();
    QStringList opened;
    window->setDialogRunner([&](QDialog &dialog) {
        opened << dialog.objectName() + QLatin1Char(' ') +
                      child<QPushButton>(dialog, "btnClose")->text();
        return int(QDialog::Rejected);
    });
    for (const char *button : {"btnOrg", "btnTovUsl", "BitBtn3"})
        click(*window, button);
    EXPECT_EQ(opened,
              QStringList({QStringLiteral("frmOrg Закрыть"), QStringLiteral("frmNomenkl Закрыть"),
                           QStringLiteral("frmKNP Закрыть")}));
}

TEST_F(Register, ClientPickButtonFillsTheClientFilterWithoutQuerying)
{
    openWindow();
    const QString statement = dm.DSetDocs->selectSql();
    window->setDialogRunner([](QDialog &dialog) {
        EXPECT_TRUE(static_cast<TfrmOrg &>(dialog).picking());
        click(dialog, "btnClose");
        return dialog.result();
    });
    click(*window, "btnZapOrg");
    EXPECT_EQ(child<QLineEdit>(*window, "edOrg")->text(),
              QStringLiteral("АО \"Казахская логистическая компания\""));
    EXPECT_EQ(dm.DSetDocs->selectSql(), statement);
}

TEST_F(Register, ClearEmptiesTheClientAndSpansTheInvoiceDatesOfTheListedDocuments)
{
    openWindow();
    query(QStringLiteral("Степной"), QDate(2026, 3, 10), QDate(2026, 3, 10));
    ASSERT_EQ(listed(), QStringList());

    click(*window, "btnClear");
    EXPECT_EQ(child<QLineEdit>(*window, "edOrg")->text(), QString());
    EXPECT_EQ(child<QDateEdit>(*window, "date1")->date(), QDate(2026, 3, 2));
    EXPECT_EQ(child<QDateEdit>(*window, "date2")->date(), QDate(2026, 3, 17));
    EXPECT_EQ(listed(), numbers({1, 2, 3, 4}));

    // A document without an invoice date counts as day zero.
    dm.DSetDocs->append();
    dm.DSetDocs->setValue(QStringLiteral("NUMSCH"), 6);
    dm.DSetDocs->post();
    click(*window, "btnClear");
    EXPECT_EQ(child<QDateEdit>(*window, "date1")->date(), QDate(1899, 12, 30));
    EXPECT_EQ(child<QDateEdit>(*window, "date2")->date(), QDate(2026, 3, 17));
}

// A new database has no document to take the period from: the period is today, not day zero.
TEST_F(EmptyRegister, OffersOnlyAddingAndShowsTodayAsThePeriod)
{
    openWindow();
    window->setDocumentEditor(editorAnswering(QDialog::Rejected));
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" Zarnik 1.2"));
    EXPECT_EQ(child<QDateEdit>(*window, "date1")->date(), QDate::currentDate());
    EXPECT_EQ(child<QDateEdit>(*window, "date2")->date(), QDate::currentDate());
    EXPECT_TRUE(child<QPushButton>(*window, "btnAdd")->isEnabled());
    for (const char *name :
         {"btnEdit", "btnVernut", "btnUse", "btnDel", "btnVArchiv", "btnSch", "btnSchFac",
          "btnActVyp", "btnRasxNakl", "btnPrixKas", "btnDov", "btnPlat", "btnOplaty"})
        EXPECT_FALSE(child<QPushButton>(*window, name)->isEnabled()) << name;

    // In "Все записи" "Добавить" is hidden, yet a double click on the empty list adds.
    chooseView(2);
    QTest::mouseDClick(documentsGrid().viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(editorModes, std::vector<EditorMode>{EditorMode::New});
}

// Closing commits what was posted while the window can still report a failure.
TEST_F(Register, ClosingCommitsWhatWasPosted)
{
    openWindow();
    dm.DSetDocs->edit();
    dm.DSetDocs->setValue(QStringLiteral("NAMEORG"), QStringLiteral("Закрыто"));
    dm.DSetDocs->post();
    ASSERT_TRUE(dm.TsnRW.isActive());
    window->close();
    EXPECT_FALSE(dm.TsnRW.isActive());
}

TEST_F(Register, EditorCommandsStayDisabledUntilThereIsAnEditor)
{
    openWindow();
    for (const char *name : {"btnAdd", "btnEdit", "btnUse"})
        EXPECT_FALSE(child<QPushButton>(*window, name)->isEnabled()) << name;
    QTest::mouseDClick(documentsGrid().viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    window->setDocumentEditor(editorAnswering(QDialog::Rejected));
    for (const char *name : {"btnAdd", "btnEdit", "btnUse"})
        EXPECT_TRUE(child<QPushButton>(*window, name)->isEnabled()) << name;
}

struct DoubleClickCase {
    int view;
    std::vector<EditorMode> editorModes;
};

void PrintTo(const DoubleClickCase &c, std::ostream *os)
{
    *os << "view " << c.view;
}

class RegisterDoubleClick : public Register,
                            public ::testing::WithParamInterface<DoubleClickCase> {};

TEST_P(RegisterDoubleClick, EditsExceptInTheArchive)
{
    openWindow();
    window->setDocumentEditor(editorAnswering(QDialog::Rejected));
    if (GetParam().view != 0)
        chooseView(GetParam().view);
    const QRect firstRow = documentsGrid().visualRect(documentsGrid().model()->index(0, 0));
    QTest::mouseDClick(documentsGrid().viewport(), Qt::LeftButton, {}, firstRow.center());
    EXPECT_EQ(editorModes, GetParam().editorModes);
}

INSTANTIATE_TEST_SUITE_P(EachView, RegisterDoubleClick,
                         ::testing::Values(DoubleClickCase{0, {EditorMode::Current}},
                                           DoubleClickCase{1, {}},
                                           DoubleClickCase{2, {EditorMode::Current}}),
                         [](const auto &info) { return "View" + std::to_string(info.param.view); });

class RegisterDelete : public Register, public ::testing::WithParamInterface<bool> {};

TEST_P(RegisterDelete, AsksAndOnYesRemovesTheDocumentWithItsLines)
{
    const bool yes = GetParam();
    openWindow();
    clickRow(documentsGrid(), 2);
    ASSERT_EQ(currentNumber(), QStringLiteral("3"));
    EXPECT_EQ(dm.DSetDetail->recordCount(), 2) << "the lines grid follows the document";
    const qint64 kod = dm.DSetDocs->asInteger(QStringLiteral("KOD"));

    prompts.expectConfirm(kDeleteQuestion, yes);
    click(*window, "btnDel");
    EXPECT_EQ(listed(), yes ? numbers({1, 2, 4}) : numbers({1, 2, 3, 4}));
    const QVariant lines = FbStatement::scalar(
        dm.TsnRW, QStringLiteral("select count(*) from DETAILDOCS where KODDOCS=%1").arg(kod));
    EXPECT_EQ(lines.toInt(), yes ? 0 : 2);
}

INSTANTIATE_TEST_SUITE_P(YesAndNo, RegisterDelete, ::testing::Bool(),
                         [](const auto &info) { return std::string(info.param ? "Yes" : "No"); });

TEST_F(Register, ArchiveAndRestoreSwitchTheViewAndLandOnTheDocument)
{
    openWindow();
    clickRow(documentsGrid(), 2);
    ASSERT_EQ(currentNumber(), QStringLiteral("3"));

    prompts.expectConfirm(kArchiveQuestion, false);
    click(*window, "btnVArchiv");
    EXPECT_EQ(listed(), numbers({1, 2, 3, 4}));

    prompts.expectConfirm(kArchiveQuestion, true);
    click(*window, "btnVArchiv");
    EXPECT_EQ(views().itemIndex(), 1);
    EXPECT_EQ(listed(), numbers({3, 5}));
    EXPECT_EQ(currentNumber(), QStringLiteral("3"));
    EXPECT_EQ(documentsGrid().currentIndex().row(), 0);
    EXPECT_TRUE(shown("btnVernut"));

    clickRow(documentsGrid(), 0);
    prompts.expectConfirm(kRestoreQuestion, true);
    click(*window, "btnVernut");
    EXPECT_EQ(views().itemIndex(), 0);
    EXPECT_EQ(listed(), numbers({1, 2, 3, 4}));
    EXPECT_EQ(currentNumber(), QStringLiteral("3"));
    EXPECT_EQ(documentsGrid().currentIndex().row(), 2);
    EXPECT_FALSE(shown("btnVernut"));
}

TEST_F(Register, AddClearsTheClientFilterAndKeepsWhatTheEditorAccepted)
{
    openWindow();
    auto newDocument = [this](int number) {
        return [this, number] {
            EXPECT_EQ(child<QLineEdit>(*window, "edOrg")->text(), QString());
            dm.DSetDocs->insert();
            dm.DSetDocs->setValue(QStringLiteral("NUMSCH"), number);
            dm.DSetDocs->setValue(QStringLiteral("NAMEORG"), QStringLiteral("Новый клиент"));
        };
    };
    typeInto(*window, "edOrg", QStringLiteral("Степной"));
    window->setDocumentEditor(editorAnswering(QDialog::Rejected, newDocument(6)));
    click(*window, "btnAdd");
    EXPECT_EQ(listed(), numbers({1, 2, 3, 4}));

    window->setDocumentEditor(editorAnswering(QDialog::Accepted, newDocument(7)));
    click(*window, "btnAdd");
    EXPECT_EQ(listed(), numbers({1, 2, 3, 4, 7}));
    EXPECT_EQ(currentNumber(), QStringLiteral("7"));
    EXPECT_EQ(editorModes, (std::vector<EditorMode>{EditorMode::New, EditorMode::New}));
}

TEST_F(Register, EditKeepsOrDropsWhatTheEditorChanged)
{
    openWindow();
    auto rename = [this](const QString &name) {
        return [this, name] {
            dm.DSetDocs->edit();
            dm.DSetDocs->setValue(QStringLiteral("NAMEORG"), name);
        };
    };
    window->setDocumentEditor(
        editorAnswering(QDialog::Rejected, rename(QStringLiteral("Отменено"))));
    click(*window, "btnEdit");
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("NAMEORG")),
              QStringLiteral("ТОО «Степной Ветер»"));
    window->setDocumentEditor(
        editorAnswering(QDialog::Accepted, rename(QStringLiteral("Принято"))));
    click(*window, "btnEdit");
    EXPECT_FALSE(dm.DSetDocs->isEditing());
    session.refresh();
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("NAMEORG")), QStringLiteral("Принято"));
    EXPECT_EQ(editorModes, (std::vector<EditorMode>{EditorMode::Current, EditorMode::Current}));
}

TEST_F(Register, CopyGivesANewCurrentDocumentWithEmptyNumbersTodaysDatesAndTheLines)
{
    openWindow();
    chooseView(2);
    ASSERT_EQ(currentNumber(), QStringLiteral("1"));
    const qint64 source = dm.DSetDocs->asInteger(QStringLiteral("KOD"));
    const QStringList sourceAmounts = columnTexts(*dm.DSetDetail, QStringLiteral("STREALIZ"));

    window->setDocumentEditor(editorAnswering(QDialog::Rejected));
    prompts.expectConfirm(kCopyQuestion, false);
    click(*window, "btnUse");
    EXPECT_EQ(listed().size(), 5);
    EXPECT_TRUE(editorModes.empty());

    qint64 copy = 0;
    window->setDocumentEditor(editorAnswering(QDialog::Accepted, [&] {
        Dataset &docs = *dm.DSetDocs;
        Dataset &lines = *dm.DSetDetail;
        copy = docs.asInteger(QStringLiteral("KOD"));
        EXPECT_NE(copy, source);
        EXPECT_EQ(docs.asString(QStringLiteral("NAMEORG")), QStringLiteral("ТОО «Степной Ветер»"));
        EXPECT_EQ(docs.asString(QStringLiteral("OSNOVANIE")),
                  QStringLiteral("Договор поставки № 15 от 10.01.2026"));
        for (const char *number :
             {"NUMSCH", "NUMSCHF", "NUMACT", "NUMNAKL", "NUMPRIX", "NUMDOV", "NUMPLAT"})
            EXPECT_TRUE(docs.isNull(QString::fromLatin1(number))) << number;
        for (const char *date :
             {"DATASCH", "DATASCHF", "DATAACT", "DATANAKL", "DATAPRIX", "DATADOV", "DATAPLAT"})
            EXPECT_EQ(docs.asDateTime(QString::fromLatin1(date)), datetime::today()) << date;
        EXPECT_EQ(columnTexts(lines, QStringLiteral("NUM")), numbers({1, 2, 3}));
        EXPECT_EQ(columnTexts(lines, QStringLiteral("STREALIZ")), sourceAmounts);
        for (int row = 0; row < lines.recordCount(); ++row) {
            lines.setCurrentIndex(row);
            EXPECT_TRUE(lines.isNull(QStringLiteral("STNDS")));
            EXPECT_EQ(lines.asFloat(QStringLiteral("SUMNDS")), 0.0);
            EXPECT_DOUBLE_EQ(lines.asFloat(QStringLiteral("CENASUMBEZNDS")),
                             lines.asFloat(QStringLiteral("KOLVO")) *
                                 lines.asFloat(QStringLiteral("CENASHT")));
        }
    }));
    prompts.expectConfirm(kCopyQuestion, true);
    click(*window, "btnUse");
    EXPECT_EQ(editorModes, std::vector<EditorMode>{EditorMode::Copy});
    EXPECT_EQ(views().itemIndex(), 0);
    EXPECT_EQ(listed().size(), 5);
    EXPECT_EQ(dm.DSetDocs->asInteger(QStringLiteral("KOD")), copy);
}

} // namespace
