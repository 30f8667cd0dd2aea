#include "value_parsing.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

bool isThousandsBlank(QChar c)
{
    return c == u' ' || c == u'\u00A0' || c == u'\u202F' || c == u'\u2009' || c == u'\'';
}

} // namespace

std::optional<double> parseNumber(const QString &text)
{
    QString digits;
    for (const QChar c : text.trimmed()) {
        if (!isThousandsBlank(c))
            digits += c;
    }
    const qsizetype lastComma = digits.lastIndexOf(u',');
    const qsizetype lastDot = digits.lastIndexOf(u'.');
    QChar decimal = lastComma > lastDot ? u',' : u'.';
    const QChar grouping = decimal == u',' ? u'.' : u',';
    // "1,250,000" groups with its only separator: more than one of it cannot be a decimal.
    if (digits.count(decimal) > 1 && digits.count(grouping) == 0) {
        digits.remove(decimal);
        decimal = QChar();
    }
    digits.remove(grouping);
    if (!decimal.isNull())
        digits.replace(decimal, u'.');
    if (digits.startsWith(u'+'))
        digits.remove(0, 1);
    std::string latin;
    for (const QChar c : digits) {
        if (!(c.isDigit() && c.unicode() < 0x80) && c != u'.' && c != u'-')
            return std::nullopt;
        latin += char(c.unicode());
    }
    if (latin.empty())
        return std::nullopt;
    double value = 0;
    const auto [end, error] =
        std::from_chars(latin.data(), latin.data() + latin.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != latin.data() + latin.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}
