#include "email_addresses.h"

#include "db_error.h"
#include "fb_statement.h"
#include "program_tables.h"

#include <QVariant>

namespace email_addresses {

QString ownerOfClient(int clientKod)
{
    return QString::number(clientKod);
}

QString ownOwner()
{
    return QStringLiteral("own");
}

namespace {

// The address of the statement's first row; empty when it has none.
QString firstAddress(FbStatement &statement)
{
    statement.execute();
    QString address;
    if (statement.fetch())
        address = statement.value(0).toString();
    statement.closeCursor();
    return address;
}

} // namespace

QString of(FbTransaction &transaction, const QString &owner)
{
    if (!tableExists(transaction, "EMAILS"))
        return {};
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("SELECT ADDRESS FROM EMAILS WHERE OWNER = :OWNER"));
    statement.setParameter(0, owner);
    return firstAddress(statement);
}

QString ofDocumentClient(FbTransaction &transaction, const QString &biniin, const QString &name)
{
    if (!tableExists(transaction, "EMAILS"))
        return {};
    const bool byId = !biniin.trimmed().isEmpty();
    FbStatement statement(transaction);
    statement.prepare(
        QStringLiteral("SELECT E.ADDRESS FROM CLIENTS C JOIN EMAILS E "
                       "ON E.OWNER = CAST(C.KOD AS VARCHAR(32)) WHERE %1 "
                       "ORDER BY C.KOD")
            .arg(byId ? QStringLiteral("C.BINIIN = :KEY") : QStringLiteral("C.NAMEORG = :KEY")));
    statement.setParameter(0, byId ? biniin.trimmed() : name);
    return firstAddress(statement);
}

void set(FbTransaction &transaction, const QString &owner, const QString &address)
{
    if (!tableExists(transaction, "EMAILS"))
        throw DbError(QStringLiteral(
            "В базе данных нет таблицы адресов электронной почты: откройте базу данных один раз "
            "от имени ее владельца, и таблица будет добавлена."));
    FbStatement statement(transaction);
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty()) {
        statement.prepare(QStringLiteral("DELETE FROM EMAILS WHERE OWNER = :OWNER"));
        statement.setParameter(0, owner);
    } else {
        statement.prepare(QStringLiteral("UPDATE OR INSERT INTO EMAILS (OWNER, ADDRESS) "
                                         "VALUES (:OWNER, :ADDRESS) MATCHING (OWNER)"));
        statement.setParameter(0, owner);
        statement.setParameter(1, trimmed);
    }
    statement.execute();
}

} // namespace email_addresses
