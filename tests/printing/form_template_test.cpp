// The business's own versions of the forms: kept in the database, printed in place of the
// built-in ones (by the command line and, on a server, by every computer from its next print),
// and refused when they do not read as templates.
#include "changed_invoice.h"
#include "cli_run.h"
#include "server_database.h"
#include "temp_database.h"

#include "data/business_templates.h"
#include "data/db_error.h"
#include "data/fb_connection.h"
#include "data/tdm.h"
#include "printing/form_template.h"
#include "report/report_model.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

const QString kInvoice = QStringLiteral("repSchet");

CliRun templateCommand(const QStringList &args)
{
    return runCli(QStringList{QStringLiteral("template")} + args);
}

// Every object text of the invoice zarnik-cli renders from db.
QStringList renderedInvoice(const QString &db, QString *errors = nullptr)
{
    const CliRun run =
        runCli({QStringLiteral("render"), QStringLiteral("--db"), db, QStringLiteral("--template"),
                kInvoice, QStringLiteral("--json"), QStringLiteral("-")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    if (errors)
        *errors = run.err;
    QStringList texts;
    const auto pages = QJsonDocument::fromJson(run.out.toUtf8()).object()[u"pages"].toArray();
    for (const auto &page : pages)
        for (const auto &band : page.toObject()[u"bands"].toArray())
            for (const auto &object : band.toObject()[u"objects"].toArray())
                texts << object.toObject()[u"text"].toString();
    EXPECT_FALSE(texts.isEmpty());
    return texts;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void storeDirectly(TDM &dm, const QString &name, const QByteArray &body)
{
    FbTransaction transaction(dm.ZNDB);
    transaction.start();
    business_templates::store(transaction, name, body);
    transaction.commit();
}

bool hasObject(const zreport::TfrxReport &report, const QString &name)
{
    for (const zreport::TfrxReportPage *page : report.reportPages())
        for (const auto &band : page->bands)
            for (const auto &view : band->objects)
                if (view->name == name)
                    return true;
    return false;
}

bool printsReceivedLine(const zreport::TfrxReport &report)
{
    return hasObject(report, QStringLiteral("MemoReceived"));
}

TEST(FormTemplates, AChangedInvoiceIsStoredPrintedByTheCommandLineAndResetToTheStandard)
{
    const TempDatabase db(TempDatabase::Demo);
    const QString file = db.folder() + QStringLiteral("/schet.xml");
    writeFile(file, changedInvoice());
    EXPECT_FALSE(renderedInvoice(db.path()).contains(kReceivedLine));

    const CliRun imported = templateCommand(
        {QStringLiteral("import"), kInvoice, file, QStringLiteral("--db"), db.path()});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    QString errors;
    EXPECT_TRUE(renderedInvoice(db.path(), &errors).contains(kReceivedLine));
    EXPECT_FALSE(errors.contains(QStringLiteral("Бланк"))) << errors.toStdString();

    // Kept byte for byte: what is exported is what was imported.
    const QString exported = db.folder() + QStringLiteral("/exported.xml");
    const CliRun exportRun = templateCommand(
        {QStringLiteral("export"), kInvoice, exported, QStringLiteral("--db"), db.path()});
    ASSERT_EQ(exportRun.exitCode, 0) << exportRun.err.toStdString();
    EXPECT_EQ(readFile(exported), changedInvoice());
    const CliRun listed =
        templateCommand({QStringLiteral("list"), QStringLiteral("--db"), db.path()});
    EXPECT_TRUE(listed.out.contains(QStringLiteral("repSchet\tСчет на оплату\tbusiness\t")))
        << listed.out.toStdString();
    EXPECT_TRUE(listed.out.contains(QStringLiteral("repSchF\tСчет-фактура\tbuilt-in\n")));

    const CliRun reset =
        templateCommand({QStringLiteral("reset"), kInvoice, QStringLiteral("--db"), db.path()});
    ASSERT_EQ(reset.exitCode, 0) << reset.err.toStdString();
    EXPECT_FALSE(renderedInvoice(db.path()).contains(kReceivedLine));
    // Without a version of the business's, and without a database, the built-in file.
    for (const QStringList &where :
         {QStringList{QStringLiteral("--db"), db.path()}, QStringList{}}) {
        const CliRun builtIn =
            templateCommand(QStringList{QStringLiteral("export"), kInvoice, exported} + where);
        ASSERT_EQ(builtIn.exitCode, 0) << builtIn.err.toStdString();
        EXPECT_EQ(readFile(exported), ztemplates::builtinTemplateBody(kInvoice));
    }
}

TEST(FormTemplates, AStoredTemplateThatDoesNotLoadPrintsTheStandardOneWithAMessageNamingTheForm)
{
    const TempDatabase db(TempDatabase::Demo);
    {
        TDM dm;
        dm.DataModuleCreate(db.path());
        storeDirectly(dm, kInvoice,
                      "<TfrxReport Name=\"repSchet\">\n  <TfrxShape/>\n</TfrxReport>\n");
        const FormTemplate loaded = loadFormTemplate(dm, kInvoice);
        ASSERT_TRUE(loaded.report);
        EXPECT_TRUE(hasObject(*loaded.report, QStringLiteral("Memo37"))); // the standard one
        EXPECT_EQ(loaded.warning,
                  QStringLiteral("Бланк «Счет на оплату» из базы данных не загружается "
                                 "(repSchet:2:14: неизвестный класс TfrxShape); напечатан "
                                 "стандартный бланк."));
        // A form the business never changed prints without a word.
        const FormTemplate other = loadFormTemplate(dm, QStringLiteral("repSchF"));
        EXPECT_TRUE(other.report);
        EXPECT_TRUE(other.warning.isEmpty());
    }
    QString errors;
    EXPECT_TRUE(
        renderedInvoice(db.path(), &errors)
            .contains(QStringLiteral(
                "Сумма прописью: Сто семьдесят две тысячи девятьсот пятьдесят тенге 00 тиын")));
    EXPECT_TRUE(errors.contains(
        QStringLiteral("render: Бланк «Счет на оплату» из базы данных не загружается")))
        << errors.toStdString();
}

// A database made before the forms were kept, opened by a user who may not add the table.
TEST(FormTemplates, ADatabaseWithoutTheTablePrintsTheBuiltInFormsAndSaysHowToGetIt)
{
    const TempDatabase db(TempDatabase::Demo);
    FbConnection connection;
    connection.attach(db.path(), database::userName(), database::password());
    executeCommitted(connection, QStringLiteral("DROP TABLE TEMPLATES"));
    FbTransaction transaction(connection);
    transaction.start();
    EXPECT_FALSE(business_templates::body(transaction, kInvoice));
    EXPECT_TRUE(business_templates::list(transaction).empty());
    try {
        business_templates::store(transaction, kInvoice, changedInvoice());
        ADD_FAILURE() << "stored without a table";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().startsWith(
            QStringLiteral("В базе данных нет таблицы бланков документов: откройте базу")));
    }
}

struct RefusedImport {
    const char *what;
    QStringList args; // after "template"; FILE stands for the test's file
    QByteArray file;
    int exitCode;
    const char *message;
};

TEST(FormTemplates, AnImportThatCannotPrintIsRefusedAndStoresNothing)
{
    const TempDatabase db(TempDatabase::Demo);
    const QString file = db.folder() + QStringLiteral("/t.xml");
    const RefusedImport cases[] = {
        {"a file that is not XML", {"import", "repSchet", "FILE"}, "not a template", 1, ":1:1: "},
        {"a template with an unknown property",
         {"import", "repSchet", "FILE"},
         "<TfrxReport Name=\"repSchet\">\n<TfrxReportPage Name=\"P\" Colour=\"1\"/>\n</TfrxReport>",
         1,
         "t.xml:2:"},
        {"an empty file", {"import", "repSchet", "FILE"}, "", 1, "t.xml:1:0: "},
        {"a name that is not a built-in form",
         {"import", "repSchot", "FILE"},
         changedInvoice(),
         2,
         "unknown template repSchot"},
        {"a file that is not there",
         {"import", "repSchet", "/nonexistent/t.xml"},
         changedInvoice(),
         1,
         "/nonexistent/t.xml: "},
        {"no database", {"import", "repSchet", "FILE"}, changedInvoice(), 2, "--db is required"},
    };
    for (const RefusedImport &c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(file, c.file);
        QStringList args;
        for (const QString &arg : c.args)
            args << (arg == u"FILE" ? file : arg);
        if (QLatin1String(c.what) != QLatin1String("no database"))
            args << QStringLiteral("--db") << db.path();
        const CliRun run = templateCommand(args);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message))) << run.err.toStdString();
        TDM dm;
        dm.DataModuleCreate(db.path());
        dm.TsnRW.start();
        EXPECT_TRUE(business_templates::list(dm.TsnRW).empty());
    }
}

// Two computers of an office on one server database: a form one of them saves prints on the
// other at its next print, and so does its removal, with nothing reopened in between.
TEST(FormTemplates, AChangeSavedOnOneComputerPrintsOnTheOtherAtItsNextPrint)
{
    const ServerDatabase db(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(db);
    TDM here;
    here.DataModuleCreate(db.location(), ServerDatabase::testUser());
    TDM there;
    there.DataModuleCreate(db.location(), ServerDatabase::testUser());
    for (Dataset *dataset : here.mainDatasets())
        dataset->open();
    EXPECT_FALSE(printsReceivedLine(*loadFormTemplate(here, kInvoice).report));

    storeDirectly(there, kInvoice, changedInvoice());
    EXPECT_TRUE(printsReceivedLine(*loadFormTemplate(here, kInvoice).report));

    FbTransaction transaction(there.ZNDB);
    transaction.start();
    business_templates::remove(transaction, kInvoice);
    transaction.commit();
    EXPECT_FALSE(printsReceivedLine(*loadFormTemplate(here, kInvoice).report));
    here.DataModuleDestroy();
    there.DataModuleDestroy();
}

} // namespace
