#pragma once

#include <QByteArray>
#include <QString>

// How the program introduces itself to the engine, the same for a database and for a server's
// services (backup, restore, validation), so that whoever can open a database can also back
// it up.
namespace database {

enum class ParameterBlock { Database, Service };

// The user and password as UTF-8; for a server, wire encryption asked for and a short connect
// time-out. `location` is the database's, or the service manager's ("host:service_mgr").
// `role` (a database's only) is the SQL role the connection works in; none when empty.
QByteArray connectionParameters(ParameterBlock block, const QString &location, const QString &user,
                                const QString &password, const QString &role = {});

// Shortens the waits on a server's sockets once connected to `location` (a file has none).
void limitServerWaits(const QString &location);

} // namespace database
