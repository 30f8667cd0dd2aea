// Writing an import into a real database: the round trip through export, the duplicate
// choices, and all rows or none when a row fails or the user cancels.
#include "data/db_error.h"
#include "data/email_addresses.h"
#include "data/fb_statement.h"
#include "data/tdm.h"
#include "imports/column_mapping.h"
#include "imports/csv_reader.h"
#include "imports/csv_writer.h"
#include "imports/import_writer.h"
#include "temp_database.h"

#include <gtest/gtest.h>

namespace {

int countRows(TDM &dm, const QString &table)
{
    return FbStatement::scalar(dm.TsnRW, QStringLiteral("select count(*) from ") + table).toInt();
}

// Reads, plans and writes a CSV text, as the window's "Импортировать" does.
ImportPlan importCsv(TDM &dm, ImportTarget target, const QByteArray &csv, int kind = 0,
                     DuplicateChoice duplicates = DuplicateChoice::Skip)
{
    const TableRead read = csv::readBytes(csv);
    EXPECT_TRUE(read.ok()) << read.error.toStdString();
    const ExistingRows existing(dm.TsnRW, target);
    const ImportPlan plan =
        planImport(read.table, {target, guessMapping(target, read.table.header), kind, duplicates},
                   existing.lookup());
    EXPECT_EQ(writePlan(dm.TsnRW, target, plan), WriteOutcome::Written);
    return plan;
}

class ImportDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        dm.DataModuleCreate(db.path());
        if (!dm.TsnRW.isActive())
            dm.TsnRW.start();
    }

    int count(const QString &table) { return countRows(dm, table); }
    void import(ImportTarget target, const QByteArray &csv, int kind = 0,
                DuplicateChoice duplicates = DuplicateChoice::Skip)
    {
        importCsv(dm, target, csv, kind, duplicates);
    }

    TempDatabase db;
    TDM dm;
};

const QByteArray kGoods = "Наименование;Ед. изм.;Цена;Остаток;Вид\n"
                          "\"Хлеб \"\"Бородинский\"\";\nнарезка\";шт;\"1 250,50\";3;Товары\n"
                          "Молоко;л;0,1;;0\n"
                          "Доставка;;5000;;Услуги\n"
                          "Қымыз;л;1e0x;1;0\n"; // refused: not a number

TEST_F(ImportDatabase, ExportedListImportsBackAsTheSameList)
{
    import(ImportTarget::Goods, kGoods);
    import(ImportTarget::Clients,
           "Наименование;БИН(ИИН);КБЕ;Адрес;ИИК;Банк;БИК;Телефоны\n"
           "ТОО \"Альфа\";;17;\"г. Алматы;\nпр. Абая 1\";;АО Банк;;+7 727 000\n"
           "ИП Қасымов;;;;;;;\n");
    const QByteArray goods = exportCsv(dm.TsnRW, ImportTarget::Goods, 0);
    const QByteArray clients = exportCsv(dm.TsnRW, ImportTarget::Clients, 0);
    EXPECT_TRUE(
        goods.startsWith("\xEF\xBB\xBFНаименование;Единица измерения;Стоимость;Остаток\r\n"))
        << goods.toStdString();
    EXPECT_TRUE(goods.contains("Молоко;л;0,1;\r\n")) << goods.toStdString();

    TempDatabase other;
    TDM second;
    second.DataModuleCreate(other.path());
    for (const auto &[target, csv] :
         {std::pair{ImportTarget::Goods, goods}, std::pair{ImportTarget::Clients, clients}}) {
        const TableRead read = csv::readBytes(csv);
        ASSERT_TRUE(read.ok()) << read.error.toStdString();
        const ExistingRows existing(second.TsnRW, target);
        const ImportPlan plan = planImport(
            read.table, {target, guessMapping(target, read.table.header), 0}, existing.lookup());
        EXPECT_EQ(plan.failed, 0) << plan.errors.join(u'\n').toStdString();
        writePlan(second.TsnRW, target, plan);
        EXPECT_EQ(exportCsv(second.TsnRW, target, 0), csv);
    }
    EXPECT_EQ(count(QStringLiteral("RASSCHET")), 0); // no account number, no account
}

TEST(ImportDuplicates, FollowTheOneChoiceAgainstTheDatabase)
{
    const struct {
        DuplicateChoice choice;
        int rows;
        double milkPrice; // of the first "Молоко"
    } cases[] = {
        {DuplicateChoice::Skip, 2, 100},
        {DuplicateChoice::Update, 2, 150},
        {DuplicateChoice::AddNew, 3, 100},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(duplicateChoiceCaption(c.choice).toStdString());
        TempDatabase db;
        TDM dm;
        dm.DataModuleCreate(db.path());
        importCsv(dm, ImportTarget::Goods, "Наименование;Цена\nМолоко;100\n");
        importCsv(dm, ImportTarget::Goods, "Наименование;Цена\nмолоко;150\nХлеб;50\n", 0, c.choice);
        EXPECT_EQ(countRows(dm, QStringLiteral("NOMENKLOTURA")), c.rows);
        EXPECT_EQ(FbStatement::scalar(dm.TsnRW, QStringLiteral("select CENA from NOMENKLOTURA "
                                                               "where KOD = (select min(KOD) from "
                                                               "NOMENKLOTURA)"))
                      .toDouble(),
                  c.milkPrice);
    }
}

TEST_F(ImportDatabase, AClientsAccountJoinsItsListOfAccountsOnce)
{
    const QByteArray csv = "Наименование;ИИК;Банк;БИК\nТОО Альфа;KZ86125KZT5004100100;Банк;\n";
    import(ImportTarget::Clients, csv);
    import(ImportTarget::Clients, csv, 0, DuplicateChoice::Update);
    EXPECT_EQ(count(QStringLiteral("CLIENTS")), 1);
    EXPECT_EQ(count(QStringLiteral("RASSCHET")), 1);
    EXPECT_EQ(FbStatement::scalar(dm.TsnRW, QStringLiteral("select count(*) from RASSCHET r join "
                                                           "CLIENTS c on c.KOD = r.KODORG"))
                  .toInt(),
              1);
}

// A client's address goes out with the list and comes back into the program's own table of
// addresses; one that does not look like an address is kept and told about by row, as where it
// is typed, and an emptied one is removed by an update.
TEST_F(ImportDatabase, AClientsEmailGoesOutAndComesBack)
{
    const ImportPlan plan = importCsv(dm, ImportTarget::Clients,
                                      "Наименование;Электронная почта\n"
                                      "ТОО Альфа;buh@alfa.kz\n"
                                      "ТОО Бета;buh@beta\n"
                                      "ТОО Гамма;\n");
    EXPECT_EQ(plan.failed, 0);
    EXPECT_EQ(plan.warnings,
              QStringList{QStringLiteral("Строка 3, «E-mail»: «buh@beta» — неверное имя почтового "
                                         "сервера после знака @; адрес сохранен, проверьте его")});
    const auto address = [this](const char *name) {
        const int kod = FbStatement::scalar(dm.TsnRW, QStringLiteral("select KOD from CLIENTS "
                                                                     "where NAMEORG = '%1'")
                                                          .arg(QString::fromUtf8(name)))
                            .toInt();
        return email_addresses::of(dm.TsnRW, email_addresses::ownerOfClient(kod));
    };
    EXPECT_EQ(address("ТОО Альфа"), QStringLiteral("buh@alfa.kz"));
    EXPECT_EQ(address("ТОО Бета"), QStringLiteral("buh@beta"));
    EXPECT_EQ(count(QStringLiteral("EMAILS")), 2);

    const QByteArray csv = exportCsv(dm.TsnRW, ImportTarget::Clients, 0);
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBFНаименование;БИН (ИИН);КБЕ;Адрес;Телефоны;ИИК;Банк;"
                               "БИК;E-mail\r\n"))
        << csv.toStdString();
    EXPECT_TRUE(csv.contains("\r\nТОО Альфа;;;;;;;;buh@alfa.kz\r\n")) << csv.toStdString();
    EXPECT_TRUE(csv.contains("\r\nТОО Гамма;;;;;;;;\r\n")) << csv.toStdString();

    import(ImportTarget::Clients, "Наименование;E-mail\nТОО Альфа;\n", 0, DuplicateChoice::Update);
    EXPECT_TRUE(address("ТОО Альфа").isEmpty());
    EXPECT_EQ(address("ТОО Бета"), QStringLiteral("buh@beta"));
}

// A change made earlier in the same transaction, and the rows already there, survive an
// import that fails or is cancelled at its last row; none of its rows stays.
TEST_F(ImportDatabase, AllOrNothing)
{
    enum Failure { ProgressThrows, DatabaseRefusesLastRow, UserCancels };
    for (const Failure failure : {ProgressThrows, DatabaseRefusesLastRow, UserCancels}) {
        SCOPED_TRACE(int(failure));
        FbStatement pending(dm.TsnRW);
        pending.prepare(QStringLiteral("insert into NOMENKLOTURA (KOD, TIP, NAME) values "
                                       "(gen_id(NOMENKLOTURA_KOD_GEN, 1), 0, 'до импорта')"));
        pending.execute();
        const int before = count(QStringLiteral("NOMENKLOTURA"));

        ImportPlan plan;
        for (int r = 0; r < 5; ++r)
            plan.rows.push_back(
                {PlannedRow::Add, 0, 0, {{QStringLiteral("NAME"), QString::number(r)}}});
        if (failure == DatabaseRefusesLastRow) // past the checks, as a damaged plan would be
            plan.rows.back().values.insert(QStringLiteral("NAME"), QString(300, u'x'));
        const WriteProgress progress = [&](int done, int total) {
            if (done == total - 1 && failure == ProgressThrows)
                throw DbError(QStringLiteral("сбой на последней строке"));
            return !(done == total - 1 && failure == UserCancels);
        };
        if (failure == UserCancels) {
            EXPECT_EQ(writePlan(dm.TsnRW, ImportTarget::Goods, plan, progress),
                      WriteOutcome::Cancelled);
        } else {
            EXPECT_THROW(writePlan(dm.TsnRW, ImportTarget::Goods, plan, progress), DbError);
        }
        EXPECT_EQ(count(QStringLiteral("NOMENKLOTURA")), before);
        EXPECT_EQ(FbStatement::scalar(dm.TsnRW, QStringLiteral("select count(*) from NOMENKLOTURA "
                                                               "where NAME = 'до импорта'"))
                      .toInt(),
                  before);
    }
    // The transaction goes on: the next import writes.
    import(ImportTarget::Goods, "Наименование\nЧай\n");
    EXPECT_EQ(FbStatement::scalar(dm.TsnRW, QStringLiteral("select count(*) from NOMENKLOTURA "
                                                           "where NAME = 'Чай'"))
                  .toInt(),
              1);
}

} // namespace
