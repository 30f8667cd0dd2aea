#include "database_file.h"

#include "db_error.h"
#include "fb_connection.h"
#include "program_tables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace database {

QString fileName()
{
    return QStringLiteral("ZNDB1.2.GDB");
}

QString defaultPath()
{
    return QDir::currentPath() + u'/' + fileName();
}

QStringList schemaStatements()
{
    QFile file(QStringLiteral(":/data/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("Схема базы данных не найдена в программе"));
    QString script = QString::fromUtf8(file.readAll());
    script.remove(QRegularExpression(QStringLiteral("/\\*.*?\\*/"),
                                     QRegularExpression::DotMatchesEverythingOption));
    QStringList statements;
    for (const QString &part : script.split(QLatin1Char(';'))) {
        const QString statement = part.trimmed();
        // The dialect is chosen when the database is created, not by a statement.
        if (!statement.isEmpty() && !statement.startsWith(QStringLiteral("SET SQL DIALECT")))
            statements << statement;
    }
    return statements;
}

namespace {

void fillSchema(FbConnection &connection)
{
    // Each statement in a transaction of its own: a table must be committed before a later
    // statement can refer to it.
    for (const QString &statement : schemaStatements())
        executeCommitted(connection, statement);
}

} // namespace

void create(const QString &location, const Credentials &serverCredentials)
{
    const bool onServer = isServerLocation(location);
    if (!onServer && (QFileInfo::exists(location) || QFileInfo(location).isSymLink()))
        throw DbError(
            QStringLiteral("Файл %1 уже существует; он оставлен без изменений.").arg(location));
    // A server refuses by itself to create over a database file that exists.
    const Credentials credentials = credentialsFor(location, serverCredentials);
    FbConnection::create(location, credentials.user, credentials.password);
    FbConnection connection;
    try {
        connection.attach(location, credentials.user, credentials.password);
        fillSchema(connection);
        ensureProgramTables(connection);
        connection.detach();
    } catch (...) {
        // The half-made database is ours alone; leave nothing behind that looks like one.
        if (!onServer)
            QFile::remove(location);
        else if (connection.isAttached()) {
            // The reason it failed matters more than a drop the server refuses as well.
            try {
                connection.drop();
            } catch (const DbError &) {
            }
        }
        throw;
    }
}

} // namespace database
