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

// The other tables' rows are told by one column each.
const struct {
    const char *table;
    const char *caption;
    const char *column;
} kTitles[] = {
    {"DETAILDOCS", "Строка документа: ", "NAME"},
    {"CLIENTS", "Клиент: ", "NAMEORG"},
    {"RASSCHET", "Банковский счет: ", "IIK"},
    {"OSNOVANIE", "Основание: ", "OSNOVANIE"},
    {"NOMENKLOTURA", "Товар или услуга: ", "NAME"},
    {"KNP", "Код назначения платежа: ", "KNP"},
    {"REKVIZITY", "Собственные реквизиты: ", "NAMEORG"},
};

} // namespace

QString recordTitle(const QString &table, const Dataset &d)
{
    if (table == QLatin1String("DOCS"))
        return documentTitle(d);
    for (const auto &title : kTitles) {
        if (table == QLatin1String(title.table))
            return QString::fromUtf8(title.caption) + text(d, title.column);
    }
    return QString();
}
