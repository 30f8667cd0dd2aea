#pragma once

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

// Creates a new database file at path holding the empty tables and generators. Refuses
// (DbError) when anything exists at path already, and then leaves it untouched.
void create(const QString &path);

} // namespace database
