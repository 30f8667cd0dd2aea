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
    // One row per incoming operation of a bank statement that was recorded: its payments point
    // to it, and its key (account, date, number, amount) keeps a statement loaded twice from
    // counting twice. STATE: 0 paid documents, 1 left on account of the payer (an advance: what
    // its payments do not take), 2 ignored.
    {"BANK_OPERATIONS",
     {"RECREATE SEQUENCE BANK_OPERATIONS_KOD_GEN",
      "CREATE TABLE BANK_OPERATIONS (KOD INTEGER NOT NULL PRIMARY KEY, "
      "ACCOUNT VARCHAR(34) NOT NULL, DATEDOC DATE NOT NULL, NUMBER VARCHAR(32) NOT NULL, "
      "AMOUNT DOUBLE PRECISION NOT NULL, DATEOPER DATE, PAYER_NAME VARCHAR(256), "
      "PAYER_BIN VARCHAR(12), PAYER_IIK VARCHAR(34), PURPOSE VARCHAR(1024), "
      "STATE SMALLINT NOT NULL, "
      "CONSTRAINT BANK_OPERATIONS_ONCE UNIQUE (ACCOUNT, DATEDOC, NUMBER, AMOUNT))",
      "CREATE INDEX BANK_OPERATIONS_PAYER ON BANK_OPERATIONS (PAYER_BIN)"}},
    // E-mail addresses, which the original tables have no column for: OWNER is a client's KOD,
    // or "own" for the business (see data/email_addresses.h).
    {"EMAILS",
     {"CREATE TABLE EMAILS (OWNER VARCHAR(32) NOT NULL PRIMARY KEY, ADDRESS VARCHAR(256))"}},
    // One row per document's message the mail server took (see data/mail_sendings.h); FORMS
    // holds the attached forms' titles, one per line.
    {"MAIL_SENDINGS",
     {"RECREATE SEQUENCE MAIL_SENDINGS_KOD_GEN",
      "CREATE TABLE MAIL_SENDINGS (KOD INTEGER NOT NULL PRIMARY KEY, KODDOCS INTEGER NOT NULL, "
      "SENT TIMESTAMP NOT NULL, RECIPIENT VARCHAR(256) NOT NULL, FORMS VARCHAR(1024), "
      "USERNAME VARCHAR(64))",
      "CREATE INDEX MAIL_SENDINGS_KODDOCS ON MAIL_SENDINGS (KODDOCS)"}},
};

// Columns added to the program's tables after they were first kept: added where missing.
const struct {
    const char *table;
    const char *column;
    const char *definition;
} kColumns[] = {
    // The paying document's number: the payment order's, or the cash receipt order's.
    {"PAYMENTS", "DOCNUM", "VARCHAR(32)"},
    // The bank statement's operation the payment came from (BANK_OPERATIONS.KOD).
    {"PAYMENTS", "OPERATION", "INTEGER"},
};

bool columnExists(FbTransaction &transaction, const char *table, const char *column)
{
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("SELECT 1 FROM RDB$RELATION_FIELDS "
                                     "WHERE RDB$RELATION_NAME = :T AND RDB$FIELD_NAME = :C"));
    statement.setParameter(0, QString::fromLatin1(table));
    statement.setParameter(1, QString::fromLatin1(column));
    statement.execute();
    const bool found = statement.fetch();
    statement.closeCursor();
    return found;
}

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
    std::vector<QString> missingColumns;
    try {
        FbTransaction transaction(connection);
        transaction.start();
        if (tableExists(transaction, "DOCS")) {
            for (const auto &table : kTables) {
                if (!tableExists(transaction, table.name))
                    missing.push_back(&table.definition);
            }
            for (const auto &column : kColumns) {
                if (!tableExists(transaction, column.table) ||
                    !columnExists(transaction, column.table, column.column))
                    missingColumns.push_back(QStringLiteral("ALTER TABLE %1 ADD %2 %3")
                                                 .arg(QLatin1String(column.table),
                                                      QLatin1String(column.column),
                                                      QLatin1String(column.definition)));
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
    for (const QString &statement : missingColumns) {
        try {
            executeCommitted(connection, statement);
        } catch (const DbError &) {
            // As above: the columns come with the next opening by a user who may add them.
        }
    }
}
