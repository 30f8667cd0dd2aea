#include "connection_check.h"

#include "db_error.h"
#include "fb_connection.h"
#include "fb_statement.h"
#include "open_failure.h"

namespace database {

QString connectionProblem(const QString &location, const Credentials &serverCredentials)
{
    FbConnection connection;
    try {
        const Credentials credentials = credentialsFor(location, serverCredentials);
        connection.attach(location, credentials.user, credentials.password);
    } catch (const DbError &e) {
        return openFailureLine(location, e);
    }
    try {
        FbTransaction transaction(connection);
        transaction.start();
        const QVariant found = FbStatement::scalar(
            transaction, QStringLiteral("SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = "
                                        "'DOCS'"));
        transaction.commit();
        if (found.isNull())
            return notProgramDatabaseLine(location);
        connection.detach();
    } catch (const DbError &e) {
        return openFailureLine(location, e);
    }
    return {};
}

} // namespace database
