#pragma once

// Fixed rows for the cash receipt order, the power of attorney and the payment order in
// tests and benchmarks: the fields these three forms read, as the data module gives them.

#include "report_rows.h"
#include "sample_data.h"

#include <QDateTime>
#include <QString>

#include <cmath>
#include <memory>

namespace sample {

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

inline std::unique_ptr<MemoryRows> orderRekvizity()
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
                                                               {"RUK", FieldKind::String},
                                                               {"GLBUX", FieldKind::String},
                                                               {"STNDS", FieldKind::Numeric},
                                                               {"VARRASCHET", FieldKind::Numeric}});
    rows->addRow({1, QStringLiteral("ТОО «Зарник Трейд»"),
                  QStringLiteral("Республика Казахстан, г. Алматы, ул. Абая, д. 150, офис 12"),
                  QStringLiteral("123456789012"), QStringLiteral("АО «Народный Банк Казахстана»"),
                  QStringLiteral("KZ126010002000012345"), QStringLiteral("HSBKKZKX"),
                  QStringLiteral("17"), QStringLiteral("Ахметов Серик Болатович"),
                  QStringLiteral("Ким Елена Викторовна"), 12.0, 0});
    return rows;
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
        const double quantity = (i % 4 == 3) ? 2.5 : double(i % 5 + 1);
        const double amount = std::round(quantity * (1250.5 + 100 * (i % 7)) * 100) / 100;
        sum += amount;
        rows->addRow({100 + i, i + 1, lineName(i),
                      i % 3 == 2 ? QStringLiteral("усл.") : QStringLiteral("шт."), quantity, amount,
                      (i % 4 == 3) ? words[1] : words[i % 5]});
    }
    if (total)
        *total = sum;
    return rows;
}

} // namespace sample
