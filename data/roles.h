#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The three roles of an office's users, as roles of the database that the server enforces on
// every table and generator of the program, whatever client connects.
namespace roles {

enum class Role { Accountant, Manager, Viewer };

inline constexpr Role kAllRoles[] = {Role::Accountant, Role::Manager, Role::Viewer};

QString sqlName(Role role);     // "ZARNIK_MANAGER"
QString title(Role role);       // "Менеджер"
QString commandWord(Role role); // "manager", as zarnik-cli takes it

std::optional<Role> fromSqlName(const QString &name);
std::optional<Role> fromCommandWord(const QString &word);

// What a role may do on one table, or use of one generator: privileges as the engine keeps
// them in RDB$USER_PRIVILEGES (S, I, U, D; G for a generator's use).
struct Privileges {
    QString object;
    QString privileges;
    bool generator = false;
    QStringList columns; // an update granted on these columns only; all when empty
};

// Everything the role is granted on the program's tables and generators.
std::vector<Privileges> privilegesOf(Role role);

// The statement that grants `privileges` (a subset of those the role has) on `object`.
QString grantStatement(Role role, const Privileges &privileges);

} // namespace roles
