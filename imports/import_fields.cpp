#include "import_fields.h"

namespace {

QStringList words(const char *list)
{
    return QString::fromUtf8(list).split(u'|');
}

} // namespace

const std::vector<ImportField> &importFields(ImportTarget target)
{
    static const std::vector<ImportField> goods = {
        {QStringLiteral("NAME"),
         QStringLiteral("Наименование"),
         FieldKind::Text,
         true,
         {},
         words("наименование|название|наименование товара|товар|name|product|item|description")},
        {QStringLiteral("EDIZM"),
         QStringLiteral("Единица измерения"),
         FieldKind::Text,
         false,
         {},
         words("единица измерения|ед. изм.|ед.изм.|ед изм|единица|ед.|unit|uom")},
        {QStringLiteral("CENA"),
         QStringLiteral("Стоимость"),
         FieldKind::Number,
         false,
         {},
         words("стоимость|цена|цена за единицу|price|cost|unit price")},
        {QStringLiteral("OSTATOK"),
         QStringLiteral("Остаток"),
         FieldKind::Number,
         false,
         {},
         words("остаток|количество|кол-во|склад|stock|quantity|qty")},
        {QStringLiteral("TIP"),
         QStringLiteral("Вид"),
         FieldKind::Kind,
         false,
         {},
         words("вид|тип|kind|type|category")},
    };
    static const std::vector<ImportField> clients = {
        {QStringLiteral("NAMEORG"),
         QStringLiteral("Наименование"),
         FieldKind::Text,
         true,
         {},
         words("наименование|название|организация|клиент|контрагент|name|company|client")},
        {QStringLiteral("BINIIN"), QStringLiteral("БИН (ИИН)"), FieldKind::Text, false,
         IdKind::BinIin, words("бин(иин)|бин (иин)|бин|иин|бин/иин|bin|iin|bin/iin")},
        {QStringLiteral("KBE"), QStringLiteral("КБЕ"), FieldKind::Text, false, IdKind::Kbe,
         words("кбе|kbe")},
        {QStringLiteral("ADRES"),
         QStringLiteral("Адрес"),
         FieldKind::Text,
         false,
         {},
         words("адрес|юридический адрес|address")},
        {QStringLiteral("TEL"),
         QStringLiteral("Телефоны"),
         FieldKind::Text,
         false,
         {},
         words("телефоны|телефон|тел.|phone|phones|telephone")},
        {QStringLiteral("IIK"), QStringLiteral("ИИК"), FieldKind::Text, false, IdKind::Iik,
         words("иик (№ расчетного счета)|иик|расчетный счет|счет|iik|iban|account")},
        {QStringLiteral("BANK"),
         QStringLiteral("Банк"),
         FieldKind::Text,
         false,
         {},
         words("банк|наименование банка|bank")},
        {QStringLiteral("BIK"), QStringLiteral("БИК"), FieldKind::Text, false, IdKind::Bik,
         words("бик|bik|bic|swift")},
        {QStringLiteral("EMAIL"),
         QStringLiteral("E-mail"),
         FieldKind::Email,
         false,
         {},
         words("e-mail|email|e-mail:|электронная почта|эл. почта|почта|mail")},
    };
    return target == ImportTarget::Goods ? goods : clients;
}

QString nameColumn(ImportTarget target)
{
    return target == ImportTarget::Goods ? QStringLiteral("NAME") : QStringLiteral("NAMEORG");
}

QStringList kindCaptions(ImportTarget target)
{
    return target == ImportTarget::Goods
               ? QStringList{QStringLiteral("Товары"), QStringLiteral("Услуги"),
                             QStringLiteral("Прочее")}
               : QStringList{QStringLiteral("Организации"), QStringLiteral("Частные лица (ИП)"),
                             QStringLiteral("Прочие")};
}
