#include "service_location.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace zbackup {

ServiceLocation serviceLocation(const QString &location)
{
    static const QRegularExpression inet(QStringLiteral("^(inet[46]?://[^/]+)/(.+)$"));
    if (const QRegularExpressionMatch match = inet.match(location); match.hasMatch())
        return {match.captured(1) + QStringLiteral("/service_mgr"), match.captured(2), true};
    // "host:path" or "host/port:path"; a path of this computer starts with '/' or '.' and a
    // host name never holds a slash before its port.
    static const QRegularExpression server(QStringLiteral("^([^/.:][^:]*):(.+)$"));
    if (const QRegularExpressionMatch match = server.match(location); match.hasMatch())
        return {match.captured(1) + QStringLiteral(":service_mgr"), match.captured(2), true};
    // The engine resolves a relative name against its own working folder, which is ours only
    // while it is embedded.
    return {QStringLiteral("service_mgr"), QFileInfo(location).absoluteFilePath(), false};
}

} // namespace zbackup
