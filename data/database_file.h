#pragma once

#include "server_location.h"

#include <QString>

// Where the program finds its database and how it reaches it.
namespace database {

inline const QString &userName()
{
    static const QString name = QStringLiteral("SYSDBA");
    return name;
}
inline const QString &password()
{
    static const QString word = QStringLiteral("qzvtkelmo");
    return word;
}

// "ZNDB1.2.GDB", the database file's name wherever it is.
QString fileName();

// The current working directory followed by "/ZNDB1.2.GDB", exactly as built, a doubled
// separator included when the working directory is the root.
QString defaultPath();

// The statements of the schema script, in order.
QStringList schemaStatements();

// Creates a new database at `location` holding the empty tables and generators. Refuses
// (DbError) when anything exists there already, and then leaves it untouched. A server's
// database is made as the user of `serverCredentials` (else ISC_USER/ISC_PASSWORD).
void create(const QString &location, const Credentials &serverCredentials = {});

} // namespace database
