#include "payment_options.h"

std::optional<QDate> parseCommandDate(const QString &text)
{
    const QDate date = QDate::fromString(text.trimmed(), QStringLiteral("dd.MM.yyyy"));
    if (!date.isValid())
        return std::nullopt;
    return date;
}
