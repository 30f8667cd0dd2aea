#include "template_titles.h"

namespace ztemplates {

QString builtinTemplateTitle(const QString &name)
{
    static const struct {
        const char *name;
        const char *title;
    } kTitles[] = {
        {"repSchet", "Счет на оплату"},
        {"repSchet_beznds", "Счет на оплату без НДС"},
        {"repSchF", "Счет-фактура"},
        {"repActKn", "Акт выполненных работ (альбомный)"},
        {"repActAlb", "Акт выполненных работ (книжный)"},
        {"repNaklKn", "Накладная (альбомная)"},
        {"repNaklAlb", "Накладная (книжная)"},
        {"repPrix", "Приходный кассовый ордер"},
        {"repDov", "Доверенность"},
        {"repPlat", "Платежное поручение"},
        {"repKNP", "Список кодов назначения платежа"},
        {"repOrg", "Список клиентов"},
        {"repNomenkl", "Список товаров и услуг"},
        {"repAktSverki", "Акт сверки взаимных расчетов"},
        {"repDolzhniki", "Должники"},
    };
    for (const auto &entry : kTitles) {
        if (name == QLatin1String(entry.name))
            return QString::fromUtf8(entry.title);
    }
    return name;
}

} // namespace ztemplates
