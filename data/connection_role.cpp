#include "connection_role.h"

#include "fb_connection.h"
#include "fb_statement.h"
#include "server_location.h"

namespace roles {

std::optional<Role> grantedRole(FbConnection &connection)
{
    std::optional<Role> widest;
    FbTransaction transaction(connection);
    transaction.start();
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral(
        "SELECT RDB$RELATION_NAME FROM RDB$USER_PRIVILEGES WHERE RDB$USER = CURRENT_USER "
        "AND RDB$USER_TYPE = 8 AND RDB$PRIVILEGE = 'M' AND RDB$RELATION_NAME STARTING WITH "
        "'ZARNIK_'"));
    statement.execute();
    while (statement.fetch()) {
        // The roles are listed from the widest.
        const std::optional<Role> role = fromSqlName(statement.value(0).toString());
        if (role && (!widest || int(*role) < int(*widest)))
            widest = role;
    }
    statement.closeCursor();
    transaction.commit();
    return widest;
}

std::optional<Role> takeGrantedRole(FbConnection &connection, const QString &location,
                                    const QString &user, const QString &password)
{
    if (!database::isServerLocation(location))
        return std::nullopt;
    const std::optional<Role> role = grantedRole(connection);
    if (role) {
        connection.detach();
        connection.attach(location, user, password, sqlName(*role));
    }
    return role;
}

} // namespace roles
