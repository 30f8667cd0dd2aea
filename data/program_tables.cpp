#include "program_tables.h"

#include "db_error.h"
#include "fb_connection.h"
#include "fb_statement.h"

#include <QString>

namespace {

const struct {
    const char *name;
    const char *definition;
} kTables[] = {
    {"IMAGES", "CREATE TABLE IMAGES (NAME VARCHAR(32) NOT NULL PRIMARY KEY, DATA BLOB SUB_TYPE 0)"},
    {"NUMBERING", "CREATE TABLE NUMBERING (NAME VARCHAR(32) NOT NULL PRIMARY KEY)"},
};

} // namespace

bool tableExists(FbTransaction &transaction, const char *name)
{
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = :N"));
    statement.setParameter(0, QString::fromLatin1(name));
    statement.execute();
    const bool found = statement.fetch();
    statement.closeCursor();
    return found;
}

void ensureProgramTables(FbConnection &connection)
{
    for (const auto &table : kTables) {
        try {
            FbTransaction transaction(connection);
            transaction.start();
            if (!tableExists(transaction, "DOCS") || tableExists(transaction, table.name))
                continue;
            FbStatement create(transaction);
            create.prepare(QString::fromLatin1(table.definition));
            create.execute();
            transaction.commit();
        } catch (const DbError &) {
            // Without the right to add tables, or with another program adding it at this
            // moment: the database opens all the same.
        }
    }
}
