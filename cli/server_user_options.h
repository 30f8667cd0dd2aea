#pragma once

#include "command_line.h"

#include "data/server_location.h"

#include <QCommandLineOption>

#include <optional>

// "--user NAME --password WORD": who a command is on a server's database, as Firebird's own
// tools take it (else ISC_USER and ISC_PASSWORD). A file ignores them.
class ServerUserOptions {
public:
    ServerUserOptions(CommandLine &line, const QString &command);

    // What was given on the command line; empty when nothing was.
    database::Credentials given() const;
    // Who the engine is told for `location` (credentialsFor); nullopt, with "COMMAND: why" on
    // standard error, when a server's database is named with no user.
    std::optional<database::Credentials> forLocation(const QString &location) const;

private:
    CommandLine &m_line;
    QString m_command;
    QCommandLineOption m_user;
    QCommandLineOption m_password;
};
