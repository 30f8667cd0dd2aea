#include "mail_server.h"

namespace mail {

int defaultPort(Security security)
{
    switch (security) {
    case Security::StartTls:
        return 587;
    case Security::Ssl:
        return 465;
    case Security::None:
        return 25;
    }
    return 587;
}

QString securityName(Security security)
{
    switch (security) {
    case Security::StartTls:
        return QStringLiteral("starttls");
    case Security::Ssl:
        return QStringLiteral("ssl");
    case Security::None:
        return QStringLiteral("none");
    }
    return {};
}

std::optional<Security> securityFromName(const QString &name)
{
    for (const Security s : {Security::StartTls, Security::Ssl, Security::None}) {
        if (name.compare(securityName(s), Qt::CaseInsensitive) == 0)
            return s;
    }
    return std::nullopt;
}

} // namespace mail
