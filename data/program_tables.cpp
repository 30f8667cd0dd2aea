#include "program_tables.h"

#include "db_error.h"
#include "fb_connection.h"
#include "fb_statement.h"

#include <QString>

#include <vector>

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
    std::vector<const char *> missing;
    try {
        FbTransaction transaction(connection);
        transaction.start();
        if (tableExists(transaction, "DOCS")) {
            for (const auto &table : kTables) {
                if (!tableExists(transaction, table.name))
                    missing.push_back(table.definition);
            }
        }
        transaction.commit();
    } catch (const DbError &) {
        return; // the opening itself reports what is wrong with the database
    }
    for (const char *definition : missing) {
        try {
            executeCommitted(connection, QString::fromLatin1(definition));
        } catch (const DbError &) {
            // Without the right to add tables, or with another program adding it at this
            // moment: the database opens all the same.
        }
    }
}
