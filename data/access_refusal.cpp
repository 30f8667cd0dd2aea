#include "access_refusal.h"

#include <ibase.h>

#include <QRegularExpression>

namespace access_refusal {

namespace {

QString actionWords(const QString &privilege)
{
    if (privilege == u"SELECT")
        return QStringLiteral("чтение");
    if (privilege == u"INSERT")
        return QStringLiteral("добавление");
    if (privilege == u"UPDATE")
        return QStringLiteral("изменение");
    if (privilege == u"DELETE")
        return QStringLiteral("удаление");
    if (privilege == u"USAGE")
        return QStringLiteral("новые номера строк");
    return QStringLiteral("это действие");
}

// The data as a user knows it; an object of another program by its own name.
QString dataWords(const QString &object)
{
    static const struct {
        const char *object;
        const char *words;
    } kNames[] = {
        {"DOCS", "документы"},
        {"DETAILDOCS", "строки документов"},
        {"CLIENTS", "клиентов"},
        {"RASSCHET", "счета клиентов"},
        {"OSNOVANIE", "основания (договоры) клиентов"},
        {"NOMENKLOTURA", "товары и услуги"},
        {"KNP", "коды назначения платежа"},
        {"REKVIZITY", "реквизиты"},
        {"IMAGES", "изображения реквизитов"},
        {"SETTINGS", "настройки реквизитов"},
        {"NUMBERING", "нумерацию документов"},
        {"PAYMENTS", "оплаты"},
        {"DUEDATES", "сроки оплаты"},
        {"BANK_OPERATIONS", "операции банковских выписок"},
        {"DOC_AUDIT", "запись о том, кто изменял документы"},
        {"TEMPLATES", "бланки документов"},
    };
    for (const auto &name : kNames) {
        if (object == QLatin1String(name.object))
            return QString::fromUtf8(name.words);
    }
    return object;
}

} // namespace

bool isRefused(const DbError &error)
{
    return error.hasEngineCode(isc_no_priv);
}

DbError refused(const QString &engineText, std::vector<long> engineCodes)
{
    static const QRegularExpression kWhat(
        QStringLiteral("no permission for (\\w+) access to \\w+ \"?([A-Z0-9_$]+)"));
    const QRegularExpressionMatch what = kWhat.match(engineText);
    QString action = QStringLiteral("это действие");
    if (what.hasMatch()) {
        // A generator numbers the rows of its table: "DOCS_KOD_GEN".
        QString object = what.captured(2);
        if (object.endsWith(u"_KOD_GEN"))
            object.chop(8);
        action = actionWords(what.captured(1)) + QStringLiteral(" (") + dataWords(object) + u')';
    }
    return DbError(QStringLiteral("Сервер базы данных не разрешил вашей роли %1.\nРоли "
                                  "пользователей назначает владелец базы данных (\"Сервис\" → "
                                  "\"Пользователи...\").\n\n%2")
                       .arg(action, engineText),
                   std::move(engineCodes), 0);
}

} // namespace access_refusal
