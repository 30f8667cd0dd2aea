// The roles of an office's users, as the server enforces them, the upgrade of a database that
// lacks the program's tables and grants, and the record of who made and changed a document.
#include "cli_run.h"
#include "office_user.h"
#include "server_database.h"
#include "stored_row.h"

#include "data/access_refusal.h"
#include "data/db_error.h"
#include "data/fb_connection.h"
#include "data/fb_statement.h"
#include "data/office_users.h"
#include "data/program_tables.h"
#include "data/tdm.h"

#include <QFile>
#include <QProcess>
#include <QScopeGuard>

#include <gtest/gtest.h>

namespace {

using roles::Role;

// Whether the server lets the connection run `sql`; what it did is taken back.
bool serverAllows(FbConnection &connection, const QString &sql)
{
    FbTransaction transaction(connection);
    transaction.start();
    FbStatement statement(transaction);
    try {
        statement.prepare(sql);
        statement.execute();
    } catch (const DbError &e) {
        if (access_refusal::isRefused(e))
            return false;
        throw;
    }
    return true;
}

struct ActionCase {
    const char *action;
    const char *sql;
    bool accountant, manager, viewer;
};

const ActionCase kActions[] = {
    {"reads the documents", "SELECT KOD FROM DOCS", true, true, true},
    {"changes a document", "UPDATE DOCS SET NAKL = NAKL WHERE KOD = -1", true, true, false},
    {"stores a document's totals",
     "UPDATE DOCS SET STREALIZSUM = STREALIZSUM, SUMPROPIS = SUMPROPIS WHERE KOD = -1", true, true,
     true},
    {"deletes a document", "DELETE FROM DOCS WHERE KOD = -1", true, false, false},
    {"deletes a document's line", "DELETE FROM DETAILDOCS WHERE KOD = -1", true, true, false},
    {"deletes a client", "DELETE FROM CLIENTS WHERE KOD = -1", true, true, false},
    {"changes the goods", "UPDATE NOMENKLOTURA SET NAME = NAME WHERE KOD = -1", true, true, false},
    {"changes the requisites", "UPDATE REKVIZITY SET NAMEORG = NAMEORG", true, false, false},
    {"changes the payment term", "UPDATE SETTINGS SET VAL = VAL", true, false, false},
    {"changes the business's images", "DELETE FROM IMAGES WHERE NAME = ''", true, false, false},
    {"deletes a payment", "DELETE FROM PAYMENTS WHERE KOD = -1", true, true, false},
    {"sets a due date", "UPDATE DUEDATES SET SROK = SROK WHERE KODDOCS = -1", true, true, false},
    {"locks a number", "UPDATE NUMBERING SET NAME = NAME WHERE NAME = ''", true, true, false},
    {"numbers a new document", "SELECT GEN_ID(DOCS_KOD_GEN, 0) FROM RDB$DATABASE", true, true,
     false},
    {"numbers new requisites", "SELECT GEN_ID(REKVIZITY_KOD_GEN, 0) FROM RDB$DATABASE", true, false,
     false},
    {"writes who changed a document", "UPDATE DOC_AUDIT SET CHANGED_BY = 'X'", false, false, false},
    {"prints the business's forms", "SELECT BODY FROM TEMPLATES", true, true, true},
    {"changes the business's forms", "DELETE FROM TEMPLATES WHERE NAME = ''", true, false, false},
};

TEST(OfficeRoles, EachRoleIsAllowedAndRefusedWhatItShouldBeByTheServer)
{
    const ServerDatabase db(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(db);
    SKIP_WITHOUT_ADMINISTRATOR();
    for (Role role : roles::kAllRoles) {
        SCOPED_TRACE(roles::sqlName(role).toStdString());
        const OfficeUser user(db.location(), role);
        TDM dm;
        dm.DataModuleCreate(db.location(), user.credentials());
        EXPECT_EQ(dm.role(), role);
        EXPECT_TRUE(dm.missingProgramParts().isEmpty())
            << dm.missingProgramParts().join(u',').toStdString();
        for (const ActionCase &c : kActions) {
            const bool expected = role == Role::Accountant ? c.accountant
                                  : role == Role::Manager  ? c.manager
                                                           : c.viewer;
            EXPECT_EQ(serverAllows(dm.ZNDB, QString::fromLatin1(c.sql)), expected) << c.action;
        }
        dm.DataModuleDestroy();
    }
}

TEST(OfficeRoles, TheServersRefusalReadsAsWhatWasRefusedAndWhoGivesRoles)
{
    const ServerDatabase db(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(db);
    SKIP_WITHOUT_ADMINISTRATOR();
    const OfficeUser manager(db.location(), Role::Manager);
    TDM dm;
    dm.DataModuleCreate(db.location(), manager.credentials());
    try {
        executeCommitted(dm.ZNDB, QStringLiteral("DELETE FROM DOCS"));
        FAIL() << "a manager deleted the documents";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().startsWith(
            QStringLiteral("Сервер базы данных не разрешил вашей роли удаление (документы).\n"
                           "Роли пользователей назначает владелец базы данных")))
            << e.message().toStdString();
    }
    dm.DataModuleDestroy();
}

// The business's forms are the accountant's: a manager's import is refused in plain words, and
// nothing is stored.
TEST(OfficeRoles, AManagersImportOfAFormIsRefusedByTheServer)
{
    const ServerDatabase db(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(db);
    SKIP_WITHOUT_ADMINISTRATOR();
    const OfficeUser manager(db.location(), Role::Manager);
    const QString file = db.path() + QStringLiteral(".repSchet.xml");
    const CliRun exported = runCli(
        {QStringLiteral("template"), QStringLiteral("export"), QStringLiteral("repSchet"), file});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    const CliRun refused = runCli(
        {QStringLiteral("template"), QStringLiteral("import"), QStringLiteral("repSchet"), file,
         QStringLiteral("--db"), db.location(), QStringLiteral("--user"),
         manager.credentials().user, QStringLiteral("--password"), manager.credentials().password});
    QFile::remove(file);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("Сервер базы данных не разрешил вашей роли")) &&
                refused.err.contains(QStringLiteral("(бланки документов)")))
        << refused.err.toStdString();
    const CliRun listed =
        runCli({QStringLiteral("template"), QStringLiteral("list"), QStringLiteral("--db"),
                db.location(), QStringLiteral("--user"), manager.credentials().user,
                QStringLiteral("--password"), manager.credentials().password});
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_FALSE(listed.out.contains(QStringLiteral("\tbusiness"))) << listed.out.toStdString();
}

// Any client, not only this program, meets the same refusal.
TEST(OfficeRoles, AnotherClientInTheManagersRoleCannotDeleteADocument)
{
    const ServerDatabase db(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(db);
    SKIP_WITHOUT_ADMINISTRATOR();
    const OfficeUser manager(db.location(), Role::Manager);
    QProcess isql;
    isql.setProcessChannelMode(QProcess::MergedChannels);
    isql.start(QStringLiteral("isql-fb"),
               {QStringLiteral("-q"), QStringLiteral("-user"), manager.credentials().user,
                QStringLiteral("-password"), manager.credentials().password,
                QStringLiteral("-role"), QStringLiteral("ZARNIK_MANAGER"), db.location()});
    if (!isql.waitForStarted())
        GTEST_SKIP() << "isql-fb is not installed";
    isql.write("SELECT COUNT(*) FROM DOCS;\nDELETE FROM DOCS;\nCOMMIT;\n");
    isql.closeWriteChannel();
    ASSERT_TRUE(isql.waitForFinished(60'000));
    const QString output = QString::fromLocal8Bit(isql.readAll());
    EXPECT_TRUE(output.contains(QStringLiteral("COUNT"))) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("no permission for DELETE access to TABLE DOCS")))
        << output.toStdString();
}

// A database that lacks some of what this version keeps in it: a manager is told what and
// by whom it is made, and the owner's upgrade makes it.
TEST(OfficeRoles, AManagerIsToldWhatIsMissingAndTheOwnersUpgradeMakesIt)
{
    const ServerDatabase db(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(db);
    SKIP_WITHOUT_ADMINISTRATOR();
    {
        FbConnection owner;
        owner.attach(db.location(), ServerDatabase::testUser().user,
                     ServerDatabase::testUser().password);
        executeCommitted(owner, QStringLiteral("DROP TABLE NUMBERING"));
        executeCommitted(owner,
                         QStringLiteral("REVOKE DELETE ON CLIENTS FROM ROLE ZARNIK_MANAGER"));
        // The record of who changed what as an older version kept it.
        executeCommitted(owner, QStringLiteral("CREATE OR ALTER TRIGGER DOCS_AUDIT FOR DOCS "
                                               "AFTER INSERT OR UPDATE OR DELETE AS BEGIN END"));
    }
    const OfficeUser manager(db.location(), Role::Manager);
    {
        TDM dm;
        dm.DataModuleCreate(db.location(), manager.credentials());
        // A dropped table takes its grants with it.
        EXPECT_EQ(dm.missingProgramParts().join(u'|'),
                  QStringLiteral("таблица NUMBERING|триггер DOCS_AUDIT|"
                                 "права роли ZARNIK_ACCOUNTANT на NUMBERING|"
                                 "права роли ZARNIK_MANAGER на CLIENTS|"
                                 "права роли ZARNIK_MANAGER на NUMBERING|"
                                 "права роли ZARNIK_VIEWER на NUMBERING"));
        EXPECT_TRUE(missingProgramPartsText(dm.missingProgramParts())
                        .startsWith(QStringLiteral("В базе данных нет того, что нужно этой "
                                                   "версии программы: таблица NUMBERING, ")));
        dm.DataModuleDestroy();
    }
    const CliRun refused =
        runCli({QStringLiteral("upgrade-db"), QStringLiteral("--db"), db.location(),
                QStringLiteral("--user"), manager.credentials().user, QStringLiteral("--password"),
                manager.credentials().password});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("таблица NUMBERING")))
        << refused.err.toStdString();
    const CliRun upgraded =
        runCli({QStringLiteral("upgrade-db"), QStringLiteral("--db"), db.location(),
                QStringLiteral("--user"), ServerDatabase::testUser().user,
                QStringLiteral("--password"), ServerDatabase::testUser().password});
    EXPECT_EQ(upgraded.exitCode, 0) << upgraded.err.toStdString();
    TDM dm;
    dm.DataModuleCreate(db.location(), manager.credentials());
    EXPECT_TRUE(dm.missingProgramParts().isEmpty())
        << dm.missingProgramParts().join(u',').toStdString();
    EXPECT_TRUE(serverAllows(dm.ZNDB, QStringLiteral("DELETE FROM CLIENTS WHERE KOD = -1")));
    dm.DataModuleDestroy();
}

TEST(OfficeRoles, TheDatabaseRecordsWhoMadeAndWhoLastChangedADocumentAndAPayment)
{
    const ServerDatabase db(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(db);
    SKIP_WITHOUT_ADMINISTRATOR();
    const OfficeUser manager(db.location(), Role::Manager);
    const OfficeUser accountant(db.location(), Role::Accountant);
    const QString managerName = manager.credentials().user.toUpper();
    const QString accountantName = accountant.credentials().user.toUpper();
    {
        TDM dm;
        dm.DataModuleCreate(db.location(), manager.credentials());
        executeCommitted(dm.ZNDB,
                         QStringLiteral("INSERT INTO DOCS (KOD, NAKL) VALUES (9001, 'a')"));
        executeCommitted(
            dm.ZNDB, QStringLiteral("INSERT INTO PAYMENTS (KOD, KODDOCS, DATAOPL, AMOUNT, "
                                    "KIND, SOURCE) VALUES (9001, 9001, '01.03.2026', 5, 0, 0)"));
        dm.DataModuleDestroy();
    }
    TDM dm;
    dm.DataModuleCreate(db.location(), accountant.credentials());
    executeCommitted(dm.ZNDB, QStringLiteral("UPDATE DOCS SET NAKL = 'b' WHERE KOD = 9001"));
    executeCommitted(dm.ZNDB, QStringLiteral("UPDATE PAYMENTS SET AMOUNT = 6 WHERE KOD = 9001"));
    for (const char *table : {"DOC_AUDIT WHERE KODDOCS", "PAYMENTS WHERE KOD"}) {
        SCOPED_TRACE(table);
        const QStringList audit = storedRow(
            dm.ZNDB, QStringLiteral("SELECT MADE_BY, CHANGED_BY, CASE WHEN CHANGED_AT >= MADE_AT "
                                    "THEN 'in order' END FROM %1 = 9001")
                         .arg(QLatin1String(table)));
        EXPECT_EQ(audit.join(u'|'),
                  managerName + u'|' + accountantName + QStringLiteral("|in order"));
    }
    executeCommitted(dm.ZNDB, QStringLiteral("DELETE FROM DOCS WHERE KOD = 9001"));
    EXPECT_TRUE(storedRow(dm.ZNDB, QStringLiteral("SELECT 1 FROM DOC_AUDIT WHERE KODDOCS = 9001"))
                    .isEmpty());
    dm.DataModuleDestroy();
}

// The triggers keep each document's amount and due date for a manager, who may not write them
// itself, and a deleted document takes its row along.
TEST(OfficeRoles, TheKeptAmountsFollowAManagersLinesAndDueDates)
{
    const ServerDatabase db(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(db);
    SKIP_WITHOUT_ADMINISTRATOR();
    const OfficeUser manager(db.location(), Role::Manager);
    const OfficeUser accountant(db.location(), Role::Accountant);
    const QString kept = QStringLiteral(
        "SELECT CAST(AMOUNT AS NUMERIC(18, 2)), SROK FROM DOC_AMOUNTS WHERE KODDOCS = 9002");
    {
        TDM dm;
        dm.DataModuleCreate(db.location(), manager.credentials());
        for (const char *sql :
             {"INSERT INTO DOCS (KOD, NAKL) VALUES (9002, 'a')",
              "INSERT INTO DETAILDOCS (KOD, KODDOCS, STREALIZ) VALUES (9002, 9002, 10.5)",
              "INSERT INTO DETAILDOCS (KOD, KODDOCS, STREALIZ) VALUES (9003, 9002, 4.25)",
              "UPDATE DETAILDOCS SET STREALIZ = 20 WHERE KOD = 9002",
              "DELETE FROM DETAILDOCS WHERE KOD = 9003",
              "INSERT INTO DUEDATES (KODDOCS, SROK) VALUES (9002, '01.03.2026')"})
            executeCommitted(dm.ZNDB, QString::fromLatin1(sql));
        EXPECT_EQ(storedRow(dm.ZNDB, kept).join(u'|').left(13), QStringLiteral("20|2026-03-01"));
        EXPECT_FALSE(serverAllows(dm.ZNDB, QStringLiteral("UPDATE DOC_AMOUNTS SET AMOUNT = 0")));
        dm.DataModuleDestroy();
    }
    TDM dm;
    dm.DataModuleCreate(db.location(), accountant.credentials());
    EXPECT_FALSE(serverAllows(dm.ZNDB, QStringLiteral("DELETE FROM DOC_AMOUNTS")));
    executeCommitted(dm.ZNDB, QStringLiteral("DELETE FROM DETAILDOCS WHERE KODDOCS = 9002"));
    executeCommitted(dm.ZNDB, QStringLiteral("DELETE FROM DOCS WHERE KOD = 9002"));
    EXPECT_TRUE(storedRow(dm.ZNDB, kept).isEmpty());
    dm.DataModuleDestroy();
}

} // namespace

namespace {

CliRun usersCommand(QStringList args, const database::Credentials &as)
{
    args.prepend(QStringLiteral("users"));
    args << QStringLiteral("--user") << as.user << QStringLiteral("--password") << as.password;
    return runCli(args);
}

TEST(OfficeUsersCommand, AddsListsChangesAndRemovesAUserOfTheDatabase)
{
    const ServerDatabase db(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(db);
    SKIP_WITHOUT_ADMINISTRATOR();
    const database::Credentials admin = ServerDatabase::administrator();
    const QString name = ServerDatabase::uniqueUserName();
    const auto removeUser = qScopeGuard([&] {
        usersCommand({QStringLiteral("remove"), name, QStringLiteral("--db"), db.location()},
                     admin);
    });
    const QStringList dbOption{QStringLiteral("--db"), db.location()};
    const auto listed = [&] {
        const CliRun run = usersCommand(QStringList{QStringLiteral("list")} + dbOption, admin);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        for (const QString &row : run.out.split(u'\n')) {
            if (row.startsWith(name.toUpper() + u'\t'))
                return row.section(u'\t', 1);
        }
        return QStringLiteral("(absent)");
    };
    CliRun run =
        usersCommand(QStringList{QStringLiteral("add"), name, QStringLiteral("--role"),
                                 QStringLiteral("manager"), QStringLiteral("--user-password"),
                                 QStringLiteral("First-1")} +
                         dbOption,
                     admin);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(listed(), QStringLiteral("manager"));
    run = usersCommand(QStringList{QStringLiteral("set"), name, QStringLiteral("--role"),
                                   QStringLiteral("viewer"), QStringLiteral("--user-password"),
                                   QStringLiteral("Second-2")} +
                           dbOption,
                       admin);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(listed(), QStringLiteral("viewer"));
    {
        TDM dm;
        dm.DataModuleCreate(db.location(), {name, QStringLiteral("Second-2")});
        EXPECT_EQ(dm.role(), Role::Viewer);
        dm.DataModuleDestroy();
    }
    // The database's owner lists the users too, but only the server's administrator adds them.
    run = usersCommand(QStringList{QStringLiteral("list")} + dbOption, ServerDatabase::testUser());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    run = usersCommand(QStringList{QStringLiteral("remove"), name} + dbOption, admin);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(listed(), QStringLiteral("(absent)"));
}

TEST(OfficeUsersCommand, RefusesAnIncompleteOrWrongRequestBeforeAskingTheServer)
{
    const struct {
        const char *why;
        QStringList args;
        const char *message;
    } cases[] = {
        {"no action", {QStringLiteral("--db"), QStringLiteral("h:z")}, "list, add, remove or set"},
        {"no name to add",
         {QStringLiteral("add"), QStringLiteral("--db"), QStringLiteral("h:z")},
         "one user name is needed"},
        {"no role to add",
         {QStringLiteral("add"), QStringLiteral("ANNA"), QStringLiteral("--user-password"),
          QStringLiteral("x"), QStringLiteral("--db"), QStringLiteral("h:z")},
         "add needs --role and --user-password"},
        {"an unknown role",
         {QStringLiteral("set"), QStringLiteral("ANNA"), QStringLiteral("--role"),
          QStringLiteral("boss"), QStringLiteral("--db"), QStringLiteral("h:z")},
         "--role is accountant, manager or viewer"},
        {"nothing to set",
         {QStringLiteral("set"), QStringLiteral("ANNA"), QStringLiteral("--db"),
          QStringLiteral("h:z")},
         "set needs --role or --user-password"},
        {"a file",
         {QStringLiteral("list"), QStringLiteral("--db"), QStringLiteral("ZNDB1.2.GDB")},
         "users are kept by a Firebird server"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.why);
        const CliRun run = runCli(QStringList{QStringLiteral("users")} + c.args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(QLatin1String(c.message))) << run.err.toStdString();
    }
}

} // namespace
