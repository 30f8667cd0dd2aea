#include "demo_data.h"

#include "date_time.h"
#include "tdm.h"

#include <QVariantMap>

namespace {

using Values = std::vector<std::pair<const char *, QVariant>>;

QVariant text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

qint64 insertRow(Dataset *dataset, const Values &values)
{
    dataset->append();
    for (const auto &[name, value] : values)
        dataset->setValue(QString::fromLatin1(name), value);
    dataset->post();
    return dataset->asInteger(QStringLiteral("KOD"));
}

struct Client {
    int tip;
    const char *name, *bin, *address, *iik, *bank, *bik, *tel;
    std::vector<const char *> grounds;
};

struct Item {
    int tip;
    const char *name, *unit;
    double price, stock;
};

struct Line {
    const char *name, *unit;
    double quantity, price;
};

struct Document {
    int client;
    int number;
    QDate date;
    const char *ground, *knp;
    std::vector<Line> lines;
    bool archived;
};

} // namespace

void fillDemoData(TDM &dm)
{
    for (Dataset *dataset : dm.mainDatasets())
        dataset->open();

    insertRow(dm.DSetRekvizity, {{"NAMEORG", text("ТОО «Алтын Дала Трейд»")},
                                 {"NAMEPODR", text("Отдел продаж")},
                                 {"NAMESKLAD", text("Склад №1, г. Алматы")},
                                 {"RNN", text("серия 60001 № 0123456")},
                                 {"ADRES", text("050000, г. Алматы, пр. Абая, 150, офис 12")},
                                 {"RUK", text("Сейткали А.Б.")},
                                 {"GLBUX", text("Ахметова Г.К.")},
                                 {"KBE", text("17")},
                                 {"BINIIN", text("180540012343")},
                                 {"NUMSTART", 1},
                                 {"IIK", text("KZ306017131000012345")},
                                 {"BANK", text("АО «Народный Банк Казахстана»")},
                                 {"BIK", text("HSBKKZKX")},
                                 {"STNDS", 16.0},
                                 {"VARRASCHET", 0},
                                 {"TEL", text("+7 727 250-11-22, +7 701 555-44-33")}});

    for (const auto &[iik, bank, bik] :
         {std::tuple{"KZ306017131000012345", "АО «Народный Банк Казахстана»", "HSBKKZKX"},
          std::tuple{"KZ64722S000001234567", "АО «Kaspi Bank»", "CASPKZKA"}})
        insertRow(dm.DSetSchetORG,
                  {{"KODORG", 0}, {"IIK", text(iik)}, {"BANK", text(bank)}, {"BIK", text(bik)}});

    const std::vector<Client> clients = {
        {0,
         "ТОО «Степной Ветер»",
         "150940023457",
         "010000, г. Астана, ул. Кенесары, 40",
         "KZ12601A861000123456",
         "АО «Халык Банк»",
         "HSBKKZKX",
         "+7 7172 55-66-77",
         {"Договор поставки № 15 от 10.01.2026", "Договор на оказание услуг № 7-У от 02.02.2026"}},
        {0,
         "АО \"Казахская логистическая компания\"",
         "090340005671",
         "100000, г. Караганда, ул. Бухар-Жырау, 55",
         "KZ89856A1KZTD2001234",
         "АО «Банк ЦентрКредит»",
         "KCJBKZKX",
         "+7 7212 41-20-30",
         {"Договор № 2026/31 от 15.01.2026"}},
        {1,
         "ИП Нурланов Берик Ерланович",
         "850612301236",
         "160000, г. Шымкент, мкр. Самал-2, д. 8, кв. 14",
         "KZ18722S000009876543",
         "Удостоверение личности № 041234567 выдано МВД РК 12.05.2016",
         "CASPKZKA",
         "+7 702 111-22-33",
         {"Счет-договор № 3 от 01.03.2026"}},
        {2,
         "КГУ «Школа-гимназия № 25»",
         "000140004322",
         "050012, г. Алматы, ул. Толе би, 101",
         "KZ94070105KSN0000001",
         "РГУ «Комитет казначейства МФ РК»",
         "KKMFKZ2A",
         "+7 727 292-00-25",
         {"Договор о государственных закупках № 112 от 20.02.2026"}},
    };
    for (const Client &c : clients) {
        dm.clientsPage = c.tip;
        const qint64 kod = insertRow(dm.DSetClients, {{"TIP", c.tip},
                                                      {"NAMEORG", text(c.name)},
                                                      {"KBE", text(c.tip == 2 ? "12" : "17")},
                                                      {"RNN", text("")},
                                                      {"BINIIN", text(c.bin)},
                                                      {"ADRES", text(c.address)},
                                                      {"IIK", text(c.iik)},
                                                      {"BANK", text(c.bank)},
                                                      {"BIK", text(c.bik)},
                                                      {"TEL", text(c.tel)}});
        insertRow(dm.DSetSchets, {{"KODORG", int(kod)},
                                  {"IIK", text(c.iik)},
                                  {"BANK", text(c.bank)},
                                  {"BIK", text(c.bik)}});
        for (const char *ground : c.grounds)
            insertRow(dm.DSetOsnovanie, {{"KODORG", int(kod)}, {"OSNOVANIE", text(ground)}});
    }
    dm.clientsPage = 0;

    const std::vector<Item> items = {
        {0, "Бумага офисная А4, 80 г/м2, 500 листов", "пачка", 2350, 120},
        {0, "Картридж лазерный черный, 1600 страниц", "шт", 18900, 14},
        {0, "Кресло офисное «Менеджер», черное", "шт", 46500, 6},
        {0, "Папка-регистратор 75 мм", "шт", 890, 200},
        {1, "Заправка лазерного картриджа", "услуга", 4500, 0},
        {1, "Ремонт оргтехники", "час", 7000, 0},
        {2, "Доставка по городу", "рейс", 3000, 0},
    };
    for (const Item &item : items) {
        dm.nomenklPage = item.tip;
        insertRow(dm.DSetNomenkl, {{"TIP", item.tip},
                                   {"NAME", text(item.name)},
                                   {"EDIZM", text(item.unit)},
                                   {"CENA", item.price},
                                   {"OSTATOK", item.stock}});
    }
    dm.nomenklPage = 0;

    for (const auto &[code, name] :
         {std::pair{"710", "Оплата за товары"}, std::pair{"859", "Оплата за прочие услуги"},
          std::pair{"780", "Оплата за работы, услуги по договору"}})
        insertRow(dm.DSetKNP, {{"KNP", text(code)}, {"NAME", text(name)}});

    const std::vector<Document> documents = {
        {0,
         1,
         QDate(2026, 3, 2),
         "Договор поставки № 15 от 10.01.2026",
         "710",
         {{"Бумага офисная А4, 80 г/м2, 500 листов", "пачка", 40, 2350},
          {"Картридж лазерный черный, 1600 страниц", "шт", 3, 18900},
          {"Папка-регистратор 75 мм", "шт", 25, 890}},
         false},
        {1,
         2,
         QDate(2026, 3, 5),
         "Договор № 2026/31 от 15.01.2026",
         "710",
         {{"Кресло офисное «Менеджер», черное", "шт", 4, 46500},
          {"Доставка по городу", "рейс", 1, 3000}},
         false},
        {2,
         3,
         QDate(2026, 3, 11),
         "Счет-договор № 3 от 01.03.2026",
         "859",
         {{"Заправка лазерного картриджа", "услуга", 6, 4500},
          {"Ремонт оргтехники", "час", 2.5, 7000}},
         false},
        {3,
         4,
         QDate(2026, 3, 17),
         "Договор о государственных закупках № 112 от 20.02.2026",
         "710",
         {{"Бумага офисная А4, 80 г/м2, 500 листов", "пачка", 100, 2350}},
         false},
        {0,
         5,
         QDate(2026, 2, 20),
         "Договор на оказание услуг № 7-У от 02.02.2026",
         "780",
         {{"Ремонт оргтехники", "час", 3, 7000}},
         true},
    };
    const double rate = dm.DSetRekvizity->asFloat(QStringLiteral("STNDS"));
    for (const Document &d : documents) {
        const Client &c = clients[size_t(d.client)];
        dm.DSetDocs->append();
        const QString numberAndDate =
            QString::fromUtf8("№ %1 от %2").arg(d.number).arg(d.date.toString(u"dd.MM.yyyy"));
        const Values header = {
            {"KODARCHIV", d.archived ? 1 : 0},
            {"NAMEORG", text(c.name)},
            {"KBE", text(c.tip == 2 ? "12" : "17")},
            {"BINIIN", text(c.bin)},
            {"ADRES", text(c.address)},
            {"IIK", text(c.iik)},
            {"BANK", text(c.bank)},
            {"BIK", text(c.bik)},
            {"OSNOVANIE", text(d.ground)},
            {"KNP", text(d.knp)},
            {"NUMSCH", d.number},
            {"DATASCH", datetime::make(d.date)},
            {"NUMSCHF", d.number},
            {"DATASCHF", datetime::make(d.date)},
            {"NUMNAKL", d.number},
            {"DATANAKL", datetime::make(d.date)},
            {"NUMACT", d.number},
            {"DATAACT", datetime::make(d.date)},
            {"NUMPRIX", d.number},
            {"DATAPRIX", datetime::make(d.date)},
            {"NUMDOV", d.number},
            {"DATADOV", datetime::make(d.date)},
            {"DEISTVDO", datetime::make(d.date.addDays(10))},
            {"KOMU", text("Касымов Ерлан Маратович")},
            {"PASPVYD", text("№ 038765432 выдано МВД РК "
                             "14.09.2019$|$")},
            {"NUM_DATANARYAD", text(d.ground)},
            {"NUMPLAT", d.number},
            {"DATAPLAT", datetime::make(d.date)},
            {"PODOVER", QVariant(QString::fromUtf8("Доверенность ") + numberAndDate)},
            {"NAKL", QVariant(QString::fromUtf8("Накладная ") + numberAndDate)},
            {"USLOVOPLATY", text("Безналичный расчет")},
            {"PUNKTNAZN", text(c.address)},
            {"SPOSOBOTPR", text("Автотранспорт поставщика")},
            {"STNDS", rate}};
        for (const auto &[name, value] : header)
            dm.DSetDocs->setValue(QString::fromLatin1(name), value);
        dm.DSetDocs->post();
        const int kod = int(dm.DSetDocs->asInteger(QStringLiteral("KOD")));
        short number = 0;
        for (const Line &line : d.lines) {
            dm.DSetDetail->append();
            dm.DSetDetail->setValue(QStringLiteral("KODDOCS"), kod);
            dm.DSetDetail->setValue(QStringLiteral("NUM"), ++number);
            dm.DSetDetail->setValue(QStringLiteral("NAME"), text(line.name));
            dm.DSetDetail->setValue(QStringLiteral("EDIZM"), text(line.unit));
            dm.DSetDetail->setValue(QStringLiteral("STNDS"), rate);
            dm.DSetDetail->setValue(QStringLiteral("CENASHT"), line.price);
            dm.DSetDetail->setValue(QStringLiteral("KOLVO"), line.quantity);
            dm.DSetDetail->post();
        }
        dm.computeDocumentTotals(TotalsForm::Other);
        dm.DSetDocs->post();
    }
    dm.TsnRW.commit();
    dm.closeAllDatasets();
}
