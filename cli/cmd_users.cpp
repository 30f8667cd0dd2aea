#include "command_line.h"
#include "commands.h"
#include "server_user_options.h"

#include "data/db_error.h"
#include "data/fb_connection.h"
#include "data/office_users.h"
#include "data/server_location.h"

#include <cstdio>

namespace {

// The one action of a run, with what it needs, checked before the server is asked.
struct UsersAction {
    QString verb;
    QString name;
    std::optional<roles::Role> role;
    QString password;
};

int runAction(FbConnection &connection, const UsersAction &action)
{
    if (action.verb == u"list") {
        for (const office_users::User &user : office_users::list(connection)) {
            const QString role = user.role ? roles::commandWord(*user.role) : QString();
            std::printf("%s\t%s\n", qPrintable(user.name), qPrintable(role));
        }
        return 0;
    }
    if (action.verb == u"add")
        office_users::add(connection, action.name, action.password, *action.role);
    else if (action.verb == u"remove")
        office_users::remove(connection, action.name);
    else {
        if (!action.password.isEmpty())
            office_users::setPassword(connection, action.name, action.password);
        if (action.role)
            office_users::setRole(connection, action.name, *action.role);
    }
    return 0;
}

} // namespace

int runUsers(const QStringList &args)
{
    CommandLine line(
        QStringLiteral("users"),
        QStringLiteral("list|add|remove|set [NAME] --db LOCATION [--role "
                       "accountant|manager|viewer] [--user-password WORD] [--user NAME "
                       "--password WORD]"),
        QStringLiteral("Lists the users of a server's database with their roles (TAB-separated), "
                       "adds one with a password and a role, removes one, or sets a new "
                       "password or role; as the database's owner, SYSDBA or an RDB$ADMIN."));
    const QCommandLineOption dbOption({QStringLiteral("database"), QStringLiteral("db")},
                                      QStringLiteral("the database"), QStringLiteral("LOCATION"));
    const QCommandLineOption roleOption(QStringLiteral("role"),
                                        QStringLiteral("accountant, manager or viewer"),
                                        QStringLiteral("ROLE"));
    const QCommandLineOption passwordOption(QStringLiteral("user-password"),
                                            QStringLiteral("the user's password"),
                                            QStringLiteral("WORD"));
    line.parser().addOption(dbOption);
    line.parser().addOption(roleOption);
    line.parser().addOption(passwordOption);
    const ServerUserOptions serverUser(line, QStringLiteral("users"));
    if (const std::optional<int> exitCode = line.parse(args))
        return *exitCode;
    const QStringList words = line.parser().positionalArguments();
    UsersAction action{words.value(0), words.value(1), std::nullopt,
                       line.parser().value(passwordOption)};
    if (!QStringList({QStringLiteral("list"), QStringLiteral("add"), QStringLiteral("remove"),
                      QStringLiteral("set")})
             .contains(action.verb))
        return line.usageError(QStringLiteral("list, add, remove or set is missing"));
    if (!line.parser().isSet(dbOption))
        return line.usageError(QStringLiteral("--db is missing"));
    const bool list = action.verb == u"list";
    if (words.size() != (list ? 1 : 2))
        return line.usageError(list ? QStringLiteral("list takes no user name")
                                    : QStringLiteral("one user name is needed"));
    if (line.parser().isSet(roleOption)) {
        action.role = roles::fromCommandWord(line.parser().value(roleOption));
        if (!action.role)
            return line.usageError(QStringLiteral("--role is accountant, manager or viewer"));
    }
    if (action.verb == u"add" && (!action.role || action.password.isEmpty()))
        return line.usageError(QStringLiteral("add needs --role and --user-password"));
    if (action.verb == u"set" && !action.role && action.password.isEmpty())
        return line.usageError(QStringLiteral("set needs --role or --user-password"));
    const QString location = line.parser().value(dbOption);
    if (!database::isServerLocation(location))
        return line.usageError(
            QStringLiteral("users are kept by a Firebird server; %1 is a file").arg(location));
    const std::optional<database::Credentials> credentials = serverUser.forLocation(location);
    if (!credentials)
        return 1;
    try {
        FbConnection connection;
        connection.attach(location, credentials->user, credentials->password);
        return runAction(connection, action);
    } catch (const DbError &e) {
        std::fprintf(stderr, "users: %s\n", qPrintable(e.message()));
        return 1;
    }
}
