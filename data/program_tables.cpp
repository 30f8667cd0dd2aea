#include "program_tables.h"

#include "db_error.h"
#include "document_totals.h"
#include "fb_connection.h"
#include "fb_statement.h"
#include "roles.h"
#include "tables.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <algorithm>
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
    // Who made each document and when, and who changed it last: the business's own table
    // stays as it was, so the record is kept beside it, by document KOD, filled by a trigger.
    {"DOC_AUDIT",
     {"CREATE TABLE DOC_AUDIT (KODDOCS INTEGER NOT NULL PRIMARY KEY, MADE_BY VARCHAR(63), "
      "MADE_AT DATE, CHANGED_BY VARCHAR(63), CHANGED_AT DATE)"}},
    // Each document's amount (the sum of its lines' STREALIZ, not rounded) and a copy of its due
    // date, kept by the triggers below so that the register and the debtors read one row per
    // document instead of its lines. What was paid is not kept here: two users paying one
    // document at once would then write the same row, and the second would be refused.
    {"DOC_AMOUNTS",
     {"CREATE TABLE DOC_AMOUNTS (KODDOCS INTEGER NOT NULL PRIMARY KEY, "
      "AMOUNT DOUBLE PRECISION DEFAULT 0 NOT NULL, SROK DATE)"}},
    // The business's own versions of the printed forms, by template name (see
    // data/business_templates.h); BODY holds the template's bytes as they were stored.
    {"TEMPLATES",
     {"CREATE TABLE TEMPLATES (NAME VARCHAR(32) NOT NULL PRIMARY KEY, BODY BLOB SUB_TYPE 0, "
      "CHANGED_BY VARCHAR(63), CHANGED_AT DATE)"}},
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
    // Who made the payment and when, and who changed it last (DATE holds the time too).
    {"PAYMENTS", "MADE_BY", "VARCHAR(63)"},
    {"PAYMENTS", "MADE_AT", "DATE"},
    {"PAYMENTS", "CHANGED_BY", "VARCHAR(63)"},
    {"PAYMENTS", "CHANGED_AT", "DATE"},
};

// The triggers that record who changed what with the connection's own user, so that no
// client can forget it; each may write the record whatever the role of the user.
const struct {
    const char *name;
    std::vector<const char *> definition;
} kTriggers[] = {
    {"PAYMENTS_AUDIT",
     {"CREATE OR ALTER TRIGGER PAYMENTS_AUDIT FOR PAYMENTS BEFORE INSERT OR UPDATE AS "
      "BEGIN "
      "IF (INSERTING) THEN BEGIN NEW.MADE_BY = CURRENT_USER; NEW.MADE_AT = CURRENT_TIMESTAMP; END "
      "ELSE BEGIN NEW.MADE_BY = OLD.MADE_BY; NEW.MADE_AT = OLD.MADE_AT; END "
      "NEW.CHANGED_BY = CURRENT_USER; NEW.CHANGED_AT = CURRENT_TIMESTAMP; "
      "END"}},
    // A line added or taken away moves the amount by its own; a changed line has the amount
    // summed again, as the engine sums the lines, so that no error piles up over edits. Made
    // (again), the trigger is followed by the amounts of every document summed afresh: those
    // of a database kept before, or changed while the trigger was missing.
    {"DETAILDOCS_AMOUNTS",
     {"CREATE OR ALTER TRIGGER DETAILDOCS_AMOUNTS FOR DETAILDOCS AFTER INSERT OR UPDATE OR DELETE "
      "AS BEGIN "
      "IF (INSERTING) THEN BEGIN "
      "IF (NEW.KODDOCS IS NOT NULL) THEN BEGIN "
      "UPDATE DOC_AMOUNTS SET AMOUNT = AMOUNT + COALESCE(NEW.STREALIZ, 0) "
      "WHERE KODDOCS = NEW.KODDOCS; "
      "IF (ROW_COUNT = 0) THEN INSERT INTO DOC_AMOUNTS (KODDOCS, AMOUNT) "
      "VALUES (NEW.KODDOCS, COALESCE(NEW.STREALIZ, 0)); "
      "END END "
      "ELSE IF (DELETING) THEN "
      "UPDATE DOC_AMOUNTS SET AMOUNT = AMOUNT - COALESCE(OLD.STREALIZ, 0) "
      "WHERE KODDOCS = OLD.KODDOCS; "
      "ELSE IF (NEW.STREALIZ IS DISTINCT FROM OLD.STREALIZ OR "
      "NEW.KODDOCS IS DISTINCT FROM OLD.KODDOCS) THEN BEGIN "
      "IF (NEW.KODDOCS IS NOT NULL) THEN "
      "UPDATE OR INSERT INTO DOC_AMOUNTS (KODDOCS, AMOUNT) VALUES (NEW.KODDOCS, "
      "COALESCE((SELECT SUM(STREALIZ) FROM DETAILDOCS WHERE KODDOCS = NEW.KODDOCS), 0)) "
      "MATCHING (KODDOCS); "
      "IF (NEW.KODDOCS IS DISTINCT FROM OLD.KODDOCS) THEN "
      "UPDATE DOC_AMOUNTS SET AMOUNT = "
      "COALESCE((SELECT SUM(STREALIZ) FROM DETAILDOCS WHERE KODDOCS = OLD.KODDOCS), 0) "
      "WHERE KODDOCS = OLD.KODDOCS; "
      "END "
      "END",
      "GRANT SELECT, INSERT, UPDATE, DELETE ON DOC_AMOUNTS TO TRIGGER DETAILDOCS_AMOUNTS",
      "UPDATE DOC_AMOUNTS A SET AMOUNT = "
      "COALESCE((SELECT SUM(L.STREALIZ) FROM DETAILDOCS L WHERE L.KODDOCS = A.KODDOCS), 0)",
      "INSERT INTO DOC_AMOUNTS (KODDOCS, AMOUNT) SELECT X.KODDOCS, "
      "COALESCE((SELECT SUM(L.STREALIZ) FROM DETAILDOCS L WHERE L.KODDOCS = X.KODDOCS), 0) "
      "FROM (SELECT DISTINCT KODDOCS FROM DETAILDOCS WHERE KODDOCS IS NOT NULL) X "
      "WHERE NOT EXISTS (SELECT 1 FROM DOC_AMOUNTS A WHERE A.KODDOCS = X.KODDOCS)"}},
    {"DUEDATES_AMOUNTS",
     {"CREATE OR ALTER TRIGGER DUEDATES_AMOUNTS FOR DUEDATES AFTER INSERT OR UPDATE OR DELETE "
      "AS BEGIN "
      "IF (NOT INSERTING) THEN "
      "UPDATE DOC_AMOUNTS SET SROK = NULL WHERE KODDOCS = OLD.KODDOCS; "
      "IF (NOT DELETING) THEN "
      "UPDATE OR INSERT INTO DOC_AMOUNTS (KODDOCS, SROK) VALUES (NEW.KODDOCS, NEW.SROK) "
      "MATCHING (KODDOCS); "
      "END",
      "GRANT SELECT, INSERT, UPDATE, DELETE ON DOC_AMOUNTS TO TRIGGER DUEDATES_AMOUNTS",
      "UPDATE DOC_AMOUNTS A SET SROK = (SELECT S.SROK FROM DUEDATES S WHERE S.KODDOCS = A.KODDOCS)",
      "INSERT INTO DOC_AMOUNTS (KODDOCS, SROK) SELECT S.KODDOCS, S.SROK FROM DUEDATES S "
      "WHERE NOT EXISTS (SELECT 1 FROM DOC_AMOUNTS A WHERE A.KODDOCS = S.KODDOCS)"}},
    {"DOCS_AMOUNTS",
     {"CREATE OR ALTER TRIGGER DOCS_AMOUNTS FOR DOCS AFTER DELETE AS "
      "BEGIN DELETE FROM DOC_AMOUNTS WHERE KODDOCS = OLD.KOD; END",
      "GRANT SELECT, DELETE ON DOC_AMOUNTS TO TRIGGER DOCS_AMOUNTS"}},
};

// Who changed a document: the write of its totals alone, which printing makes, is none.
std::vector<QString> docsAuditTrigger()
{
    QStringList changed;
    for (const QString &column : docsTable().columnNames()) {
        if (!documentTotalsColumns().contains(column))
            changed << QStringLiteral("NEW.%1 IS DISTINCT FROM OLD.%1").arg(column);
    }
    return {
        QStringLiteral(
            "CREATE OR ALTER TRIGGER DOCS_AUDIT FOR DOCS AFTER INSERT OR UPDATE OR DELETE AS "
            "BEGIN "
            "IF (INSERTING) THEN "
            "UPDATE OR INSERT INTO DOC_AUDIT (KODDOCS, MADE_BY, MADE_AT, CHANGED_BY, "
            "CHANGED_AT) VALUES (NEW.KOD, CURRENT_USER, CURRENT_TIMESTAMP, CURRENT_USER, "
            "CURRENT_TIMESTAMP) MATCHING (KODDOCS); "
            "ELSE IF (UPDATING) THEN BEGIN "
            "IF (%1) THEN "
            "UPDATE OR INSERT INTO DOC_AUDIT (KODDOCS, CHANGED_BY, CHANGED_AT) "
            "VALUES (NEW.KOD, CURRENT_USER, CURRENT_TIMESTAMP) MATCHING (KODDOCS); "
            "END "
            "ELSE DELETE FROM DOC_AUDIT WHERE KODDOCS = OLD.KOD; "
            "END")
            .arg(changed.join(QStringLiteral(" OR "))),
        QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON DOC_AUDIT TO TRIGGER DOCS_AUDIT")};
}

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

bool rowExists(FbTransaction &transaction, const QString &sql, const QString &name)
{
    FbStatement statement(transaction);
    statement.prepare(sql);
    statement.setParameter(0, name);
    statement.execute();
    const bool found = statement.fetch();
    statement.closeCursor();
    return found;
}

// Whether the trigger `name` is there as `creation` makes it: one of an older version is
// made again.
bool triggerIsCurrent(FbTransaction &transaction, const QString &name, const QString &creation)
{
    FbStatement statement(transaction);
    statement.prepare(
        QStringLiteral("SELECT RDB$TRIGGER_SOURCE FROM RDB$TRIGGERS WHERE RDB$TRIGGER_NAME = :N"));
    statement.setParameter(0, name);
    statement.execute();
    const bool found = statement.fetch();
    // The engine keeps the text from the AS before the body on.
    const QString source =
        found ? QString::fromLatin1(statement.blob(0, 1 << 20)).simplified() : QString();
    statement.closeCursor();
    return found &&
           source == creation.mid(creation.indexOf(QStringLiteral(" AS ")) + 1).simplified();
}

// The owner, SYSDBA and a user in the role RDB$ADMIN make what is missing; anybody else would
// make tables and roles that then belong to them.
bool mayUpgrade(FbTransaction &transaction)
{
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral(
        "SELECT 1 FROM MON$DATABASE WHERE CURRENT_USER = 'SYSDBA' OR CURRENT_USER = MON$OWNER "
        "OR CURRENT_ROLE = 'RDB$ADMIN'"));
    statement.execute();
    const bool found = statement.fetch();
    statement.closeCursor();
    return found;
}

// Every privilege the program's roles hold now, as "ROLE OBJECT LETTER", with " COLUMN" after
// a privilege on one column.
QSet<QString> roleGrants(FbTransaction &transaction)
{
    QSet<QString> grants;
    FbStatement statement(transaction);
    statement.prepare(
        QStringLiteral("SELECT RDB$USER, RDB$RELATION_NAME, RDB$PRIVILEGE, RDB$FIELD_NAME FROM "
                       "RDB$USER_PRIVILEGES WHERE RDB$USER STARTING WITH 'ZARNIK_' "
                       "AND RDB$USER_TYPE = 13"));
    statement.execute();
    while (statement.fetch()) {
        QString grant = statement.value(0).toString().trimmed() + u' ' +
                        statement.value(1).toString().trimmed() + u' ' +
                        statement.value(2).toString().trimmed();
        if (!statement.value(3).isNull())
            grant += u' ' + statement.value(3).toString().trimmed();
        grants.insert(grant);
    }
    return grants;
}

// The letters of `privileges` that `role` lacks; a grant on some columns lacks its letter
// while any of them is missing.
QString lackingPrivileges(const QSet<QString> &granted, const QString &role,
                          const roles::Privileges &privileges)
{
    QString lacking;
    for (QChar letter : privileges.privileges) {
        const QString grant = role + u' ' + privileges.object + u' ' + letter;
        const bool has = privileges.columns.isEmpty()
                             ? granted.contains(grant)
                             : std::all_of(privileges.columns.begin(), privileges.columns.end(),
                                           [&](const QString &column) {
                                               return granted.contains(grant + u' ' + column);
                                           });
        if (!has)
            lacking += letter;
    }
    return lacking;
}

// What the database lacks of what this program keeps in it, with the statements that make it.
struct Missing {
    QStringList names;
    std::vector<std::vector<QString>> steps; // each a series of statements, stopped at a failure
    bool mayUpgrade = false;

    void add(const QString &name, std::vector<QString> statements)
    {
        names << name;
        steps.push_back(std::move(statements));
    }
};

std::vector<QString> texts(const std::vector<const char *> &statements)
{
    std::vector<QString> all;
    for (const char *statement : statements)
        all.push_back(QString::fromLatin1(statement));
    return all;
}

Missing findMissing(FbTransaction &transaction)
{
    Missing missing;
    if (!tableExists(transaction, "DOCS"))
        return missing; // a database of another program is left as it is
    missing.mayUpgrade = mayUpgrade(transaction);
    for (const auto &table : kTables) {
        if (!tableExists(transaction, table.name))
            missing.add(QStringLiteral("таблица %1").arg(QLatin1String(table.name)),
                        texts(table.definition));
    }
    for (const auto &column : kColumns) {
        if (!tableExists(transaction, column.table) ||
            !columnExists(transaction, column.table, column.column))
            missing.add(QStringLiteral("столбец %1.%2")
                            .arg(QLatin1String(column.table), QLatin1String(column.column)),
                        {QStringLiteral("ALTER TABLE %1 ADD %2 %3")
                             .arg(QLatin1String(column.table), QLatin1String(column.column),
                                  QLatin1String(column.definition))});
    }
    std::vector<std::pair<QString, std::vector<QString>>> triggers{
        {QStringLiteral("DOCS_AUDIT"), docsAuditTrigger()}};
    for (const auto &trigger : kTriggers)
        triggers.emplace_back(QString::fromLatin1(trigger.name), texts(trigger.definition));
    for (const auto &[name, definition] : triggers) {
        if (!triggerIsCurrent(transaction, name, definition.front()))
            missing.add(QStringLiteral("триггер %1").arg(name), definition);
    }
    const QSet<QString> granted = roleGrants(transaction);
    for (roles::Role role : roles::kAllRoles) {
        const QString name = roles::sqlName(role);
        if (!rowExists(transaction,
                       QStringLiteral("SELECT 1 FROM RDB$ROLES WHERE RDB$ROLE_NAME = :N"), name))
            missing.add(QStringLiteral("роль %1").arg(name),
                        {QStringLiteral("CREATE ROLE %1").arg(name)});
        for (roles::Privileges privileges : roles::privilegesOf(role)) {
            const QString lacking = lackingPrivileges(granted, name, privileges);
            if (lacking.isEmpty())
                continue;
            privileges.privileges = lacking;
            missing.add(QStringLiteral("права роли %1 на %2").arg(name, privileges.object),
                        {roles::grantStatement(role, privileges)});
        }
    }
    return missing;
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

QStringList ensureProgramTables(FbConnection &connection)
{
    Missing missing;
    try {
        FbTransaction transaction(connection);
        transaction.start();
        missing = findMissing(transaction);
        transaction.commit();
    } catch (const DbError &) {
        return {}; // the opening itself reports what is wrong with the database
    }
    if (!missing.mayUpgrade)
        return missing.names;
    QStringList notMade;
    for (std::size_t i = 0; i < missing.steps.size(); ++i) {
        // One transaction per statement: an index can be made only once its table is committed.
        for (const QString &statement : missing.steps[i]) {
            try {
                executeCommitted(connection, statement);
            } catch (const DbError &) {
                // Another program making it at this moment, or a server that refuses: told as
                // missing, and made at the next opening.
                notMade << missing.names[int(i)];
                break;
            }
        }
    }
    return notMade;
}

QString missingProgramPartsText(const QStringList &missing)
{
    const int shown = 8;
    QStringList names = missing.mid(0, shown);
    if (missing.size() > shown)
        names << QStringLiteral("и ещё %1").arg(missing.size() - shown);
    return QStringLiteral(
               "В базе данных нет того, что нужно этой версии программы: %1.\n"
               "Пока этого нет, часть работы недоступна или не проверяется. Недостающее "
               "создаст владелец базы данных, SYSDBA или пользователь с ролью RDB$ADMIN, "
               "открыв её в программе или командой zarnik-cli upgrade-db.")
        .arg(names.join(QStringLiteral(", ")));
}
