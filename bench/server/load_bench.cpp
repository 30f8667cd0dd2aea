// Eight users adding documents at once on the local Firebird server: each client process adds
// 500 documents of 5 lines through the data module, as the editor does, numbered by the number
// button, with short random pauses. Afterwards every document and line must be stored and no two
// documents may share a number of one form; the documents per second and the conflicts the
// clients met are reported.
//
//   build/bin/bench_load [--clients 8] [--documents 500]
//
// Each client is this program again, started with --client.

#include "core/auto_number.h"
#include "core/number_check.h"
#include "data/conflict_errors.h"
#include "data/database_file.h"
#include "data/db_error.h"
#include "data/fb_statement.h"
#include "data/tdm.h"
#include "server_bench_database.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <thread>

namespace {

constexpr int kLinesPerDocument = 5;

// The first words of the data layer's messages on another user's change, and of the number
// check's on another user storing a number.
const QString kClearMessages[] = {
    QStringLiteral("Эти данные сейчас изменяет другой пользователь"),
    QStringLiteral("Эти данные изменил другой пользователь"),
    QStringLiteral("Эти данные удалил другой пользователь"),
    QStringLiteral("Другой пользователь сейчас записывает документ с номером"),
};

bool isClear(const QString &message)
{
    for (const QString &clear : kClearMessages) {
        if (message.startsWith(clear))
            return true;
    }
    return false;
}

void execute(TDM &dm, const QString &sql)
{
    if (!dm.TsnRW.isActive())
        dm.TsnRW.start();
    FbStatement statement(dm.TsnRW);
    statement.prepare(sql);
    statement.execute();
}

void pause(std::mt19937 &random, int upToMs)
{
    std::this_thread::sleep_for(
        std::chrono::milliseconds(std::uniform_int_distribution<int>(0, upToMs)(random)));
}

// One new document as the editor stores it: the document made, its lines stored as they are
// picked, the invoice number from the number button, "ОК", and the register's commit.
void addDocumentAsEditorDoes(TDM &dm, int client, int index, std::mt19937 &random, int &renumbered)
{
    Dataset *docs = dm.DSetDocs;
    Dataset *lines = dm.DSetDetail;
    docs->insert();
    docs->setValue(QStringLiteral("NAMEORG"), QStringLiteral("ТОО «Клиент № %1»").arg(client));
    docs->setValue(QStringLiteral("STNDS"), 12);
    for (int n = 1; n <= kLinesPerDocument; ++n) {
        lines->append();
        lines->setValue(QStringLiteral("NUM"), n);
        lines->setValue(
            QStringLiteral("NAME"),
            QStringLiteral("Товар %1 документа %2 клиента %3").arg(n).arg(index).arg(client));
        lines->setValue(QStringLiteral("EDIZM"), QStringLiteral("шт."));
        lines->setValue(QStringLiteral("STNDS"), 12);
        lines->setValue(QStringLiteral("CENASHT"), 1250.5 + n);
        lines->setValue(QStringLiteral("KOLVO"), n);
        lines->post();
        pause(random, 2);
    }
    AutoNumber(dm, NumberInvoice);
    // "ОК": a number another user has stored meanwhile is asked about, and the user takes the
    // next free one.
    storeNumberedAsking(dm, {}, [&](const NumberClash &) {
        ++renumbered;
        return true;
    });
    dm.TsnRW.commit();
}

struct ClientTally {
    int stored = 0;
    std::map<QString, int> conflicts; // the first line of each message met, and how often
    int unclear = 0;                  // conflicts whose message was not the plain one
    int renumbered = 0;               // numbers another user had stored meanwhile
};

int runClient(const QString &location, int client, int documents)
{
    TDM dm;
    dm.DataModuleCreate(location, benchServerUser());
    dm.TsnRW.start();
    for (Dataset *dataset : dm.mainDatasets())
        dataset->open();
    std::mt19937 random(unsigned(client) * 7919u + 1);
    ClientTally tally;
    const QString savepoint = QStringLiteral("LOAD_DOCUMENT");
    for (int index = 1; index <= documents;) {
        pause(random, 10);
        try {
            execute(dm, QStringLiteral("savepoint ") + savepoint);
            addDocumentAsEditorDoes(dm, client, index, random, tally.renumbered);
            ++tally.stored;
            ++index;
        } catch (const DbError &error) {
            if (!conflict::isConflict(error))
                throw;
            // As a user would: the change taken back, then tried again.
            tally.conflicts[error.message().section(QLatin1Char('\n'), 0, 0)]++;
            if (!isClear(error.message()))
                ++tally.unclear;
            dm.DSetDetail->cancel();
            dm.DSetDocs->cancel();
            execute(dm, QStringLiteral("rollback to savepoint ") + savepoint);
        }
    }
    dm.DataModuleDestroy();
    int conflicts = 0;
    for (const auto &[message, count] : tally.conflicts)
        conflicts += count;
    std::printf("stored %d conflicts %d unclear %d renumbered %d\n", tally.stored, conflicts,
                tally.unclear, tally.renumbered);
    for (const auto &[message, count] : tally.conflicts)
        std::printf("conflict %d %s\n", count, qPrintable(message));
    return 0;
}

qint64 scalar(TDM &dm, const QString &sql)
{
    return FbStatement::scalar(dm.TsnRW, sql).toLongLong();
}

// What the clients left behind: every document and line, and no number of a form twice.
QStringList checkStored(const QString &location, int documents)
{
    QStringList faults;
    TDM dm;
    dm.DataModuleCreate(location, benchServerUser());
    dm.TsnRW.start();
    const qint64 stored = scalar(dm, QStringLiteral("select count(*) from DOCS"));
    const qint64 lines = scalar(dm, QStringLiteral("select count(*) from DETAILDOCS"));
    if (stored != documents)
        faults << QStringLiteral("%1 documents stored instead of %2").arg(stored).arg(documents);
    if (lines != qint64(documents) * kLinesPerDocument)
        faults << QStringLiteral("%1 lines stored instead of %2")
                      .arg(lines)
                      .arg(qint64(documents) * kLinesPerDocument);
    const qint64 incomplete = scalar(
        dm, QStringLiteral("select count(*) from DOCS d where (select count(*) from DETAILDOCS l "
                           "where l.KODDOCS = d.KOD) <> %1")
                .arg(kLinesPerDocument));
    if (incomplete > 0)
        faults << QStringLiteral("%1 documents without their %2 lines")
                      .arg(incomplete)
                      .arg(kLinesPerDocument);
    for (int form = NumberInvoice; form <= NumberPaymentOrder; ++form) {
        const QString column = numberColumn(form);
        const qint64 shared = scalar(
            dm, QStringLiteral("select count(*) from (select %1 from DOCS where %1 is not null "
                               "group by %1 having count(*) > 1)")
                    .arg(column));
        if (shared > 0)
            faults << QStringLiteral("%1: %2 numbers borne by more than one document")
                          .arg(column)
                          .arg(shared);
    }
    dm.DataModuleDestroy();
    return faults;
}

int runLoad(int clients, int documents)
{
    const QString path = serverBenchFolder() +
                         QStringLiteral("/load-%1.gdb").arg(QCoreApplication::applicationPid());
    const QString location = serverLocation(path);
    database::create(location, benchServerUser());

    QElapsedTimer timer;
    timer.start();
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int c = 1; c <= clients; ++c) {
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--client"), QString::number(c),
                        QStringLiteral("--documents"), QString::number(documents),
                        QStringLiteral("--database"), location});
        processes.push_back(std::move(process));
    }
    int conflicts = 0, unclear = 0, renumbered = 0;
    QStringList faults;
    std::map<QString, int> messages;
    for (size_t c = 0; c < processes.size(); ++c) {
        QProcess &process = *processes[c];
        if (!process.waitForFinished(30 * 60 * 1000) || process.exitCode() != 0)
            faults << QStringLiteral("client %1 failed").arg(c + 1);
        const QString output = QString::fromUtf8(process.readAllStandardOutput());
        for (const QString &line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QStringList words = line.split(QLatin1Char(' '));
            if (words.value(0) == QLatin1String("stored")) {
                conflicts += words.value(3).toInt();
                unclear += words.value(5).toInt();
                renumbered += words.value(7).toInt();
            } else if (words.value(0) == QLatin1String("conflict")) {
                messages[line.section(QLatin1Char(' '), 2)] += words.value(1).toInt();
            }
        }
    }
    const double seconds = double(timer.elapsed()) / 1000;
    const int total = clients * documents;
    faults << checkStored(location, total);

    std::printf("%d clients, %d documents of %d lines each: %.1f s, %.1f documents/s\n", clients,
                total, kLinesPerDocument, seconds, double(total) / seconds);
    std::printf("conflicts met: %d (%d without the plain message)\n", conflicts, unclear);
    std::printf("numbers another client had stored meanwhile, taken the next free at \"ОК\": %d\n",
                renumbered);
    for (const auto &[message, count] : messages)
        std::printf("  %dx %s\n", count, qPrintable(message));
    for (const QString &fault : faults)
        std::printf("FAULT: %s\n", qPrintable(fault));
    if (faults.isEmpty())
        std::printf("every document and line is stored, no number of a form is borne twice\n");

    FbConnection connection;
    connection.attach(location, benchServerUser().user, benchServerUser().password);
    connection.drop();
    return faults.isEmpty() && unclear == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption clients(QStringLiteral("clients"), QStringLiteral("client processes"),
                                     QStringLiteral("n"), QStringLiteral("8"));
    const QCommandLineOption documents(QStringLiteral("documents"),
                                       QStringLiteral("documents each client adds"),
                                       QStringLiteral("n"), QStringLiteral("500"));
    const QCommandLineOption client(QStringLiteral("client"),
                                    QStringLiteral("run as client number n"), QStringLiteral("n"));
    const QCommandLineOption database(QStringLiteral("database"),
                                      QStringLiteral("the client's database"),
                                      QStringLiteral("location"));
    parser.addOptions({clients, documents, client, database});
    parser.addHelpOption();
    parser.process(app);
    try {
        if (parser.isSet(client))
            return runClient(parser.value(database), parser.value(client).toInt(),
                             parser.value(documents).toInt());
        return runLoad(parser.value(clients).toInt(), parser.value(documents).toInt());
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 2;
    }
}
