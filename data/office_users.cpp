#include "office_users.h"

#include "db_error.h"
#include "fb_connection.h"
#include "fb_statement.h"

#include <QRegularExpression>

#include <algorithm>

namespace office_users {

namespace {

void check(const QString &problem)
{
    if (!problem.isEmpty())
        throw DbError(problem);
}

QString quoted(QString text)
{
    return u'\'' + text.replace(u'\'', QStringLiteral("''")) + u'\'';
}

// The program's roles the user holds here.
std::vector<roles::Role> rolesOf(FbConnection &connection, const QString &name)
{
    std::vector<roles::Role> held;
    FbTransaction transaction(connection);
    transaction.start();
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral(
        "SELECT RDB$RELATION_NAME FROM RDB$USER_PRIVILEGES WHERE RDB$USER = :U "
        "AND RDB$USER_TYPE = 8 AND RDB$PRIVILEGE = 'M' AND RDB$RELATION_NAME STARTING WITH "
        "'ZARNIK_'"));
    statement.setParameter(0, name.toUpper());
    statement.execute();
    while (statement.fetch()) {
        if (const std::optional<roles::Role> role =
                roles::fromSqlName(statement.value(0).toString()))
            held.push_back(*role);
    }
    statement.closeCursor();
    transaction.commit();
    return held;
}

void revokeRoles(FbConnection &connection, const QString &name)
{
    for (roles::Role role : rolesOf(connection, name))
        executeCommitted(connection,
                         QStringLiteral("REVOKE %1 FROM USER %2").arg(roles::sqlName(role), name));
}

void grantRole(FbConnection &connection, const QString &name, roles::Role role)
{
    executeCommitted(connection,
                     QStringLiteral("GRANT %1 TO USER %2").arg(roles::sqlName(role), name));
}

} // namespace

bool mayManage(FbConnection &connection)
{
    FbTransaction transaction(connection);
    transaction.start();
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral(
        "SELECT 1 FROM MON$DATABASE WHERE CURRENT_USER = 'SYSDBA' OR CURRENT_USER = MON$OWNER "
        "OR CURRENT_ROLE = 'RDB$ADMIN'"));
    statement.execute();
    const bool may = statement.fetch();
    statement.closeCursor();
    transaction.commit();
    return may;
}

std::vector<User> list(FbConnection &connection)
{
    std::vector<User> users;
    FbTransaction transaction(connection);
    transaction.start();
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("SELECT SEC$USER_NAME FROM SEC$USERS"));
    statement.execute();
    while (statement.fetch())
        users.push_back({statement.value(0).toString().trimmed(), std::nullopt});
    statement.closeCursor();
    transaction.commit();
    // A user with several roles of the program works in the widest.
    for (User &user : users) {
        const std::vector<roles::Role> held = rolesOf(connection, user.name);
        if (!held.empty())
            user.role = *std::min_element(held.begin(), held.end());
    }
    std::sort(users.begin(), users.end(),
              [](const User &a, const User &b) { return a.name < b.name; });
    return users;
}

QString nameProblem(const QString &name)
{
    static const QRegularExpression kName(QStringLiteral("^[A-Za-z][A-Za-z0-9_]{0,30}$"));
    if (!kName.match(name).hasMatch())
        return QStringLiteral("Имя пользователя «%1» не подходит: латинские буквы, цифры и «_», "
                              "первой — буква, не длиннее 31 знака.")
            .arg(name);
    return {};
}

QString passwordProblem(const QString &password)
{
    if (password.isEmpty())
        return QStringLiteral("Пароль не может быть пустым.");
    for (QChar c : password) {
        if (c.unicode() < 0x21 || c.unicode() > 0x7e)
            return QStringLiteral("Пароль может состоять только из латинских букв, цифр и знаков, "
                                  "без пробелов.");
    }
    return {};
}

void add(FbConnection &connection, const QString &name, const QString &password, roles::Role role)
{
    check(nameProblem(name));
    check(passwordProblem(password));
    executeCommitted(connection,
                     QStringLiteral("CREATE USER %1 PASSWORD %2").arg(name, quoted(password)));
    grantRole(connection, name, role);
}

void setPassword(FbConnection &connection, const QString &name, const QString &password)
{
    check(nameProblem(name));
    check(passwordProblem(password));
    executeCommitted(connection,
                     QStringLiteral("ALTER USER %1 PASSWORD %2").arg(name, quoted(password)));
}

void setRole(FbConnection &connection, const QString &name, roles::Role role)
{
    check(nameProblem(name));
    revokeRoles(connection, name);
    grantRole(connection, name, role);
}

void remove(FbConnection &connection, const QString &name)
{
    check(nameProblem(name));
    revokeRoles(connection, name);
    executeCommitted(connection, QStringLiteral("DROP USER %1").arg(name));
}

} // namespace office_users
