#pragma once

#include <QString>

// A database is a file opened through the embedded engine, or one served by a Firebird server
// and named by a connection string: "host:/path/file.gdb", "host/port:alias",
// "inet://host/alias", "inet://host:port/path".
namespace database {

bool isServerLocation(const QString &location);

// Who the engine is told connects. The embedded file always takes the program's fixed pair;
// a server takes the person's own user and password.
struct Credentials {
    QString user;
    QString password;
    bool isEmpty() const { return user.isEmpty(); }
};

// ISC_USER and ISC_PASSWORD of the environment, as Firebird's own tools read them.
Credentials environmentCredentials();

// The pair the engine is given for `location`: the fixed pair for a file; for a server the
// given pair, else the environment's. DbError when a server location has no user at all.
Credentials credentialsFor(const QString &location, const Credentials &given);

} // namespace database
