#include "program_tables.h"

#include "db_error.h"
#include "fb_connection.h"
#include "fb_statement.h"

#include <QString>

#include <vector>

namespace {

// Each table with what makes it: its generator, the table, then its indexes.
const struct {
    const char *name;
    std::vector<const char *> definition;
} kTables[] = {
    {"IMAGES",
     {"CREATE TABLE IMAGES (NAME VARCHAR(32) NOT NULL PRIMARY KEY, DATA BLOB SUB_TYPE 0)"}},
    {"NUMBERING", {"CREATE TABLE NUMBERING (NAME VARCHAR(32) NOT NULL PRIMARY KEY)"}},
    // KIND: 0 bank, 1 cash, 2 other; SOURCE: 0 typed, 1 a bank statement's line.
    {"PAYMENTS",
     {"RECREATE SEQUENCE PAYMENTS_KOD_GEN",
      "CREATE TABLE PAYMENTS (KOD INTEGER NOT NULL PRIMARY KEY, "
      "KODDOCS INTEGER NOT NULL, DATAOPL DATE NOT NULL, AMOUNT DOUBLE PRECISION NOT NULL, "
      "KIND SMALLINT NOT NULL, NOTE VARCHAR(256), SOURCE SMALLINT NOT NULL)",
      "CREATE INDEX PAYMENTS_KODDOCS ON PAYMENTS (KODDOCS)"}},
    {"DUEDATES",
     {"CREATE TABLE DUEDATES (KODDOCS INTEGER NOT NULL PRIMARY KEY, SROK DATE NOT NULL)"}},
    {"SETTINGS",
     {"CREATE TABLE SETTINGS (NAME VARCHAR(32) NOT NULL PRIMARY KEY, VAL VARCHAR(256))"}},
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
    std::vector<const std::vector<const char *> *> missing;
    try {
        FbTransaction transaction(connection);
        transaction.start();
        if (tableExists(transaction, "DOCS")) {
            for (const auto &table : kTables) {
                if (!tableExists(transaction, table.name))
                    missing.push_back(&table.definition);
            }
        }
        transaction.commit();
    } catch (const DbError &) {
        return; // the opening itself reports what is wrong with the database
    }
    // One transaction per statement: an index can be made only once its table is committed.
    for (const std::vector<const char *> *definition : missing) {
        for (const char *statement : *definition) {
            try {
                executeCommitted(connection, QString::fromLatin1(statement));
            } catch (const DbError &) {
                // Without the right to add tables, or with another program adding it at this
                // moment: the database opens all the same.
                break;
            }
        }
    }
}
