#pragma once

#include "roles.h"

#include <QString>

#include <optional>

class FbConnection;

namespace roles {

// The program's role granted to the connected user; the widest when there are several, none
// for a user with none (the database's owner, SYSDBA, or one granted rights directly).
std::optional<Role> grantedRole(FbConnection &connection);

// Attaches `connection`, attached to a server's `location` as `user`, again in the user's
// granted role, so that the server enforces that role's rights; gives the role worked in. A file
// of this computer stays as it is: whoever opens it may do everything.
std::optional<Role> takeGrantedRole(FbConnection &connection, const QString &location,
                                    const QString &user, const QString &password);

} // namespace roles
