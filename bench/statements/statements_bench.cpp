// A bank statement of 10,000 incoming operations read, matched against 100,000 documents of
// 10,000 clients and written in one step; and the memory a 50 MB statement takes to read.

#include "bench_database.h"
#include "peak_memory.h"

#include "data/database_file.h"
#include "data/date_time.h"
#include "data/fb_connection.h"
#include "data/fb_statement.h"
#include "data/program_tables.h"
#include "statements/statement_import.h"
#include "statements/statement_reader.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kClients = 10'000;
constexpr int kDocumentsPerClient = 10;
constexpr int kOperations = 10'000;
const QString kOwnAccount = QStringLiteral("KZ64722S000001234567");

QByteArray binOf(int client)
{
    return QByteArray::number(100000000000LL + client);
}

// Document KOD = client * 10 + n (n 1..10), invoice number = KOD, one line of 1000 + KOD % 500.
double amountOf(int kod)
{
    return 1000 + kod % 500;
}

void fill(FbConnection &connection)
{
    ensureProgramTables(connection);
    FbTransaction transaction(connection);
    transaction.start();
    FbStatement doc(transaction);
    doc.prepare(
        QStringLiteral("insert into DOCS (KOD, KODARCHIV, NAMEORG, BINIIN, DATASCH, NUMSCH, "
                       "NUMSCHF) values (:KOD, 0, :NAMEORG, :BINIIN, :DATASCH, :N1, :N2)"));
    FbStatement line(transaction);
    line.prepare(QStringLiteral("insert into DETAILDOCS (KOD, KODDOCS, NUM, STREALIZ) values "
                                "(:KOD, :KODDOCS, 1, :STREALIZ)"));
    for (int client = 1; client <= kClients; ++client) {
        for (int n = 1; n <= kDocumentsPerClient; ++n) {
            const int kod = client * kDocumentsPerClient + n;
            doc.setParameter(0, kod);
            doc.setParameter(1, QStringLiteral("ТОО «Клиент № %1»").arg(client));
            doc.setParameter(2, QString::fromLatin1(binOf(client)));
            doc.setParameter(3, datetime::make(QDate(2026, 11, 1)));
            doc.setParameter(4, kod);
            doc.setParameter(5, kod + 1'000'000);
            doc.execute();
            line.setParameter(0, kod);
            line.setParameter(1, kod);
            line.setParameter(2, amountOf(kod));
            line.execute();
        }
    }
    transaction.commit();
}

// One incoming operation per client: most name their invoice, every tenth only pays its amount,
// every fiftieth pays something no document is due.
QByteArray statementOf(int operations)
{
    QByteArray text = "1CClientBankExchange\r\nВерсияФормата=1.03\r\nКодировка=UTF8\r\nРасчСчет=" +
                      kOwnAccount.toLatin1() + "\r\n";
    text.reserve(operations * 520);
    for (int i = 0; i < operations; ++i) {
        const int client = i % kClients + 1;
        const int kod = client * kDocumentsPerClient + 1 + (i / kClients) % kDocumentsPerClient;
        QByteArray purpose = "Оплата по счету № " + QByteArray::number(kod) + " от 01.11.2026";
        QByteArray amount = QByteArray::number(amountOf(kod), 'f', 2);
        if (i % 10 == 3)
            purpose = "Оплата за товар согласно договору";
        if (i % 50 == 3)
            amount = "17.00";
        text += "СекцияДокумент=Платежное поручение\r\nНомерДокумента=" + QByteArray::number(i) +
                "\r\nДатаДокумента=02.12.2026\r\nДатаОперации=02.12.2026\r\nСумма=" + amount +
                "\r\nПлательщикНаименование=ТОО «Клиент № " + QByteArray::number(client) +
                "»\r\nПлательщикБИН_ИИН=" + binOf(client) +
                "\r\nПлательщикИИК=KZ12601A861000123456\r\nПлательщикБанкБИК=HSBKKZKX\r\n"
                "ПолучательИИК=" +
                kOwnAccount.toLatin1() + "\r\nНазначениеПлатежа=" + purpose +
                "\r\nКодНазначенияПлатежа=710\r\nВалюта=KZT\r\nКонецДокумента\r\n";
    }
    return text + "КонецФайла\r\n";
}

Statement read(const QByteArray &bytes)
{
    auto result = readStatement(bytes, {kOwnAccount});
    return std::holds_alternative<Statement>(result) ? std::get<Statement>(std::move(result))
                                                     : Statement();
}

void ReadMatchAndWriteStatement(benchmark::State &state)
{
    const QString source = generatedDatabase("ZARNIK_BENCH_STATEMENT_DB",
                                             QStringLiteral("zarnik-bench-statements.gdb"), fill);
    const QByteArray bytes = statementOf(kOperations);
    ImportCounts counts;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("statement.gdb"));
        QFile::copy(source, path);
        FbConnection connection;
        connection.attach(path, database::userName(), database::password());
        FbTransaction transaction(connection);
        transaction.start();
        state.ResumeTiming();
        const Statement statement = read(bytes);
        const StatementPlan plan = planImport(transaction, statement);
        counts = recordImport(transaction, plan.operations);
        transaction.commit();
    }
    state.counters["recorded"] = counts.recorded;
    state.counters["unmatched"] = counts.unmatched;
    if (counts.recorded + counts.unmatched != kOperations)
        state.SkipWithError("not every operation was read");
}
BENCHMARK(ReadMatchAndWriteStatement)->Unit(benchmark::kMillisecond)->Iterations(3);

void ReadStatement(benchmark::State &state)
{
    const QByteArray bytes = statementOf(kOperations);
    for (auto _ : state)
        benchmark::DoNotOptimize(read(bytes));
}
BENCHMARK(ReadStatement)->Unit(benchmark::kMillisecond);

// Run alone (--benchmark_filter=Read50MB) for its peak memory to be its own.
void Read50MBStatement(benchmark::State &state)
{
    const QByteArray bytes = statementOf(100'000);
    const double before = peakMemoryMb();
    size_t operations = 0;
    for (auto _ : state)
        operations = read(bytes).operations.size();
    state.counters["file_MB"] = double(bytes.size()) / (1 << 20);
    state.counters["peak_MB"] = peakMemoryMb();
    state.counters["peak_before_MB"] = before;
    if (operations != 100'000)
        state.SkipWithError("not every operation was read");
}
BENCHMARK(Read50MBStatement)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
