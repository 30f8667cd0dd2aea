#include "email_address.h"

#include <QRegularExpression>
#include <QStringList>

std::optional<QString> emailAddressProblem(const QString &address)
{
    if (address.isEmpty())
        return QStringLiteral("адрес не указан");
    for (const QChar c : address) {
        if (c.isSpace())
            return QStringLiteral("в адресе пробел");
        if (c.unicode() > 0x7e || c.unicode() < 0x21)
            return QStringLiteral("в адресе буква «%1»: пишется латиницей").arg(c);
    }
    const QStringList parts = address.split(u'@');
    if (parts.size() != 2)
        return parts.size() < 2 ? QStringLiteral("в адресе нет знака @")
                                : QStringLiteral("в адресе больше одного знака @");
    const QString &local = parts[0];
    const QString &domain = parts[1];
    static const QRegularExpression localPart(
        QStringLiteral("^[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+"
                       "(\\.[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+)*$"));
    if (local.isEmpty() || !localPart.match(local).hasMatch())
        return QStringLiteral("неверное имя до знака @");
    static const QRegularExpression domainName(
        QStringLiteral("^([A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?\\.)+[A-Za-z]{2,}$"));
    if (!domainName.match(domain).hasMatch())
        return QStringLiteral("неверное имя почтового сервера после знака @");
    return std::nullopt;
}
