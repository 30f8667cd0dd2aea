#include "cli_run.h"
#include "data/tdm.h"
#include "office_user.h"
#include "printing/print_job.h"
#include "report/report_engine.h"
#include "server_database.h"
#include "stored_row.h"
#include "tcp_relay.h"
#include "temp_database.h"
#include "templates/template_loader.h"
#include "unreadable_row.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

CliRun render(const QStringList &args)
{
    return runCli(QStringList{QStringLiteral("render")} + args);
}

// Every object text of the prepared pages, in output order.
QStringList texts(const QString &jsonPath)
{
    QFile file(jsonPath);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList result;
    const auto pages = QJsonDocument::fromJson(file.readAll()).object()[u"pages"].toArray();
    for (const auto &page : pages)
        for (const auto &band : page.toObject()[u"bands"].toArray())
            for (const auto &object : band.toObject()[u"objects"].toArray())
                result << object.toObject()[u"text"].toString();
    return result;
}

// Stores totals in the register's first document that its lines do not give; its KOD.
qint64 storeStaleTotals(TDM &dm)
{
    dm.DSetDocs->open();
    const qint64 kod = dm.DSetDocs->asInteger(QStringLiteral("KOD"));
    dm.DSetDocs->edit();
    dm.DSetDocs->setValue(QStringLiteral("STREALIZSUM"), 1.0);
    dm.DSetDocs->setValue(QStringLiteral("SUMPROPIS"), QStringLiteral("устарело"));
    dm.DSetDocs->post();
    return kod;
}

TEST(Render, InvoicePrintsTotalsWorkedOutForThisPrintAndLeavesTheFileAlone)
{
    TempDatabase db(TempDatabase::Demo);
    qint64 kod;
    {
        // Stale totals in the file: the print must work them out again, in memory only.
        TDM dm;
        dm.DataModuleCreate(db.path());
        kod = storeStaleTotals(dm);
    }
    const QString json = db.folder() + QStringLiteral("/schet.json");
    const CliRun result = render({QStringLiteral("--db"), db.path(), QStringLiteral("--template"),
                                  QStringLiteral("repSchet"), QStringLiteral("--json"), json});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QStringList printed = texts(json);
    EXPECT_TRUE(printed.contains(QStringLiteral("172950,00")));
    EXPECT_TRUE(printed.contains(QStringLiteral(
        "Сумма прописью: Сто семьдесят две тысячи девятьсот пятьдесят тенге 00 тиын")));
    EXPECT_TRUE(printed.contains(QStringLiteral("ПЛАТЕЛЬЩИК: ТОО «Степной Ветер»")));

    TDM dm;
    dm.DataModuleCreate(db.path());
    dm.DSetDocs->open();
    ASSERT_TRUE(dm.DSetDocs->locate(kod));
    EXPECT_EQ(dm.DSetDocs->asFloat(QStringLiteral("STREALIZSUM")), 1.0);
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("SUMPROPIS")), QStringLiteral("устарело"));
}

// Kazakh names print on the forms as typed, and a PDF reader finds them again.
TEST(Render, KazakhNamesPrintOnTheInvoiceAndThePaymentOrder)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString seller = QStringLiteral("ТОО «Құрылыс-Өнім»");
    const QString buyer = QStringLiteral("ИП Әбілқасымова Гүлнұр");
    const QString address = QStringLiteral("Әуезов көшесі, 12");
    TempDatabase db(TempDatabase::Demo);
    {
        TDM dm;
        dm.DataModuleCreate(db.path());
        for (Dataset *d : {dm.DSetRekvizity, dm.DSetDocs}) {
            d->open();
            d->edit();
        }
        dm.DSetRekvizity->setValue(QStringLiteral("NAMEORG"), seller);
        dm.DSetDocs->setValue(QStringLiteral("NAMEORG"), buyer);
        dm.DSetRekvizity->setValue(QStringLiteral("ADRES"), address);
        dm.DSetRekvizity->post();
        dm.DSetDocs->post();
        dm.TsnRW.commit();
    }
    for (const char *form : {"repSchet", "repPlat"}) {
        const QString pdf = db.folder() + QStringLiteral("/%1.pdf").arg(QLatin1String(form));
        const CliRun result =
            render({QStringLiteral("--db"), db.path(), QStringLiteral("--template"),
                    QLatin1String(form), QStringLiteral("--pdf"), pdf});
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(result.err, QString()) << "standard error is the tool's own";
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        text.waitForFinished(60000);
        const QString printed = QString::fromUtf8(text.readAllStandardOutput());
        for (const QString &name : {seller, buyer})
            EXPECT_TRUE(printed.contains(name)) << form << ": " << printed.toStdString();
        if (QLatin1String(form) == QLatin1String("repSchet")) {
            EXPECT_TRUE(printed.contains(QStringLiteral("Адрес: ") + address)) << form;
        }
    }
}

// The print job is named after the document, as a person finds it in the printer's queue.
TEST(PrintJob, IsNamedAfterTheDocument)
{
    TempDatabase db(TempDatabase::Demo);
    TDM dm;
    dm.DataModuleCreate(db.path());
    dm.DSetDocs->open();
    EXPECT_EQ(documentTitle(dm, PrintForm::Invoice),
              QStringLiteral("Счет № 1 от 02.03.2026 — ТОО «Степной Ветер»"));
    EXPECT_EQ(documentTitle(dm, PrintForm::PaymentOrder),
              QStringLiteral("Платежное поручение № 1 от 02.03.2026 — ТОО «Степной Ветер»"));
    dm.DSetDocs->edit();
    dm.DSetDocs->setValue(QStringLiteral("NUMACT"), QVariant());
    dm.DSetDocs->setValue(QStringLiteral("DATAACT"), QVariant());
    EXPECT_EQ(documentTitle(dm, PrintForm::Act),
              QStringLiteral("Акт выполненных работ — ТОО «Степной Ветер»"));
    dm.DSetDocs->cancel();
}

TEST(Render, ListingOfOneKindOfClients)
{
    TempDatabase db(TempDatabase::Demo);
    const QString json = db.folder() + QStringLiteral("/org.json");
    const CliRun result = render({QStringLiteral("--db"), db.path(), QStringLiteral("--template"),
                                  QStringLiteral("repOrg"), QStringLiteral("--tip"),
                                  QStringLiteral("1"), QStringLiteral("--json"), json});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QStringList printed = texts(json);
    EXPECT_TRUE(printed.contains(QStringLiteral("ИП Нурланов Берик Ерланович")));
    EXPECT_FALSE(printed.contains(QStringLiteral("ТОО «Степной Ветер»")));
    EXPECT_TRUE(printed.contains(QStringLiteral("Количество строк: 1")));
}

TEST(Render, RefusesWhatItCannotUse)
{
    TempDatabase demo(TempDatabase::Demo);
    TempDatabase empty;
    const QString t = QStringLiteral("--template");
    const QString d = QStringLiteral("--db");
    const struct {
        QStringList args;
        int exitCode;
    } cases[] = {
        {{d, demo.path(), t, QStringLiteral("repNoSuch")}, 2},
        {{d, demo.folder() + QStringLiteral("/missing.gdb"), t, QStringLiteral("repSchet")}, 2},
        {{d, demo.path(), t, QStringLiteral("repSchet"), QStringLiteral("--doc"),
          QStringLiteral("9999")},
         2},
        {{d, demo.path(), t, QStringLiteral("repSchet"), QStringLiteral("--dpi"),
          QStringLiteral("x")},
         2},
        {{d, demo.path()}, 2},
        {{d, demo.path(), t, QStringLiteral("repSchet"), QStringLiteral("--xlsx"),
          QStringLiteral("-")},
         2},
        {{d, empty.path(), t, QStringLiteral("repSchet")}, 1},
    };
    for (const auto &c : cases) {
        const CliRun result = render(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.args.join(u' ').toStdString();
        EXPECT_FALSE(result.err.isEmpty());
    }
}

// The reconciliation act of a demo client: its sale before the period opens it, its sale within
// it is a row, and its half for the client is filled only when asked.
TEST(Render, ReconciliationActOfAClientAndPeriod)
{
    TempDatabase db(TempDatabase::Demo);
    const QString json = db.folder() + QStringLiteral("/act.json");
    const QString pdf = db.folder() + QStringLiteral("/act.pdf");
    const QStringList act = {QStringLiteral("--db"),       db.path(),
                             QStringLiteral("--template"), QStringLiteral("repAktSverki"),
                             QStringLiteral("--client"),   QStringLiteral("1"),
                             QStringLiteral("--from"),     QStringLiteral("01.03.2026"),
                             QStringLiteral("--to"),       QStringLiteral("31.03.2026")};
    for (const bool mirror : {false, true}) {
        const CliRun result =
            render(act + QStringList{QStringLiteral("--json"), json, QStringLiteral("--pdf"), pdf} +
                   (mirror ? QStringList{QStringLiteral("--mirror")} : QStringList()));
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(result.out, QStringLiteral("repAktSverki: 1 page(s)\n"));
        EXPECT_TRUE(QFileInfo(pdf).size() > 0);
        const QStringList printed = texts(json);
        EXPECT_TRUE(printed.contains(QStringLiteral("между ТОО «Алтын Дала Трейд» и ТОО «Степной "
                                                    "Ветер»")));
        EXPECT_EQ(printed.count(QStringLiteral("Реализация (накладная № 1 от 02.03.2026)")),
                  mirror ? 2 : 1);
        EXPECT_EQ(printed.count(QStringLiteral("21000,00")), mirror ? 2 : 1) << "opening";
    }
}

TEST(Render, ReconciliationActRefusesWhatItCannotUse)
{
    TempDatabase demo(TempDatabase::Demo);
    const QStringList base = {QStringLiteral("--db"), demo.path(), QStringLiteral("--template"),
                              QStringLiteral("repAktSverki")};
    const QStringList period = {QStringLiteral("--from"), QStringLiteral("01.01.2026"),
                                QStringLiteral("--to"), QStringLiteral("31.03.2026")};
    const QString client = QStringLiteral("--client");
    const struct {
        QStringList args;
        const char *message;
    } cases[] = {
        {base + period, "--template repAktSverki needs --client"},
        {base + QStringList{client, QStringLiteral("1"), QStringLiteral("--from"),
                            QStringLiteral("01.01.2026")},
         "--template repAktSverki needs --to"},
        {base + period + QStringList{client, QStringLiteral("x")},
         "--client needs a whole number, not \"x\""},
        {base + QStringList{client, QStringLiteral("1"), QStringLiteral("--from"),
                            QStringLiteral("31.02.2026"), QStringLiteral("--to"),
                            QStringLiteral("31.03.2026")},
         "--from 31.02.2026 is not a date DD.MM.YYYY"},
        {base + QStringList{client, QStringLiteral("1"), QStringLiteral("--from"),
                            QStringLiteral("01.04.2026"), QStringLiteral("--to"),
                            QStringLiteral("31.03.2026")},
         "--from 01.04.2026 is after --to 31.03.2026"},
        {{QStringLiteral("--db"), demo.path(), QStringLiteral("--template"),
          QStringLiteral("repSchet"), QStringLiteral("--mirror")},
         "--mirror is only for --template repAktSverki"},
        {base + period + QStringList{client, QStringLiteral("999")},
         "there is no client with KOD 999"},
    };
    for (const auto &c : cases) {
        const CliRun result = render(c.args);
        EXPECT_EQ(result.exitCode, 2) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(result.err.contains(QString::fromUtf8(c.message))) << result.err.toStdString();
    }
}

TEST(PrintJob, TemplateOfEachForm)
{
    EXPECT_EQ(documentTemplateName(PrintForm::Invoice, 0, false, false),
              QStringLiteral("repSchet"));
    EXPECT_EQ(documentTemplateName(PrintForm::Invoice, 1, false, false),
              QStringLiteral("repSchet"));
    EXPECT_EQ(documentTemplateName(PrintForm::Invoice, 2, false, false),
              QStringLiteral("repSchet_beznds"));
    EXPECT_EQ(documentTemplateName(PrintForm::Act, 0, false, false), QStringLiteral("repActKn"));
    EXPECT_EQ(documentTemplateName(PrintForm::Act, 0, true, false), QStringLiteral("repActAlb"));
    EXPECT_EQ(documentTemplateName(PrintForm::Waybill, 0, false, true),
              QStringLiteral("repNaklAlb"));
    EXPECT_EQ(documentTemplateName(PrintForm::PaymentOrder, 2, false, false),
              QStringLiteral("repPlat"));
}

} // namespace

namespace {

// A database error while a report reads the data module's rows reaches the engine as its own
// kind of error, which ends the run with a message instead of unwinding through the windows.
TEST(DatasetRows, TurnADatabaseErrorIntoTheEnginesError)
{
    TempDatabase db;
    TDM dm;
    dm.DataModuleCreate(db.path());
    knpUnreadableAtRow(dm, 3, 3);
    DatasetRows rows(dm.DSetKNP);
    ASSERT_TRUE(rows.open());
    rows.first();
    try {
        while (!rows.eof())
            rows.next();
        ADD_FAILURE() << "the third row was read";
    } catch (const zreport::RowsError &error) {
        EXPECT_FALSE(error.message.isEmpty());
    }
}

// Rows that cannot be opened because the server is gone: the report says so in the database's
// words, not as a dataset with no data behind it.
TEST(DatasetRows, ALostConnectionWhileOpeningIsTheReportsError)
{
    ServerDatabase db(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(db);
    TcpRelay relay{3050};
    TDM dm;
    dm.DataModuleCreate(QStringLiteral("127.0.0.1/%1:%2").arg(relay.port()).arg(db.path()),
                        ServerDatabase::testUser());
    dm.closeAllDatasets();
    relay.cut();
    QString error;
    const auto report = ztemplates::loadBuiltinTemplate(QStringLiteral("repSchet"), &error);
    ASSERT_TRUE(report) << error.toStdString();
    ReportSources sources(dm);
    zreport::ReportEngine engine(*report, sources.sources());
    EXPECT_FALSE(engine.run());
    const QString errors = engine.errors().join(u'\n');
    EXPECT_TRUE(errors.contains(QStringLiteral("Связь с сервером базы данных потеряна")))
        << errors.toStdString();
    EXPECT_FALSE(errors.contains(QStringLiteral("не подключен к данным"))) << errors.toStdString();
}

// A user who may only read prints: the form comes out and its totals are stored, as for
// everybody, but the document does not count as changed by them.
TEST(PrintJob, AViewerPrintsAndStoresTheTotalsWithoutChangingTheDocument)
{
    const ServerDatabase db(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(db);
    SKIP_WITHOUT_ADMINISTRATOR();
    const OfficeUser viewer(db.location(), roles::Role::Viewer);
    qint64 kod = 0;
    {
        TDM dm;
        dm.DataModuleCreate(db.location(), ServerDatabase::testUser());
        kod = storeStaleTotals(dm);
        dm.TsnRW.commit();
        dm.DataModuleDestroy();
    }
    const QString auditSql =
        QStringLiteral("SELECT CHANGED_BY, CHANGED_AT FROM DOC_AUDIT WHERE KODDOCS = %1").arg(kod);
    TDM dm;
    dm.DataModuleCreate(db.location(), viewer.credentials());
    ASSERT_EQ(dm.role(), roles::Role::Viewer);
    const QStringList auditBefore = storedRow(dm.ZNDB, auditSql);
    ASSERT_EQ(auditBefore.value(0), ServerDatabase::testUser().user);
    for (Dataset *dataset : dm.mainDatasets())
        dataset->open();
    ASSERT_TRUE(dm.DSetDocs->locate(kod));
    QStringList printed;
    const QString problem = printCurrentDocument(
        dm, PrintForm::Invoice, false, false, {},
        [&](const zreport::TfrxReport &report, const zreport::DataSources &sources) {
            zreport::ReportEngine engine(report, sources);
            EXPECT_TRUE(engine.run()) << engine.errors().join(u'\n').toStdString();
            for (const auto &page : engine.prepared().pages())
                for (const auto &object : page.objects)
                    printed << object.text;
        },
        {});
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("172950,00"))) << printed.join(u'|').toStdString();
    dm.DSetDocs->post();
    dm.TsnRW.commit();

    EXPECT_EQ(storedRow(dm.ZNDB, QStringLiteral("SELECT STREALIZSUM, SUMPROPIS FROM DOCS WHERE "
                                                "KOD = %1")
                                     .arg(kod))
                  .join(u'|'),
              QStringLiteral("172950|Сто семьдесят две тысячи девятьсот пятьдесят тенге 00 тиын"));
    EXPECT_EQ(storedRow(dm.ZNDB, auditSql), auditBefore);
    dm.DataModuleDestroy();
}

} // namespace
