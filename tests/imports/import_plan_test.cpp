// The checks of imported values and the fate of each row, before anything is written.
#include "imports/column_mapping.h"
#include "imports/import_plan.h"
#include "imports/value_parsing.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(ParseNumber, ReadsWhatSpreadsheetsWrite)
{
    const struct {
        const char *text;
        std::optional<double> value;
    } cases[] = {
        {"1250.5", 1250.5},
        {"1 250,50", 1250.5},
        {"1\u00A0250,50", 1250.5},
        {"1\u202F250", 1250},
        {"1.250,50", 1250.5},
        {"1,250.50", 1250.5},
        {"1,250,000", 1250000},
        {"-3,5", -3.5},
        {" 7 ", 7},
        {"+2", 2},
        {"12а", std::nullopt},
        {"", std::nullopt},
        {"1e5", std::nullopt},
        {"--1", std::nullopt},
        {"1,2.3,4", std::nullopt},
        {"inf", std::nullopt},
        {"١٢", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parseNumber(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(GuessMapping, TakesRussianAndEnglishHeaders)
{
    const ColumnMapping russian = guessMapping(
        ImportTarget::Goods,
        {QStringLiteral("№"), QStringLiteral("Наименование товара"), QStringLiteral("Ед. изм."),
         QStringLiteral(" Цена "), QStringLiteral("Кол-во")});
    EXPECT_EQ(russian, (ColumnMapping{{QStringLiteral("NAME"), 1},
                                      {QStringLiteral("EDIZM"), 2},
                                      {QStringLiteral("CENA"), 3},
                                      {QStringLiteral("OSTATOK"), 4}}));
    const ColumnMapping english =
        guessMapping(ImportTarget::Clients,
                     {QStringLiteral("Company"), QStringLiteral("BIN/IIN"), QStringLiteral("IBAN"),
                      QStringLiteral("Bank"), QStringLiteral("BIC"), QStringLiteral("Phone")});
    EXPECT_EQ(english, (ColumnMapping{{QStringLiteral("NAMEORG"), 0},
                                      {QStringLiteral("BINIIN"), 1},
                                      {QStringLiteral("IIK"), 2},
                                      {QStringLiteral("BANK"), 3},
                                      {QStringLiteral("BIK"), 4},
                                      {QStringLiteral("TEL"), 5}}));
}

TEST(MappingText, RoundTripsAndRefusesWhatIsNotThere)
{
    const QStringList header = {QStringLiteral("Товар"), QStringLiteral(""),
                                QStringLiteral("Цена")};
    const ColumnMapping mapping = {
        {QStringLiteral("NAME"), 0}, {QStringLiteral("EDIZM"), 1}, {QStringLiteral("CENA"), 2}};
    const QString text = mappingToText(mapping, header);
    EXPECT_EQ(text, QStringLiteral("CENA=Цена;EDIZM=2;NAME=Товар"));
    EXPECT_EQ(mappingFromText(ImportTarget::Goods, text, header).mapping, mapping);
    EXPECT_EQ(mappingFromText(ImportTarget::Goods, QStringLiteral("PRICE=3"), header).error,
              QStringLiteral("Неизвестное поле в сопоставлении столбцов: PRICE=3"));
    EXPECT_EQ(mappingFromText(ImportTarget::Goods, QStringLiteral("CENA=Стоимость"), header).error,
              QStringLiteral("В файле нет столбца «Стоимость» для поля CENA"));
}

ImportTable goodsTable(std::vector<QStringList> rows)
{
    return {{QStringLiteral("Наименование"), QStringLiteral("Цена"), QStringLiteral("Вид")},
            std::move(rows),
            {}};
}

PlanRequest goodsRequest(DuplicateChoice duplicates = DuplicateChoice::Skip)
{
    return {ImportTarget::Goods,
            {{QStringLiteral("NAME"), 0}, {QStringLiteral("CENA"), 1}, {QStringLiteral("TIP"), 2}},
            0,
            duplicates};
}

const ExistingRow kNothingThere = [](int, const QString &) { return std::optional<int>(); };

TEST(PlanImport, ReportsEachBadValueByRowAndColumn)
{
    const ImportPlan plan = planImport(
        goodsTable({{QStringLiteral("Молоко"), QStringLiteral("1 250,50"), QString()},
                    {QString(), QStringLiteral("1"), QString()},
                    {QStringLiteral("Сыр"), QStringLiteral("12а"), QStringLiteral("Услуги")},
                    {QString(300, u'я'), QStringLiteral("1"), QStringLiteral("1")},
                    {QStringLiteral("Чай 中国"), QStringLiteral("1"), QStringLiteral("7")},
                    {QStringLiteral("Хлеб")}}),
        goodsRequest(), kNothingThere);
    EXPECT_EQ(
        plan.errors,
        (QStringList{
            QStringLiteral("Строка 3, «Наименование»: пустое значение, строка не импортируется"),
            QStringLiteral("Строка 4, «Стоимость»: «12а» — не число"),
            QStringLiteral("Строка 5, «Наименование»: текст длиннее 256 символов (300)"),
            QStringLiteral("Строка 6, «Наименование»: символы, которые нельзя сохранить в "
                           "базе данных: 中国"),
            QStringLiteral("Строка 6, «Вид»: «7» — нет такого вида (Товары, Услуги, Прочее)"),
        }));
    EXPECT_EQ(planSummary(plan),
              QStringLiteral("будет добавлено 2, обновлено 0, пропущено 0, с ошибками 4"));
    ASSERT_EQ(plan.rows.size(), 2u);
    EXPECT_EQ(plan.rows[0].values.value(QStringLiteral("CENA")).toDouble(), 1250.5);
    EXPECT_TRUE(plan.rows[1].values.value(QStringLiteral("CENA")).isNull()); // a short row
}

TEST(PlanImport, ChecksTheClientsIdentifiers)
{
    const ImportTable table{{QStringLiteral("Наименование"), QStringLiteral("БИН")},
                            {{QStringLiteral("ТОО Альфа"), QStringLiteral("123")}},
                            {}};
    const PlanRequest request{ImportTarget::Clients,
                              {{QStringLiteral("NAMEORG"), 0}, {QStringLiteral("BINIIN"), 1}}};
    const ImportPlan plan = planImport(table, request, kNothingThere);
    EXPECT_EQ(plan.failed, 1);
    ASSERT_EQ(plan.errors.size(), 1);
    EXPECT_TRUE(plan.errors[0].startsWith(QStringLiteral("Строка 2: БИН (ИИН) 123: ")))
        << plan.errors[0].toStdString();
}

TEST(PlanImport, WithoutANameColumnNothingIsImported)
{
    PlanRequest request = goodsRequest();
    request.mapping.erase(QStringLiteral("NAME"));
    const ImportPlan plan = planImport(
        goodsTable({{QStringLiteral("Молоко"), QStringLiteral("1")}}), request, kNothingThere);
    EXPECT_TRUE(plan.rows.empty());
    EXPECT_EQ(plan.failed, 1);
}

// "Молоко" is in the database as a good (KOD 7), "Чай" as a service only; the file repeats "Хлеб".
TEST(PlanImport, DuplicatesFollowTheOneChoice)
{
    const ExistingRow existing = [](int kind, const QString &name) {
        if (kind == 0 && name.toLower() == QStringLiteral("молоко"))
            return std::optional<int>(7);
        return std::optional<int>();
    };
    const ImportTable table = goodsTable({{QStringLiteral("МОЛОКО"), QStringLiteral("2")},
                                          {QStringLiteral("Чай"), QStringLiteral("3")},
                                          {QStringLiteral("Хлеб"), QStringLiteral("4")},
                                          {QStringLiteral("Хлеб"), QStringLiteral("5")}});
    const struct {
        DuplicateChoice choice;
        const char *summary;
        size_t rows;
    } cases[] = {
        {DuplicateChoice::Skip, "будет добавлено 2, обновлено 0, пропущено 2, с ошибками 0", 2},
        {DuplicateChoice::Update, "будет добавлено 2, обновлено 2, пропущено 0, с ошибками 0", 3},
        {DuplicateChoice::AddNew, "будет добавлено 4, обновлено 0, пропущено 0, с ошибками 0", 4},
    };
    for (const auto &c : cases) {
        const ImportPlan plan = planImport(table, goodsRequest(c.choice), existing);
        EXPECT_EQ(planSummary(plan), QString::fromUtf8(c.summary))
            << duplicateChoiceCaption(c.choice).toStdString();
        EXPECT_EQ(plan.rows.size(), c.rows);
        if (c.choice == DuplicateChoice::Update) {
            EXPECT_EQ(plan.rows[0].action, PlannedRow::Update);
            EXPECT_EQ(plan.rows[0].existingKod, 7);
            EXPECT_EQ(plan.rows[2].values.value(QStringLiteral("CENA")).toDouble(), 5); // last wins
        }
    }
}

} // namespace
