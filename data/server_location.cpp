#include "server_location.h"

#include "database_file.h"
#include "db_error.h"

#include <QRegularExpression>

namespace database {

bool isServerLocation(const QString &location)
{
    static const QRegularExpression url(QStringLiteral("^(inet[46]?|wnet|xnet)://"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (url.match(location).hasMatch())
        return true;
    // "host:" or "host/port:" ahead of the file or alias. A path is never taken for a host:
    // the part before the colon has no slash but the port's, and is longer than a drive letter.
    static const QRegularExpression host(QStringLiteral("^([^/:\\\\]{2,}|\\[[0-9A-Fa-f:]+\\])"
                                                        "(/[^/:]+)?:."));
    return host.match(location).hasMatch();
}

Credentials environmentCredentials()
{
    return {qEnvironmentVariable("ISC_USER"), qEnvironmentVariable("ISC_PASSWORD")};
}

Credentials credentialsFor(const QString &location, const Credentials &given)
{
    if (!isServerLocation(location))
        return {userName(), password()};
    const Credentials chosen = given.isEmpty() ? environmentCredentials() : given;
    if (chosen.isEmpty())
        throw DbError(QStringLiteral("Для базы данных на сервере %1 нужны имя пользователя и "
                                     "пароль.")
                          .arg(location));
    return chosen;
}

} // namespace database
