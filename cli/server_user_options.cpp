#include "server_user_options.h"

#include "data/db_error.h"

#include <cstdio>

ServerUserOptions::ServerUserOptions(CommandLine &line, const QString &command)
    : m_line(line), m_command(command),
      m_user(QStringLiteral("user"), QStringLiteral("The server's user (else ISC_USER)."),
             QStringLiteral("NAME")),
      m_password(QStringLiteral("password"),
                 QStringLiteral("The server user's password (else ISC_PASSWORD)."),
                 QStringLiteral("WORD"))
{
    m_line.parser().addOption(m_user);
    m_line.parser().addOption(m_password);
}

database::Credentials ServerUserOptions::given() const
{
    return {m_line.parser().value(m_user), m_line.parser().value(m_password)};
}

std::optional<database::Credentials> ServerUserOptions::forLocation(const QString &location) const
{
    try {
        return database::credentialsFor(location, given());
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(m_command), qPrintable(e.message()));
        return std::nullopt;
    }
}
