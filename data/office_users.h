#pragma once

#include "roles.h"

#include <QString>

#include <optional>
#include <vector>

class FbConnection;

// The users of a server's database with their roles, managed through the server's own user
// management (CREATE USER, ALTER USER, DROP USER, GRANT, REVOKE): the program keeps nothing of
// its own. The server allows it to its SYSDBA and RDB$ADMIN users, the roles to the
// database's owner as well; a refusal comes as DbError in plain words.
namespace office_users {

struct User {
    QString name;
    std::optional<roles::Role> role; // none: a user without a role of the program
};

// Whether the connected user is the database's owner, SYSDBA or an RDB$ADMIN.
bool mayManage(FbConnection &connection);

// Every user the server lists to the connected user, by name, with their role here.
std::vector<User> list(FbConnection &connection);

// Why a name or password cannot be used; empty when it can. Names are Latin letters, digits and
// "_", starting with a letter, up to 31 characters; passwords are not empty, Latin letters,
// digits and signs (the server compares them as the login sends them).
QString nameProblem(const QString &name);
QString passwordProblem(const QString &password);

// Each throws DbError: a bad name or password (the problem's words), or the server's refusal.
void add(FbConnection &connection, const QString &name, const QString &password, roles::Role role);
void setPassword(FbConnection &connection, const QString &name, const QString &password);
void setRole(FbConnection &connection, const QString &name, roles::Role role);
// Takes the user's roles here away, then the user from the server.
void remove(FbConnection &connection, const QString &name);

} // namespace office_users
