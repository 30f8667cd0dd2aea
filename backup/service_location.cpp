#include "service_location.h"

#include "data/server_address.h"
#include "data/server_location.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace zbackup {

ServiceLocation serviceLocation(const QString &location)
{
    // The engine resolves a relative name against its own working folder, which is ours only
    // while it is embedded.
    if (!database::isServerLocation(location))
        return {QStringLiteral("service_mgr"), QFileInfo(location).absoluteFilePath(), false};
    static const QRegularExpression inet(QStringLiteral("^(inet[46]?://[^/]+)/(.+)$"));
    if (const QRegularExpressionMatch match = inet.match(location); match.hasMatch())
        return {match.captured(1) + QStringLiteral("/service_mgr"), match.captured(2), true};
    // "host:path" or "host/port:path"
    const std::optional<database::ServerAddress> server = database::parseServerAddress(location);
    return {database::connectionString({server->host, server->port, QStringLiteral("service_mgr")}),
            server->database, true};
}

} // namespace zbackup
