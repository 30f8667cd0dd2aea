#include "typed_id.h"

namespace {

bool isLatinOrDigit(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// Russian capitals drawn like Latin ones: what a wrong keyboard layout leaves in a code.
bool looksLatin(QChar c)
{
    return QStringView(u"АВЕКМНОРСТХ").contains(c);
}

QString place(qsizetype index)
{
    return QString::number(index + 1) + QStringLiteral("-м месте");
}

} // namespace

QString compactId(const QString &typed)
{
    QString compact;
    compact.reserve(typed.size());
    for (QChar c : typed) {
        if (c.isSpace() || c == u'-' || c == u'\u2013' || c == u'\u2014')
            continue;
        compact.append(c.toUpper());
    }
    return compact;
}

std::optional<QString> foreignCharacter(const QString &compact, qsizetype index)
{
    const QChar c = compact.at(index);
    if (isLatinOrDigit(c))
        return std::nullopt;
    if (looksLatin(c))
        return QStringLiteral("«%1» на %2 — русская буква, нужна латинская")
            .arg(c)
            .arg(place(index));
    return QStringLiteral("знак «%1» на %2: допустимы только латинские буквы и цифры")
        .arg(c)
        .arg(place(index));
}

std::optional<QString> firstForeignCharacter(const QString &compact)
{
    for (qsizetype i = 0; i < compact.size(); ++i) {
        if (auto reason = foreignCharacter(compact, i))
            return reason;
    }
    return std::nullopt;
}

std::optional<QString> firstNonDigit(const QString &compact)
{
    for (qsizetype i = 0; i < compact.size(); ++i) {
        const QChar c = compact.at(i);
        if (c < u'0' || c > u'9')
            return QStringLiteral("знак «%1» на %2: допустимы только цифры").arg(c).arg(place(i));
    }
    return std::nullopt;
}
