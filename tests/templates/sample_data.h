#pragma once

// Fixed rows for running the built-in templates in tests and benchmarks: the fields the
// forms read, as the data module gives them.

#include "report/report_rows.h"

#include <QDateTime>
#include <QString>

#include <cmath>
#include <memory>

namespace sample {

using zreport::FieldKind;
using zreport::MemoryRows;

// What sets the documents of the forms' edge cases apart.
struct DocumentKind {
    int vatMode = 0;            // the business's VARRASCHET: 2 works without VAT
    bool hasAct = false;        // the document has an act number
    bool clientHasPhone = true; // the client is found in the reference book with a telephone
    bool blank = false;         // every field of the document is empty
};

// The business's requisites; the director signs the forms, and each form's golden file
// carries the director it was made with.
inline std::unique_ptr<MemoryRows>
rekvizity(const DocumentKind &kind = {},
          const QString &director = QStringLiteral("Сейтказиев Арман Болатович"))
{
    auto rows =
        std::make_unique<MemoryRows>(QList<MemoryRows::Column>{{"KOD", FieldKind::Numeric},
                                                               {"NAMEORG", FieldKind::String},
                                                               {"ADRES", FieldKind::String},
                                                               {"BINIIN", FieldKind::String},
                                                               {"BANK", FieldKind::String},
                                                               {"IIK", FieldKind::String},
                                                               {"BIK", FieldKind::String},
                                                               {"KBE", FieldKind::String},
                                                               {"STNDS", FieldKind::Numeric},
                                                               {"VARRASCHET", FieldKind::Numeric},
                                                               {"RNN", FieldKind::String},
                                                               {"RUK", FieldKind::String},
                                                               {"GLBUX", FieldKind::String},
                                                               {"TEL", FieldKind::String}});
    rows->addRow({1, QStringLiteral("ТОО «Зарник Трейд»"),
                  QStringLiteral("Республика Казахстан, г. Алматы, ул. Абая, д. 150, офис 12"),
                  QStringLiteral("123456789012"), QStringLiteral("АО «Народный Банк Казахстана»"),
                  QStringLiteral("KZ126010002000012345"), QStringLiteral("HSBKKZKX"),
                  QStringLiteral("17"), 12.0, kind.vatMode,
                  QStringLiteral("серия 60001 № 0012345 от 15.01.2010"), director,
                  QStringLiteral("Ким Елена Викторовна"), QStringLiteral("+7 727 250-11-22")});
    return rows;
}

// The document's columns that the VAT invoice, the waybill and the act read besides the
// invoice's, with their values.
inline void addFormsColumns(QList<MemoryRows::Column> &columns, QVariantList &values,
                            const DocumentKind &kind)
{
    columns += {{"SUMBEZNDS", FieldKind::Numeric},  {"BINIIN", FieldKind::String},
                {"ADRES", FieldKind::String},       {"IIK", FieldKind::String},
                {"BANK", FieldKind::String},        {"BIK", FieldKind::String},
                {"NUMSCHF", FieldKind::Numeric},    {"DATASCHF", FieldKind::Numeric},
                {"USLOVOPLATY", FieldKind::String}, {"PUNKTNAZN", FieldKind::String},
                {"PODOVER", FieldKind::String},     {"SPOSOBOTPR", FieldKind::String},
                {"NAKL", FieldKind::String},        {"NUMNAKL", FieldKind::Numeric},
                {"DATANAKL", FieldKind::Numeric},   {"NUMACT", FieldKind::Numeric},
                {"DATAACT", FieldKind::Numeric},    {"gruzot", FieldKind::String},
                {"gruzopol", FieldKind::String},    {"sumtovpropis", FieldKind::String},
                {"tel", FieldKind::String}};
    const QString client = values.at(1).toString();
    const QString clientBin = QStringLiteral("850415300123");
    // Long enough to take two lines wherever a form prints the client's address.
    const QString clientAddress =
        QStringLiteral("Республика Казахстан, Карагандинская область, г. Караганда, проспект "
                       "Бухар-Жырау, дом 45, офис 301, бизнес-центр «Сарыарка»");
    const QString middle = QStringLiteral(", БИН(ИИН) и адрес: ");
    const QString consignor = QStringLiteral("ТОО «Зарник Трейд»") + middle +
                              QStringLiteral("123456789012, Республика Казахстан, г. Алматы, "
                                             "ул. Абая, д. 150, офис 12");
    const QString consignee = client + middle + clientBin + QStringLiteral(", ") + clientAddress;
    const QDateTime date(QDate(2024, 3, 5), QTime(0, 0));
    const double total = values.at(6).toDouble(), vat = values.at(7).toDouble();
    values += {total - vat, clientBin, clientAddress, QStringLiteral("KZ86125KZT5004100100"),
               QStringLiteral("АО «Kaspi Bank»"), QStringLiteral("CASPKZKA"), 15, date,
               QStringLiteral("Предоплата 100%"), QStringLiteral("г. Караганда, склад покупателя"),
               // Long enough to take more than one line in the waybill's signature block.
               QStringLiteral("№ 34 от 04.03.2024, выдана кладовщику Петрову Петру Петровичу "
                              "на получение товарно-материальных ценностей по договору "
                              "поставки № 7 от 01.02.2024"),
               QStringLiteral("Автотранспорт"), QStringLiteral("№ 15 от 05.03.2024"), 15, date,
               kind.hasAct ? 15 : 0, kind.hasAct ? QVariant(date) : QVariant(),
               kind.hasAct ? QStringLiteral(" - ") : consignor,
               kind.hasAct ? QStringLiteral(" - ") : consignee, QStringLiteral("Шесть"),
               kind.clientHasPhone ? QVariant(QStringLiteral("8 (7212) 41-15-20")) : QVariant()};
}

inline std::unique_ptr<MemoryRows> document(double total, double vat, int lines,
                                            const DocumentKind &kind = {})
{
    QList<MemoryRows::Column> columns{
        {"KOD", FieldKind::Numeric},         {"NAMEORG", FieldKind::String},
        {"NUMSCH", FieldKind::Numeric},      {"DATASCH", FieldKind::Numeric},
        {"OSNOVANIE", FieldKind::String},    {"KNP", FieldKind::String},
        {"STREALIZSUM", FieldKind::Numeric}, {"VTNDS", FieldKind::Numeric},
        {"SUMTOV", FieldKind::Numeric},      {"SUMPROPIS", FieldKind::String}};
    QVariantList values{7,
                        QStringLiteral("ИП Иванов Иван Иванович"),
                        15,
                        QDateTime(QDate(2024, 3, 5), QTime(0, 0)),
                        QStringLiteral("Договор поставки № 7 от 01.02.2024"),
                        QStringLiteral("710"),
                        total,
                        vat,
                        lines,
                        QStringLiteral("Сто двенадцать тысяч пятьсот тенге 50 тиын")};
    addFormsColumns(columns, values, kind);
    if (kind.blank)
        values.fill(QVariant());
    auto rows = std::make_unique<MemoryRows>(columns);
    rows->addRow(values);
    return rows;
}

inline std::unique_ptr<MemoryRows> emptyDetail()
{
    return std::make_unique<MemoryRows>(
        QList<MemoryRows::Column>{{"KOD", FieldKind::Numeric},
                                  {"NUM", FieldKind::Numeric},
                                  {"NAME", FieldKind::String},
                                  {"EDIZM", FieldKind::String},
                                  {"KOLVO", FieldKind::Numeric},
                                  {"CENASHT", FieldKind::Numeric},
                                  {"SUMNDS", FieldKind::Numeric},
                                  {"STREALIZ", FieldKind::Numeric},
                                  {"CENASUMBEZNDS", FieldKind::Numeric},
                                  {"STAKCIZ", FieldKind::Numeric},
                                  {"SUMAKCIZ", FieldKind::Numeric},
                                  {"beznds", FieldKind::String},
                                  {"cenashtbeznds", FieldKind::Numeric}});
}

// Names that need one, two and three lines in the invoice's name column.
inline QString lineName(int i)
{
    static const QString names[] = {
        QStringLiteral("Бумага офисная А4"),
        QStringLiteral("Картридж лазерный для принтера HP LaserJet Pro, черный"),
        QStringLiteral("Услуги по техническому обслуживанию и ремонту копировальной техники "
                       "в офисе заказчика за март"),
    };
    return names[i % 3];
}

// Line i of an invoice whose descriptions all differ, a third of them long enough to wrap, so
// no line's text or layout repeats another's (the drawing benchmarks).
inline QString distinctLineName(int i)
{
    const QString number = QString::number(i + 1);
    switch (i % 3) {
    case 0:
        return QStringLiteral("Услуги по техническому обслуживанию копировальной техники в офисе "
                              "заказчика, заявка № ") +
               number;
    case 1:
        return QStringLiteral("Бумага офисная А4, арт. ") + number;
    default:
        return QStringLiteral("Картридж лазерный, партия ") + number;
    }
}

inline double distinctLineQuantity(int i)
{
    return double(i % 5 + 1);
}

inline double distinctLinePrice(int i)
{
    return 1250.5 + 100 * (i % 7);
}

inline double distinctLineAmount(int i)
{
    return std::round(distinctLineQuantity(i) * distinctLinePrice(i) * 100) / 100;
}

// Quantity, price, amount and unit of line i, the same in every form's lines.
inline double lineQuantity(int i)
{
    return (i % 4 == 3) ? 2.5 : double(i % 5 + 1);
}

inline double linePrice(int i)
{
    return 1250.5 + 100 * (i % 7);
}

inline double lineAmount(int i)
{
    return std::round(lineQuantity(i) * linePrice(i) * 100) / 100;
}

inline QString lineUnit(int i)
{
    return i % 3 == 2 ? QStringLiteral("усл.") : QStringLiteral("шт.");
}

inline std::unique_ptr<MemoryRows> detail(int lines, double *total = nullptr,
                                          const DocumentKind &kind = {})
{
    auto rows = emptyDetail();
    double sum = 0;
    for (int i = 0; i < lines; ++i) {
        const double quantity = lineQuantity(i);
        const double amount = lineAmount(i);
        const double vat = std::round(amount * 12 / 112 * 100) / 100;
        sum += amount;
        rows->addRow({100 + i, i + 1, lineName(i), lineUnit(i), quantity, linePrice(i), vat, amount,
                      amount - vat, 0, 0,
                      kind.vatMode == 2 ? QStringLiteral("без НДС") : QStringLiteral("12"),
                      std::round((amount - vat) / quantity * 100) / 100});
    }
    if (total)
        *total = sum;
    return rows;
}

inline std::unique_ptr<MemoryRows> knp(int count)
{
    auto rows = std::make_unique<MemoryRows>(QList<MemoryRows::Column>{
        {"KOD", FieldKind::Numeric}, {"KNP", FieldKind::String}, {"NAME", FieldKind::String}});
    static const QString names[] = {
        QStringLiteral("Оплата за товары"),
        QStringLiteral("Оплата за услуги, выполненные работы и нематериальные активы, "
                       "кроме указанных в других кодах назначения платежей"),
        QStringLiteral("Возврат ошибочно зачисленных сумм"),
    };
    for (int i = 0; i < count; ++i)
        rows->addRow({i + 1, QString::number(710 + i), names[i % 3]});
    return rows;
}

inline std::unique_ptr<MemoryRows> clients(int count)
{
    auto rows =
        std::make_unique<MemoryRows>(QList<MemoryRows::Column>{{"KOD", FieldKind::Numeric},
                                                               {"TIP", FieldKind::Numeric},
                                                               {"NAMEORG", FieldKind::String},
                                                               {"KBE", FieldKind::String},
                                                               {"RNN", FieldKind::String},
                                                               {"BINIIN", FieldKind::String},
                                                               {"ADRES", FieldKind::String},
                                                               {"IIK", FieldKind::String},
                                                               {"BANK", FieldKind::String},
                                                               {"BIK", FieldKind::String},
                                                               {"TEL", FieldKind::String}});
    for (int i = 0; i < count; ++i) {
        const bool noBank = i % 3 == 2;
        rows->addRow({i + 1, 0,
                      i % 2 ? QStringLiteral("ТОО «Северный торговый дом и партнеры» №%1").arg(i)
                            : QStringLiteral("АО «Алмас» %1").arg(i),
                      QStringLiteral("17"), QStringLiteral("600400%1").arg(100000 + i),
                      QStringLiteral("98076%1").arg(5000000 + i),
                      QStringLiteral("г. Караганда, пр. Бухар-Жырау, %1").arg(10 + i),
                      noBank ? QVariant() : QStringLiteral("KZ86125KZT50041%1").arg(10000 + i),
                      noBank ? QVariant() : QStringLiteral("АО «Kaspi Bank»"),
                      noBank ? QVariant() : QStringLiteral("CASPKZKA"),
                      QStringLiteral("8 (7212) 41-%1-%2").arg(10 + i % 80).arg(20 + i % 70)});
    }
    return rows;
}

inline std::unique_ptr<MemoryRows> goods(int count)
{
    auto rows =
        std::make_unique<MemoryRows>(QList<MemoryRows::Column>{{"KOD", FieldKind::Numeric},
                                                               {"TIP", FieldKind::Numeric},
                                                               {"NAME", FieldKind::String},
                                                               {"EDIZM", FieldKind::String},
                                                               {"CENA", FieldKind::Numeric},
                                                               {"OSTATOK", FieldKind::Numeric}});
    for (int i = 0; i < count; ++i)
        rows->addRow({i + 1, 0, lineName(i), QStringLiteral("шт."), 1250.5 + i,
                      i % 2 ? QVariant(12.0 * i) : QVariant(0.5 + i)});
    return rows;
}

// The cash receipt order, the power of attorney and the payment order.

// What a document of these forms holds; the defaults are a filled-in document.
struct OrderDocument {
    double total = 0;
    double vat = 0;
    double rate = 12;
    QString words = QStringLiteral("Сто двенадцать тысяч пятьсот тенге 50 тиын");
    QString quantityWords = QStringLiteral("Двадцать");
    QString client = QStringLiteral("ТОО «Северный торговый дом и партнеры»");
    QVariant number = 42;
    QVariant date = QDateTime(QDate(2024, 3, 5), QTime(0, 0));
    QString passport = QStringLiteral("Удостоверение № 012345678, МВД РК, 12.05.2015");
    QString kbk = QStringLiteral("105102");
};

// The requisites the cash receipt order, the power of attorney and the payment order print.
inline std::unique_ptr<MemoryRows> orderRekvizity()
{
    return rekvizity({}, QStringLiteral("Ахметов Серик Болатович"));
}

// Every number and date of the document's forms carries d.number and d.date; the
// identity document is d.passport, the budget code d.kbk (as the data module splits them).
inline std::unique_ptr<MemoryRows> orderDocument(const OrderDocument &d)
{
    auto rows = std::make_unique<MemoryRows>(QList<MemoryRows::Column>{
        {"KOD", FieldKind::Numeric},         {"NAMEORG", FieldKind::String},
        {"BINIIN", FieldKind::String},       {"IIK", FieldKind::String},
        {"KBE", FieldKind::String},          {"BANK", FieldKind::String},
        {"BIK", FieldKind::String},          {"OSNOVANIE", FieldKind::String},
        {"KNP", FieldKind::String},          {"NUMPRIX", FieldKind::Numeric},
        {"DATAPRIX", FieldKind::Numeric},    {"NUMDOV", FieldKind::Numeric},
        {"DATADOV", FieldKind::Numeric},     {"DEISTVDO", FieldKind::Numeric},
        {"KOMU", FieldKind::String},         {"NUM_DATANARYAD", FieldKind::String},
        {"NUMPLAT", FieldKind::Numeric},     {"DATAPLAT", FieldKind::Numeric},
        {"STNDS", FieldKind::Numeric},       {"STREALIZSUM", FieldKind::Numeric},
        {"VTNDS", FieldKind::Numeric},       {"SUMPROPIS", FieldKind::String},
        {"sumtovpropis", FieldKind::String}, {"Docum", FieldKind::String},
        {"KBK", FieldKind::String}});
    const bool named = !d.client.isEmpty();
    const auto text = [named](const char *value) {
        return named ? QVariant(QString::fromUtf8(value)) : QVariant();
    };
    const QVariant validUntil =
        d.date.isNull() ? QVariant() : QVariant(d.date.toDateTime().addDays(10));
    rows->addRow({7,
                  named ? QVariant(d.client) : QVariant(),
                  text("980765001234"),
                  text("KZ86125KZT5004100100"),
                  text("17"),
                  text("АО «Kaspi Bank»"),
                  text("CASPKZKA"),
                  text("Договор поставки № 7 от 01.02.2024"),
                  text("710"),
                  d.number,
                  d.date,
                  d.number,
                  d.date,
                  validUntil,
                  text("Менеджеру по снабжению Сейтказиеву Нурлану Ержановичу"),
                  text("Счет на оплату № 15 от 05.03.2024"),
                  d.number,
                  d.date,
                  d.rate,
                  d.total,
                  d.vat,
                  d.words,
                  d.quantityWords,
                  d.passport,
                  d.kbk});
    return rows;
}

// Lines of the power of attorney: the invoice's lines with their quantities in words.
inline std::unique_ptr<MemoryRows> orderDetail(int lines, double *total = nullptr)
{
    static const QString words[] = {QStringLiteral("Один"), QStringLiteral("Два"),
                                    QStringLiteral("Три"), QStringLiteral("Четыре"),
                                    QStringLiteral("Пять")};
    auto rows =
        std::make_unique<MemoryRows>(QList<MemoryRows::Column>{{"KOD", FieldKind::Numeric},
                                                               {"NUM", FieldKind::Numeric},
                                                               {"NAME", FieldKind::String},
                                                               {"EDIZM", FieldKind::String},
                                                               {"KOLVO", FieldKind::Numeric},
                                                               {"STREALIZ", FieldKind::Numeric},
                                                               {"kolpropis", FieldKind::String}});
    double sum = 0;
    for (int i = 0; i < lines; ++i) {
        const double amount = lineAmount(i);
        sum += amount;
        rows->addRow({100 + i, i + 1, lineName(i), lineUnit(i), lineQuantity(i), amount,
                      (i % 4 == 3) ? words[1] : words[i % 5]});
    }
    if (total)
        *total = sum;
    return rows;
}

} // namespace sample
