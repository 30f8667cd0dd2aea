#pragma once

#include <QString>

#include <optional>

// The parts of a server's connection string as a person fills them in: the computer, the
// port and the database's path or alias on it.
namespace database {

constexpr int kDefaultServerPort = 3050;

struct ServerAddress {
    QString host;
    int port = kDefaultServerPort;
    QString database; // a path on the server or an alias of its databases.conf
};

// "host:database", or "host/port:database" for a port other than the default.
QString connectionString(const ServerAddress &address);

// The parts of a connection string in any of the forms the engine takes; nullopt for a file
// of this computer.
std::optional<ServerAddress> parseServerAddress(const QString &location);

} // namespace database
