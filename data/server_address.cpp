#include "server_address.h"

#include "server_location.h"

#include <QRegularExpression>

namespace database {

namespace {

// An IPv6 address names its port after a slash, so its own colons need the brackets.
QString hostPart(const QString &host)
{
    return host.contains(u':') && !host.startsWith(u'[') ? u'[' + host + u']' : host;
}

QString bareHost(const QString &host)
{
    return host.startsWith(u'[') && host.endsWith(u']') ? host.mid(1, host.size() - 2) : host;
}

int portOrDefault(const QString &text)
{
    bool ok = false;
    const int port = text.toInt(&ok);
    return ok ? port : kDefaultServerPort;
}

} // namespace

QString connectionString(const ServerAddress &address)
{
    QString where = hostPart(address.host.trimmed());
    if (address.port != kDefaultServerPort)
        where += u'/' + QString::number(address.port);
    return where + u':' + address.database.trimmed();
}

std::optional<ServerAddress> parseServerAddress(const QString &location)
{
    if (!isServerLocation(location))
        return std::nullopt;
    // inet://host[:port]/database, where a path keeps its own leading slash after the one
    // that ends the host.
    static const QRegularExpression url(
        QStringLiteral("^[a-z0-9]+://(\\[[^\\]]*\\]|[^/:]*)(?::([0-9]+))?/(.*)$"),
        QRegularExpression::CaseInsensitiveOption);
    if (const auto match = url.match(location); match.hasMatch())
        return ServerAddress{bareHost(match.captured(1)), portOrDefault(match.captured(2)),
                             match.captured(3)};
    // host[/port]:database
    static const QRegularExpression legacy(
        QStringLiteral("^(\\[[^\\]]*\\]|[^/:]*)(?:/([^:]*))?:(.*)$"));
    if (const auto match = legacy.match(location); match.hasMatch())
        return ServerAddress{bareHost(match.captured(1)), portOrDefault(match.captured(2)),
                             match.captured(3)};
    return std::nullopt;
}

} // namespace database
