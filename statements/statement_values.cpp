#include "statement_values.h"

#include <charconv>
#include <string>

namespace statement_values {

std::optional<double> amount(const QString &text)
{
    std::string ascii;
    ascii.reserve(size_t(text.size()));
    bool separator = false, digits = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isSpace() || c == QChar(0x00A0))
            continue;
        if (c == QLatin1Char('-') && ascii.empty()) {
            ascii += '-';
        } else if (c == QLatin1Char('.') || c == QLatin1Char(',')) {
            if (separator)
                return std::nullopt;
            separator = true;
            ascii += '.';
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits = true;
            ascii += char(c.unicode());
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;
    double value = 0;
    const char *first = ascii.data();
    const char *last = ascii.data() + ascii.size();
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

QDate date(const QString &text)
{
    const QString day = text.section(QLatin1Char(' '), 0, 0);
    QDate result = QDate::fromString(day, QStringLiteral("dd.MM.yyyy"));
    if (!result.isValid())
        result = QDate::fromString(day, QStringLiteral("d.M.yyyy"));
    if (!result.isValid())
        result = QDate::fromString(day, QStringLiteral("yyyy-MM-dd"));
    return result;
}

QString account(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (!c.isSpace())
            result += c.toUpper();
    }
    return result;
}

} // namespace statement_values
