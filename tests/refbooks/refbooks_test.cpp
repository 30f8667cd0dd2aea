// The reference books driven as the user does, by their controls' names, on a small
// database of a few clients, items and codes.
#include "data/fb_statement.h"
#include "data_module_test.h"
#include "refbooks/tfrm_add_client.h"
#include "refbooks/tfrm_akt_sverki.h"
#include "refbooks/tfrm_knp.h"
#include "refbooks/tfrm_kolvo.h"
#include "refbooks/tfrm_nomenkl.h"
#include "refbooks/tfrm_org.h"
#include "refbooks/tfrm_osnovanie.h"
#include "scripted_prompts.h"
#include "ui/application_title.h"
#include "ui/dataset_commands.h"
#include "ui/db_grid.h"
#include "ui/id_marks.h"
#include "window_driver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

namespace {

const QString kStockMessage = QStringLiteral("Количество превышает остаток. Произойдет обнуление "
                                             "остатка, при необходимости исправьте количество "
                                             "вручную.");

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

qint64 insertRow(Dataset &dataset, const std::vector<std::pair<const char *, QVariant>> &values)
{
    dataset.append();
    for (const auto &[name, value] : values)
        dataset.setValue(QString::fromLatin1(name), value);
    dataset.post();
    return dataset.asInteger(QStringLiteral("KOD"));
}

class Refbooks : public DataModuleTest {
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        insertRow(*dm.DSetRekvizity, {{"NAMEORG", s("ТОО Своя")}, {"STNDS", 12.0}});
        // Clients: two organisations and one sole trader.
        alfa = addClient(0, "ТОО Альфа", "АО Банк Альфы");
        addClient(0, "ТОО бета", "АО Банк Беты");
        trader = addClient(1, "ИП Гамма", "Удостоверение № 1");
        // Items: goods with and without stock, one service.
        nails = addItem(0, "Гвозди", 10);
        addItem(0, "болты", 3);
        addItem(1, "Доставка", QVariant());
        insertRow(*dm.DSetKNP, {{"KNP", s("911")}, {"NAME", s("Прочие")}});
        insertRow(*dm.DSetKNP, {{"KNP", s("710")}, {"NAME", s("Аренда")}});
        document = insertRow(*dm.DSetDocs, {{"NAMEORG", s("ИП Гамма")}, {"NUMSCH", 1}});
        dm.TsnRW.commit();
        dm.TsnRW.start();
        for (Dataset *d : dm.mainDatasets()) {
            d->close();
            d->open();
        }
        dm.DSetDocs->locate(document);
    }

    qint64 addClient(int tip, const char *name, const char *bank)
    {
        dm.clientsPage = tip;
        return insertRow(*dm.DSetClients, {{"NAMEORG", s(name)},
                                           {"BANK", s(bank)},
                                           {"KBE", s("17")},
                                           {"BINIIN", s("123")},
                                           {"RNN", s("R1")},
                                           {"ADRES", s("Адрес")},
                                           {"IIK", s("KZ1")},
                                           {"BIK", s("BIK1")}});
    }
    qint64 addItem(int tip, const char *name, const QVariant &stock)
    {
        dm.nomenklPage = tip;
        return insertRow(
            *dm.DSetNomenkl,
            {{"NAME", s(name)}, {"EDIZM", s("шт")}, {"CENA", 100.0}, {"OSTATOK", stock}});
    }
    RefbookContext context()
    {
        return {dm, prompts, [this](QDialog &dialog) { return runChild(dialog); }, shower};
    }
    int count(const QString &sql) { return FbStatement::scalar(dm.TsnRW, sql).toInt(); }

    ScriptedPrompts prompts;
    // Fills and closes the window a window opens, in place of the user.
    std::function<int(QDialog &)> runChild = [](QDialog &) { return int(QDialog::Rejected); };
    ReportShower shower;
    qint64 alfa = 0, trader = 0, nails = 0, document = 0;
};

// Clients ---------------------------------------------------------------------------------

TEST_F(Refbooks, ANewClientTakesTheKindOfItsTabAndIsListedOnlyThere)
{
    TfrmOrg list(context());
    list.show();
    child<QTabBar>(list, "PageControl1")->setCurrentIndex(1);
    runChild = [](QDialog &client) {
        typeInto(client, "edNAMEORG", s("ИП Новый"));
        click(client, "btnClose");
        return int(QDialog::Accepted);
    };
    click(list, "BitBtn1");
    QStringList names = columnTexts(*dm.DSetClients, QStringLiteral("NAMEORG"));
    names.sort();
    EXPECT_EQ(names, QStringList({s("ИП Гамма"), s("ИП Новый")}));
    EXPECT_EQ(count(QStringLiteral("select count(*) from CLIENTS where TIP=1")), 2);
    list.setActiveTab(0);
    EXPECT_FALSE(columnTexts(*dm.DSetClients, QStringLiteral("NAMEORG")).contains(s("ИП Новый")));
}

TEST_F(Refbooks, ChangingOnAnEmptyTabStartsANewClientAndCancelDropsItWithItsAccounts)
{
    TfrmOrg list(context());
    list.setActiveTab(2);
    runChild = [this](QDialog &client) {
        EXPECT_EQ(dm.DSetClients->state(), Dataset::State::Insert);
        click(client, "BitBtn3"); // an account stored at once
        click(client, "BitBtn3");
        EXPECT_EQ(count(QStringLiteral("select count(*) from RASSCHET")), 2);
        click(client, "BitBtn1");
        return int(QDialog::Rejected);
    };
    click(list, "BitBtn3");
    EXPECT_TRUE(dm.DSetClients->isEmpty());
    EXPECT_EQ(count(QStringLiteral("select count(*) from RASSCHET")), 0)
        << "no account is left without its client";
}

TEST_F(Refbooks, DeletingAClientRemovesItsAccountsAndGroundsAndKeepsDocuments)
{
    dm.DSetClients->locate(alfa);
    for (int i = 0; i < 2; ++i)
        insertRow(*dm.DSetSchets, {{"IIK", QString::number(i)}});
    for (int i = 0; i < 3; ++i)
        insertRow(*dm.DSetOsnovanie, {{"OSNOVANIE", QString::number(i)}});
    TfrmOrg list(context());
    dm.DSetClients->locate(alfa);

    prompts.expectConfirm(kDeleteQuestion, false);
    click(list, "BitBtn2");
    EXPECT_EQ(count(QStringLiteral("select count(*) from CLIENTS")), 3) << "No changes nothing";

    prompts.expectConfirm(kDeleteQuestion, true);
    click(list, "BitBtn2");
    EXPECT_EQ(count(QStringLiteral("select count(*) from CLIENTS")), 2);
    EXPECT_EQ(count(QStringLiteral("select count(*) from RASSCHET")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from OSNOVANIE")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from DOCS where NAMEORG='ИП Гамма'")), 1);
}

TEST_F(Refbooks, AClientWhoseDeletionFailsKeepsItsAccountsAndGrounds)
{
    dm.DSetClients->locate(alfa);
    insertRow(*dm.DSetSchets, {{"IIK", s("KZ")}});
    insertRow(*dm.DSetOsnovanie, {{"OSNOVANIE", s("Договор")}});
    for (const char *sql : {"create exception CLIENT_KEPT 'client kept'",
                            "create trigger CLIENTS_KEEP for CLIENTS before delete as begin "
                            "exception CLIENT_KEPT; end"}) {
        FbStatement ddl(dm.TsnRW);
        ddl.prepare(QString::fromLatin1(sql));
        ddl.execute();
        dm.TsnRW.commit();
        dm.TsnRW.start();
    }
    for (Dataset *d : dm.mainDatasets()) {
        d->close();
        d->open();
    }
    TfrmOrg list(context());
    dm.DSetClients->locate(alfa);
    prompts.expectConfirm(kDeleteQuestion, true);
    prompts.expectError({}, {});
    click(list, "BitBtn2");
    prompts.verify();
    EXPECT_EQ(count(QStringLiteral("select count(*) from RASSCHET")), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from OSNOVANIE")), 1);
    EXPECT_EQ(dm.DSetClients->asInteger(QStringLiteral("KOD")), alfa) << "still on the client";
}

TEST_F(Refbooks, EmptyListsRefuseToDeleteAndToOpenGrounds)
{
    TfrmOrg list(context());
    list.setActiveTab(2);
    prompts.expectInform(kEmptyCannotDelete);
    click(list, "BitBtn2");
    prompts.expectInform(s("Таблица пуста. Невозможно открыть!"));
    click(list, "btnOsnov");
}

struct PassportCase {
    const char *name;
    const char *before;
    const char *after;
};

void PrintTo(const PassportCase &c, std::ostream *os)
{
    *os << c.name;
}

class PowerOfAttorneyHolder : public Refbooks,
                              public ::testing::WithParamInterface<PassportCase> {};

TEST_P(PowerOfAttorneyHolder, TakesTheClientsBankTextIntoTheIdentityHalf)
{
    dm.DSetDocs->edit();
    dm.DSetDocs->setValue(QStringLiteral("PASPVYD"), s(GetParam().before));
    dm.DSetDocs->post();
    TfrmOrg list(context(), nullptr, ClientPick::AttorneyHolder);
    list.setActiveTab(1);
    click(list, "btnClose");
    EXPECT_EQ(list.result(), QDialog::Accepted);
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("KOMU")), s("ИП Гамма"));
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("PASPVYD")), s(GetParam().after));
}

INSTANTIATE_TEST_SUITE_P(Passport, PowerOfAttorneyHolder,
                         ::testing::Values(PassportCase{"Empty", "", "Удостоверение № 1$|$"},
                                           PassportCase{"KbkKept", "$|$КБК 101",
                                                        "Удостоверение № 1$|$КБК 101"},
                                           PassportCase{"OldIdReplaced", "Паспорт$|$КБК$|$x",
                                                        "Удостоверение № 1$|$КБК$|$x"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Refbooks, PickingTheDocumentsClientCopiesItsRequisitesButNotThePhone)
{
    TfrmOrg list(context(), nullptr, ClientPick::DocumentClient);
    list.show();
    EXPECT_EQ(child<QPushButton>(list, "btnClose")->text(), s("Выбрать"));
    EXPECT_TRUE(child<QPushButton>(list, "btnCancel")->isVisible());
    dm.DSetClients->locate(alfa);
    list.grid()->gridDoubleClicked();
    EXPECT_EQ(list.result(), QDialog::Accepted);
    Dataset &doc = *dm.DSetDocs;
    EXPECT_TRUE(doc.isEditing());
    EXPECT_EQ(doc.asString(QStringLiteral("NAMEORG")), s("ТОО Альфа"));
    for (const char *field : {"KBE", "RNN", "BINIIN", "ADRES", "IIK", "BANK", "BIK"})
        EXPECT_EQ(doc.asString(QString::fromLatin1(field)),
                  dm.DSetClients->asString(QString::fromLatin1(field)))
            << field;
}

TEST_F(Refbooks, PickingTheRegistersFilterFillsItsBoxAndBrowsingOpensTheClient)
{
    QLineEdit filter;
    {
        TfrmOrg list(context(), nullptr, ClientPick::RegisterFilter);
        list.setClientFilterBox(&filter);
        click(list, "btnClose");
        EXPECT_TRUE(list.chosen());
    }
    EXPECT_EQ(filter.text(), s("ТОО Альфа"));

    TfrmOrg browse(context());
    browse.show();
    EXPECT_EQ(child<QPushButton>(browse, "btnClose")->text(), s("Закрыть"));
    EXPECT_FALSE(child<QPushButton>(browse, "btnCancel")->isVisible());
    int opened = 0;
    runChild = [&](QDialog &) {
        ++opened;
        return int(QDialog::Rejected);
    };
    browse.grid()->gridDoubleClicked();
    EXPECT_EQ(opened, 1) << "a double click opens the client for change";
    EXPECT_TRUE(browse.isVisible());
    QTest::keyClick(child<QLineEdit>(browse, "Edit1"), Qt::Key_Return);
    EXPECT_TRUE(browse.isVisible()) << "Enter closes nothing while browsing";
}

struct SearchCase {
    const char *name;
    const char *typed;
    const char *expected; // the current client's name afterwards
};

void PrintTo(const SearchCase &c, std::ostream *os)
{
    *os << c.name;
}

class ClientSearch : public Refbooks, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(ClientSearch, MovesToTheFirstMatchOrStays)
{
    TfrmOrg list(context());
    list.show();
    dm.DSetClients->last(); // "ТОО бета"
    typeInto(list, "Edit1", s(GetParam().typed));
    EXPECT_EQ(dm.DSetClients->asString(QStringLiteral("NAMEORG")), s(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Search, ClientSearch,
                         ::testing::Values(SearchCase{"CaseIgnored", "тоо а", "ТОО Альфа"},
                                           SearchCase{"NoMatch", "ООО", "ТОО бета"},
                                           SearchCase{"Quotes", "' or 1=1 --\"", "ТОО бета"},
                                           SearchCase{"Wildcards", "%_", "ТОО бета"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Refbooks, AVeryLongSearchTextOnlyLeavesTheSelection)
{
    TfrmOrg list(context());
    dm.DSetClients->last();
    list.quickSearch(QString(10000, QLatin1Char('x')));
    EXPECT_EQ(dm.DSetClients->asString(QStringLiteral("NAMEORG")), s("ТОО бета"));
}

TEST_F(Refbooks, SortingReturnsToTheRowAndATabChangeSortsByNameAgain)
{
    dm.clientsPage = 0;
    insertRow(*dm.DSetClients, {{"NAMEORG", s("ТОО Арка")}, {"BIK", s("AAA")}});
    TfrmOrg list(context());
    list.show();
    dm.DSetClients->locate(alfa);
    clickTitle(*list.grid(), 6); // "БИК"
    EXPECT_TRUE(dm.DSetClients->selectSql().endsWith(QStringLiteral("order by BIK")));
    EXPECT_EQ(dm.DSetClients->asInteger(QStringLiteral("KOD")), alfa);
    EXPECT_EQ(columnTexts(*dm.DSetClients, QStringLiteral("NAMEORG")).first(), s("ТОО Арка"));
    list.setActiveTab(1);
    list.setActiveTab(0);
    EXPECT_EQ(columnTexts(*dm.DSetClients, QStringLiteral("NAMEORG")),
              QStringList({s("ТОО Альфа"), s("ТОО Арка"), s("ТОО бета")}));
}

// "Акт сверки..." opens on the current client with its grounds and shows the act as chosen; a
// period that ends before it begins is said, and nothing is shown.
TEST_F(Refbooks, ReconciliationActOfTheCurrentClient)
{
    FbStatement ground(dm.TsnRW);
    ground.prepare(QStringLiteral("insert into OSNOVANIE (KOD, KODORG, OSNOVANIE) "
                                  "values (900, :K, :O)"));
    ground.setParameter(0, alfa);
    ground.setParameter(1, s("Договор № 12 от 05.01.2026"));
    ground.execute();
    int shown = 0;
    QString client, groundLine;
    shower = [&](const zreport::TfrxReport &report, const zreport::DataSources &sources) {
        ++shown;
        EXPECT_TRUE(report.findDataset(QStringLiteral("DSetAktRows")));
        zreport::ReportRows *act = zreport::findDataSource(sources, QStringLiteral("DM.DSAkt"));
        ASSERT_TRUE(act && act->open());
        act->first();
        client = act->value(act->fieldIndex(u"CLIENT")).toString();
        groundLine = act->value(act->fieldIndex(u"GROUND")).toString();
    };
    runChild = [&](QDialog &dialog) {
        EXPECT_EQ(child<QComboBox>(dialog, "cmbClient")->currentText(), s("ТОО Альфа (123)"));
        auto *from = child<QDateEdit>(dialog, "dtpFrom");
        auto *to = child<QDateEdit>(dialog, "dtpTo");
        click(dialog, "btnThisYear");
        EXPECT_EQ(from->date(), QDate(QDate::currentDate().year(), 1, 1));
        EXPECT_EQ(to->date(), QDate(QDate::currentDate().year(), 12, 31));
        from->setDate(to->date().addDays(1));
        prompts.expectInform(s("Начало периода позже его конца."));
        click(dialog, "btnOK");
        EXPECT_EQ(shown, 0);
        click(dialog, "btnLastQuarter");
        child<QComboBox>(dialog, "cmbOsnovanie")->setCurrentIndex(1);
        child<QCheckBox>(dialog, "chkMirror")->setChecked(true);
        click(dialog, "btnOK");
        return dialog.result();
    };
    TfrmOrg list(context());
    list.setActiveTab(0);
    ASSERT_TRUE(dm.DSetClients->locate(alfa));
    click(list, "btnAktSverki");
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(client, s("ТОО Альфа"));
    EXPECT_EQ(groundLine, s("по договору № 12 от 05.01.2026"));
}

// The debtors name a client by its documents: one the client list does not hold is offered as
// it is, without grounds.
TEST_F(Refbooks, ReconciliationActOfAClientKnownOnlyFromItsDocuments)
{
    QString client;
    shower = [&](const zreport::TfrxReport &, const zreport::DataSources &sources) {
        zreport::ReportRows *act = zreport::findDataSource(sources, QStringLiteral("DM.DSAkt"));
        ASSERT_TRUE(act && act->open());
        act->first();
        client = act->value(act->fieldIndex(u"CLIENT")).toString();
    };
    runChild = [](QDialog &dialog) {
        EXPECT_EQ(child<QComboBox>(dialog, "cmbClient")->currentText(), s("ТОО Дельта (777)"));
        EXPECT_EQ(child<QComboBox>(dialog, "cmbOsnovanie")->count(), 1);
        click(dialog, "btnOK");
        return dialog.result();
    };
    openReconciliationAct(nullptr, context(), ActClient{s("ТОО Дельта"), s("777")});
    EXPECT_EQ(client, s("ТОО Дельта"));
}

struct PrintCase {
    const char *name;
    int tab;
    const char *reportDataset; // the listing's own name of the list's rows
    int rows;
};

void PrintTo(const PrintCase &c, std::ostream *os)
{
    *os << c.name;
}

class Printing : public Refbooks, public ::testing::WithParamInterface<PrintCase> {};

TEST_P(Printing, ShowsTheListingOfTheListAsItStands)
{
    const PrintCase &c = GetParam();
    bool listing = false;
    int rows = -1;
    shower = [&](const zreport::TfrxReport &report, const zreport::DataSources &sources) {
        listing = report.findDataset(QString::fromLatin1(c.reportDataset)) != nullptr;
        EXPECT_FALSE(sources.isEmpty());
    };
    std::unique_ptr<ReferenceList> list;
    const QString name = QString::fromLatin1(c.name);
    if (name == QLatin1String("Clients"))
        list = std::make_unique<TfrmOrg>(context());
    else if (name == QLatin1String("Goods"))
        list = std::make_unique<TfrmNomenkl>(context());
    else
        list = std::make_unique<TfrmKNP>(context());
    list->setActiveTab(c.tab);
    Dataset &dataset = *list->grid()->dataset();
    dataset.last();
    const qint64 current = dataset.asInteger(QStringLiteral("KOD"));
    rows = dataset.recordCount();
    click(*list, "btnPrint");
    EXPECT_TRUE(listing);
    EXPECT_EQ(rows, c.rows);
    EXPECT_EQ(dataset.asInteger(QStringLiteral("KOD")), current) << "the list stays on its row";
}

INSTANTIATE_TEST_SUITE_P(Listings, Printing,
                         ::testing::Values(PrintCase{"Clients", 1, "DSetOrg", 1},
                                           PrintCase{"Goods", 0, "DSetNomenkl", 2},
                                           PrintCase{"Codes", 0, "DSetKNP", 2}),
                         [](const auto &info) { return std::string(info.param.name); });

// Identifiers in the client card ------------------------------------------------------------

const QString kWrongBinQuestion =
    s("Проверьте реквизиты:\nБИН (ИИН) 060440019474: не сходится контрольная (последняя) цифра: "
      "в номере опечатка или переставлены цифры\n\nСохранить всё равно?");

// Whether a grid paints the red frame of a failing value round a cell.
bool framedInRed(DbGrid &grid, const QModelIndex &cell)
{
    const QImage picture = grid.viewport()->grab().toImage();
    const QRect frame = grid.visualRect(cell).adjusted(1, 1, -1, -1);
    const QColor red(0xd0, 0x00, 0x00);
    return picture.pixelColor(frame.center().x(), frame.top()) == red &&
           picture.pixelColor(frame.left(), frame.center().y()) == red;
}

// The client card opened by "Добавить" with the new client's name typed in.
class ClientCard : public Refbooks {
protected:
    void SetUp() override
    {
        Refbooks::SetUp();
        dm.DSetClients->append();
        card = std::make_unique<TfrmAddClient>(dm, prompts);
        card->show();
        typeInto(*card, "edNAMEORG", s("ТОО Новый"));
    }
    void TearDown() override
    {
        card.reset();
        Refbooks::TearDown();
    }

    // What the new client's row holds: expression is what is selected from it.
    QString stored(const char *expression)
    {
        return FbStatement::scalar(dm.TsnRW, QStringLiteral("select %1 from CLIENTS where "
                                                            "NAMEORG='ТОО Новый'")
                                                 .arg(QLatin1String(expression)))
            .toString();
    }

    std::unique_ptr<TfrmAddClient> card;
};

TEST_F(ClientCard, AWrongBinIsMarkedAsTypedAndOkAsksNoKeepsTheCardYesStoresIt)
{
    auto *bin = child<QLineEdit>(*card, "edBINIIN");
    typeInto(*card, "edBINIIN", s("06044000947"));
    EXPECT_TRUE(isMarkedWrong(bin)) << "marked while still being typed";
    EXPECT_EQ(bin->toolTip(), s("нужно 12 цифр, а введено 11"));
    typeInto(*card, "edBINIIN", s("060440009474"));
    EXPECT_FALSE(isMarkedWrong(bin));
    EXPECT_EQ(bin->toolTip(), s("БИН юридического лица-резидента, головное подразделение"));
    typeInto(*card, "edBINIIN", s("060440019474"));
    EXPECT_TRUE(isMarkedWrong(bin));

    child<QLineEdit>(*card, "edTEL")->setFocus();
    prompts.expectConfirm(kWrongBinQuestion, false);
    click(*card, "btnClose");
    prompts.verify();
    EXPECT_TRUE(card->isVisible()) << "Нет keeps the card open";
    EXPECT_EQ(card->focusWidget(), bin) << "and returns to the field";
    EXPECT_EQ(count(s("select count(*) from CLIENTS where NAMEORG='ТОО Новый'")), 0);

    prompts.expectConfirm(kWrongBinQuestion, true);
    click(*card, "btnClose");
    EXPECT_EQ(card->result(), QDialog::Accepted);
    EXPECT_EQ(stored("BINIIN"), s("060440019474"));
}

TEST_F(ClientCard, AnIikFillsTheEmptyBikAndBankNameFromTheDirectory)
{
    typeInto(*card, "edBANK", s("Народный банк, Алматы"));
    typeInto(*card, "edIIK", s("KZ47 6010 1310 0017 9714"));
    EXPECT_EQ(child<QLineEdit>(*card, "edBIK")->text(), s("HSBKKZKX"));
    EXPECT_EQ(child<QLineEdit>(*card, "edBANK")->text(), s("Народный банк, Алматы"))
        << "a typed name stays";
    click(*card, "btnClose"); // every value passes: nothing is asked
    EXPECT_EQ(card->result(), QDialog::Accepted);
    EXPECT_EQ(stored("IIK || '|' || BIK"), s("KZ47 6010 1310 0017 9714|HSBKKZKX"));
}

TEST_F(ClientCard, AccountsAreMarkedFilledAndAskedAboutInTheCard)
{
    auto &grid = *child<DbGrid>(*card, "DBGrid1");
    Dataset &accounts = *dm.DSetSchets;

    // An IIK typed into a new account's cell is marked while typed and fills the row's bank.
    click(*card, "BitBtn3");
    const QModelIndex iik = grid.model()->index(accounts.currentIndex(), 0);
    grid.setCurrentIndex(iik);
    grid.edit(iik);
    auto *editor = grid.viewport()->findChild<QLineEdit *>();
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor, QStringLiteral("KZ24722S"));
    EXPECT_TRUE(isMarkedWrong(editor));
    EXPECT_EQ(editor->toolTip(), s("в ИИК 20 знаков, а введено 8"));
    QTest::keyClicks(editor, QStringLiteral("000000686267"));
    EXPECT_FALSE(isMarkedWrong(editor));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor hands its text over after the key
    EXPECT_EQ(accounts.asString(s("BIK")), s("CASPKZKA"));
    EXPECT_EQ(accounts.asString(s("BANK")), s("АО «KASPI BANK»"));
    EXPECT_FALSE(framedInRed(grid, iik));

    // A second account with a short IIK is framed and named when "ОК" asks.
    click(*card, "BitBtn3");
    const int wrongRow = accounts.currentIndex();
    grid.model()->setData(grid.model()->index(wrongRow, 0), s("KZ1"), Qt::EditRole);
    accounts.post();
    EXPECT_TRUE(framedInRed(grid, grid.model()->index(accounts.currentIndex(), 0)));
    clickRow(grid, 0);
    prompts.expectConfirm(s("Проверьте реквизиты:\nСчет: ИИК KZ1: в ИИК 20 знаков, а введено 3"
                            "\n\nСохранить всё равно?"),
                          false);
    click(*card, "btnClose");
    prompts.verify();
    EXPECT_TRUE(card->isVisible());
    EXPECT_EQ(accounts.asString(s("IIK")), s("KZ1")) << "back on the failing account";
    EXPECT_EQ(grid.currentIndex().column(), 0);
}

// Grounds ---------------------------------------------------------------------------------

TEST_F(Refbooks, GroundsOfTheDocumentsClientOfAnyKindArePickedIntoTheDocument)
{
    reopen(*dm.DSetClients, QStringLiteral("select * from CLIENTS where TIP=1"));
    dm.DSetClients->locate(trader);
    insertRow(*dm.DSetOsnovanie, {{"OSNOVANIE", s("Договор № 5")}});
    reopen(*dm.DSetClients, QStringLiteral("select * from CLIENTS where TIP=0"));
    TfrmOsnovanie grounds(context(), nullptr, ListPick::IntoDocument);
    EXPECT_TRUE(grounds.clientFound());
    EXPECT_EQ(dm.DSetClients->asInteger(QStringLiteral("KOD")), trader);
    click(grounds, "btnClose");
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("OSNOVANIE")), s("Договор № 5"));
}

TEST_F(Refbooks, ADocumentWhoseClientIsNotListedShowsNoGroundsAndAddsNone)
{
    dm.DSetClients->locate(alfa);
    insertRow(*dm.DSetOsnovanie, {{"OSNOVANIE", s("Чужой договор")}});
    dm.DSetDocs->edit();
    dm.DSetDocs->setValue(QStringLiteral("NAMEORG"), s("ип гамма")); // case differs
    dm.DSetDocs->post();
    {
        TfrmOsnovanie grounds(context(), nullptr, ListPick::IntoDocument);
        grounds.show();
        EXPECT_FALSE(grounds.clientFound());
        EXPECT_TRUE(dm.DSetOsnovanie->isEmpty());
        EXPECT_TRUE(child<QLabel>(grounds, "lblNoClient")->isVisible());
        prompts.expectInform({});
        click(grounds, "BitBtn1");
        prompts.verify();
        EXPECT_EQ(count(QStringLiteral("select count(*) from OSNOVANIE")), 1);
        click(grounds, "btnCancel");
    }
    EXPECT_EQ(dm.DSetOsnovanie->selectSql(),
              QStringLiteral("Select * from OSNOVANIE where KODORG=:KOD order by osnovanie"))
        << "the grounds follow the current client again";
}

// Goods and the quantity prompt -------------------------------------------------------------

struct QuantityCase {
    const char *name;
    const char *item;
    const char *typed; // nullptr: "Отмена"
    bool message;
    double quantity, stock;
};

void PrintTo(const QuantityCase &c, std::ostream *os)
{
    *os << c.name;
}

class QuantityPrompt : public Refbooks, public ::testing::WithParamInterface<QuantityCase> {};

TEST_P(QuantityPrompt, TakesTheQuantityOffTheStock)
{
    const QuantityCase &c = GetParam();
    runChild = [&](QDialog &prompt) {
        if (c.typed) {
            typeInto(prompt, "DBEdit1", s(c.typed));
            if (c.message)
                prompts.expectInform(kStockMessage);
            click(prompt, "Button1");
        } else {
            click(prompt, "Button2");
        }
        return prompt.result();
    };
    TfrmNomenkl list(context(), nullptr, GoodsPick::AddLine);
    if (QString::fromUtf8(c.item) == s("Доставка"))
        list.setActiveTab(1);
    const int row = columnTexts(*dm.DSetNomenkl, QStringLiteral("NAME")).indexOf(s(c.item));
    ASSERT_GE(row, 0);
    dm.DSetNomenkl->setCurrentIndex(row);
    click(list, "btnClose");
    prompts.verify();
    EXPECT_EQ(dm.DSetDetail->asFloat(QStringLiteral("KOLVO")), c.quantity);
    EXPECT_EQ(dm.DSetDetail->asString(QStringLiteral("NAME")), s(c.item));
    EXPECT_EQ(dm.DSetDetail->asFloat(QStringLiteral("STNDS")), 12.0);
    EXPECT_EQ(FbStatement::scalar(dm.TsnRW, QStringLiteral("select coalesce(OSTATOK, -1) from "
                                                           "NOMENKLOTURA where NAME='") +
                                                s(c.item) + QStringLiteral("'"))
                  .toDouble(),
              c.stock);
}

INSTANTIATE_TEST_SUITE_P(
    Stock, QuantityPrompt,
    ::testing::Values(QuantityCase{"WithinStock", "Гвозди", "4", false, 4, 6},
                      QuantityCase{"OverStock", "болты", "5", true, 5, 0},
                      QuantityCase{"NoStockValue", "Доставка", "1", true, 1, 0},
                      QuantityCase{"Cancelled", "Гвозди", nullptr, false, 0, 10}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Refbooks, ANewLineIsNumberedAfterTheLargestNumber)
{
    const auto addLine = [this] {
        TfrmNomenkl list(context(), nullptr, GoodsPick::AddLine);
        click(list, "btnClose");
        return dm.DSetDetail->asInteger(QStringLiteral("NUM"));
    };
    EXPECT_EQ(addLine(), 1) << "the first line";
    for (int num : {2, 5})
        insertRow(*dm.DSetDetail, {{"NUM", num}, {"NAME", s("x")}});
    EXPECT_EQ(addLine(), 6);
}

TEST_F(Refbooks, ReplacingALinesItemKeepsItsQuantityNumberAndTheStock)
{
    insertRow(*dm.DSetDetail, {{"NUM", 3}, {"NAME", s("старое")}, {"KOLVO", 7.0}});
    TfrmNomenkl list(context(), nullptr, GoodsPick::ReplaceItem);
    dm.DSetNomenkl->locate(nails);
    list.grid()->gridDoubleClicked();
    EXPECT_EQ(list.result(), QDialog::Accepted);
    EXPECT_EQ(dm.DSetDetail->asString(QStringLiteral("NAME")), s("Гвозди"));
    EXPECT_EQ(dm.DSetDetail->asFloat(QStringLiteral("CENASHT")), 100.0);
    EXPECT_EQ(dm.DSetDetail->asFloat(QStringLiteral("KOLVO")), 7.0);
    EXPECT_EQ(dm.DSetDetail->asInteger(QStringLiteral("NUM")), 3);
    EXPECT_EQ(dm.DSetNomenkl->asFloat(QStringLiteral("OSTATOK")), 10.0);
}

TEST_F(Refbooks, ANewItemTakesTheKindOfItsTabAndBrowsingIgnoresDoubleClicks)
{
    TfrmNomenkl list(context());
    list.show();
    list.setActiveTab(1);
    click(list, "btnAdd");
    EXPECT_EQ(count(QStringLiteral("select count(*) from NOMENKLOTURA where TIP=1")), 2);
    list.grid()->gridDoubleClicked();
    EXPECT_TRUE(list.isVisible());
    EXPECT_EQ(dm.DSetDetail->recordCount(), 0);
}

TEST_F(Refbooks, ANumberColumnIsSearchedByEquality)
{
    TfrmNomenkl list(context());
    list.show();
    list.grid()->setCurrentIndex(list.grid()->model()->index(0, 3)); // "Остаток"
    typeInto(list, "Edit1", s("3"));
    EXPECT_EQ(dm.DSetNomenkl->asString(QStringLiteral("NAME")), s("болты"));
    typeInto(list, "Edit1", s("1"));
    EXPECT_EQ(dm.DSetNomenkl->asString(QStringLiteral("NAME")), s("болты")) << "10 is not 1";
}

TEST_F(Refbooks, ACellTextTheDatabaseCannotStoreIsRefusedAndTheRowKeepsItsValue)
{
    TfrmKNP list(context());
    list.show();
    DbGrid &grid = *list.grid();
    const QModelIndex cell = grid.model()->index(0, 1); // "Описание КНП" of 710
    grid.setCurrentIndex(cell);
    grid.edit(cell);
    auto *editor = grid.viewport()->findChild<QLineEdit *>();
    ASSERT_TRUE(editor);
    editor->setText(s("Аренда \u2603"));
    prompts.expectError({}, applicationTitle());
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor hands its text over after the key
    prompts.verify();
    EXPECT_EQ(dm.DSetKNP->asString(QStringLiteral("NAME")), s("Аренда"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from KNP where NAME='Аренда'")), 1);
}

// Kazakh names --------------------------------------------------------------------------------

TEST_F(Refbooks, KazakhNamesAreStoredFoundAndReadBackByAnotherConnection)
{
    const QString name = s("ТОО «Құрылыс-Өнім»");
    const QString address = s("Әуезов көшесі, 12, Шығыс Үй, Ғарыш Һ");
    TfrmOrg clients(context());
    clients.show();
    runChild = [&](QDialog &client) {
        typeInto(client, "edNAMEORG", s("ТОО «Құрылыс» 中"));
        prompts.expectError(s("Текст поля «Наименование» содержит символы, которые нельзя "
                              "сохранить в базе данных: 中"),
                            applicationTitle());
        click(client, "btnClose");
        prompts.verify();
        EXPECT_NE(client.result(), int(QDialog::Accepted)) << "the card stays to be put right";
        typeInto(client, "edNAMEORG", name);
        typeInto(client, "edADRES", address);
        click(client, "btnClose");
        return int(QDialog::Accepted);
    };
    click(clients, "BitBtn1");
    dm.DSetClients->first();
    typeInto(clients, "Edit1", s("тоо «құр"));
    EXPECT_EQ(dm.DSetClients->asString(QStringLiteral("NAMEORG")), name);

    TfrmNomenkl goods(context());
    goods.show();
    DbGrid &grid = *goods.grid();
    grid.setCurrentIndex(grid.model()->index(0, 0));
    grid.edit(grid.currentIndex());
    auto *editor = grid.viewport()->findChild<QLineEdit *>();
    ASSERT_TRUE(editor);
    editor->setText(s("Цемент «Ақ Өзен» ұн"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    dm.DSetNomenkl->post();
    dm.TsnRW.commit();

    TDM other;
    other.DataModuleCreate(db.path());
    other.TsnRW.start();
    EXPECT_EQ(FbStatement::scalar(other.TsnRW,
                                  QStringLiteral("select ADRES from CLIENTS where NAMEORG = '") +
                                      name + QLatin1Char('\''))
                  .toString(),
              address);
    EXPECT_EQ(FbStatement::scalar(other.TsnRW, QStringLiteral("select count(*) from NOMENKLOTURA "
                                                              "where NAME = 'Цемент «Ақ Өзен» ұн'"))
                  .toInt(),
              1);
}

// Payment purpose codes ---------------------------------------------------------------------

TEST_F(Refbooks, PickingACodePutsOnlyTheCodeIntoTheDocumentAndTheOrderStays)
{
    {
        TfrmKNP browse(context());
        browse.show();
        clickTitle(*browse.grid(), 1); // "Описание КНП"
        click(browse, "btnClose");
    }
    TfrmKNP list(context(), nullptr, ListPick::IntoDocument);
    EXPECT_EQ(columnTexts(*dm.DSetKNP, QStringLiteral("NAME")),
              QStringList({s("Аренда"), s("Прочие")}));
    list.show();
    typeInto(list, "Edit1", s("9"));
    EXPECT_EQ(dm.DSetKNP->asString(QStringLiteral("KNP")), s("911"));
    QTest::keyClick(child<QLineEdit>(list, "Edit1"), Qt::Key_Return);
    EXPECT_EQ(list.result(), QDialog::Accepted) << "Enter picks";
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("KNP")), s("911"));
}

} // namespace
