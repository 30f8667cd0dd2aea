#include "record_titles.h"

#include "dataset.h"

namespace {

QString text(const Dataset &d, const char *column)
{
    return d.asString(QString::fromLatin1(column)).trimmed();
}

QString documentTitle(const Dataset &d)
{
    QString title = QStringLiteral("Документ: счет");
    const QString number = text(d, "NUMSCH");
    if (!number.isEmpty() && number != QLatin1String("0"))
        title += QStringLiteral(" № ") + number;
    const QDate date = d.asDateTime(QStringLiteral("DATASCH")).date();
    if (date.isValid() && date.year() > 1900)
        title += QStringLiteral(" от ") + date.toString(QStringLiteral("dd.MM.yyyy"));
    const QString client = text(d, "NAMEORG");
    if (!client.isEmpty())
        title += QStringLiteral(", ") + client;
    return title;
}

} // namespace

QString recordTitle(const QString &table, const Dataset &d)
{
    if (table == QLatin1String("DOCS"))
        return documentTitle(d);
    if (table == QLatin1String("DETAILDOCS"))
        return QStringLiteral("Строка документа: ") + text(d, "NAME");
    if (table == QLatin1String("CLIENTS"))
        return QStringLiteral("Клиент: ") + text(d, "NAMEORG");
    if (table == QLatin1String("RASSCHET"))
        return QStringLiteral("Банковский счет: ") + text(d, "IIK");
    if (table == QLatin1String("OSNOVANIE"))
        return QStringLiteral("Основание: ") + text(d, "OSNOVANIE");
    if (table == QLatin1String("NOMENKLOTURA"))
        return QStringLiteral("Товар или услуга: ") + text(d, "NAME");
    if (table == QLatin1String("KNP"))
        return QStringLiteral("Код назначения платежа: ") + text(d, "KNP");
    if (table == QLatin1String("REKVIZITY"))
        return QStringLiteral("Собственные реквизиты: ") + text(d, "NAMEORG");
    return QString();
}
