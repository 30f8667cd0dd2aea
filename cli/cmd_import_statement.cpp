#include "command_line.h"
#include "commands.h"
#include "open_database.h"
#include "server_user_options.h"

#include "data/db_error.h"
#include "data/tdm.h"
#include "statements/open_documents.h"
#include "statements/statement_checks.h"
#include "statements/statement_import.h"
#include "statements/statement_reader.h"

#include <QFile>

#include <cstdio>

namespace {

const char *const kName = "import-statement";

void printLine(const QString &text)
{
    std::printf("%s\n", text.toUtf8().constData());
}

void printError(const QString &text)
{
    std::fprintf(stderr, "%s: %s\n", kName, text.toUtf8().constData());
}

QString matchText(const PlannedOperation &planned)
{
    if (planned.alreadyImported)
        return QStringLiteral("уже загружено");
    if (!planned.match.document)
        return QStringLiteral("не сопоставлено");
    return QStringLiteral("документ %1, счет № %2")
        .arg(planned.match.document)
        .arg(planned.match.invoiceNumber);
}

} // namespace

int runImportStatement(const QStringList &args)
{
    CommandLine line(
        QStringLiteral("import-statement"),
        QStringLiteral("FILE --db LOCATION [--user NAME --password WORD] [--dry-run]"),
        QStringLiteral("Reads a bank statement (the 1CClientBankExchange text) and prints each "
                       "incoming operation, TAB-separated: date, number, amount, payer's BIN/IIN "
                       "and name, and what it pays (\"документ KOD, счет № N\", \"не "
                       "сопоставлено\" or \"уже загружено\"). Records the matched ones in one "
                       "step, all or none, unless --dry-run; the unmatched are left for the "
                       "window \"Выписка банка...\". A statement of an account not in the "
                       "requisites, or a faulty one, is refused with exit code 1."));
    const QCommandLineOption dbOption({QStringLiteral("database"), QStringLiteral("db")},
                                      QStringLiteral("The database, a file or on a server."),
                                      QStringLiteral("LOCATION"));
    const QCommandLineOption dryRunOption(QStringLiteral("dry-run"),
                                          QStringLiteral("Show the matches, record nothing."));
    line.parser().addOptions({dbOption, dryRunOption});
    const ServerUserOptions serverUser(line, QStringLiteral("import-statement"));
    line.parser().addPositionalArgument(QStringLiteral("FILE"),
                                        QStringLiteral("the statement file"));
    if (const std::optional<int> exitCode = line.parse(args))
        return *exitCode;
    const std::variant<CommandLine::FileAndDatabase, int> given = line.fileAndDatabase(dbOption);
    if (const int *exitCode = std::get_if<int>(&given))
        return *exitCode;
    const auto &[path, db] = std::get<CommandLine::FileAndDatabase>(given);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("не удалось открыть %1: %2").arg(path, file.errorString()));
        return 1;
    }
    const QByteArray bytes = file.readAll();
    file.close();

    try {
        TDM dm;
        if (!openDatabase(dm, db, kName, serverUser.given()))
            return 1;
        if (!dm.TsnRW.isActive())
            dm.TsnRW.start();
        const QStringList own = ownAccounts(dm.TsnRW);
        auto read = readStatement(bytes, own);
        if (const StatementRefusal *refusal = std::get_if<StatementRefusal>(&read)) {
            printError(refusal->text() + QStringLiteral("; ничего не записано"));
            return 1;
        }
        const Statement &statement = std::get<Statement>(read);
        if (const QStringList foreign = foreignAccounts(statement, own); !foreign.isEmpty()) {
            printError(QStringLiteral("Счет %1 не найден в реквизитах; ничего не записано")
                           .arg(foreign.join(QStringLiteral(", "))));
            return 1;
        }
        for (const QString &mismatch : totalsMismatches(statement))
            printError(mismatch);

        const StatementPlan plan = planImport(dm.TsnRW, statement);
        for (const PlannedOperation &planned : plan.operations) {
            const StatementOperation &op = planned.operation;
            printLine(QStringList{op.paymentDate().toString(QStringLiteral("dd.MM.yyyy")),
                                  op.number, QString::number(op.amount, 'f', 2), op.payer.biniin,
                                  op.payer.name, matchText(planned)}
                          .join(QLatin1Char('\t')));
        }
        if (line.parser().isSet(dryRunOption)) {
            printError(QStringLiteral("--dry-run: ничего не записано"));
            return 0;
        }
        const ImportCounts counts = recordImport(dm.TsnRW, plan.operations);
        dm.TsnRW.commit();
        printError(QStringLiteral("записано %1, не сопоставлено %2, уже загружено %3")
                       .arg(counts.recorded)
                       .arg(counts.unmatched)
                       .arg(counts.alreadyImported));
        return 0;
    } catch (const DbError &e) {
        printError(e.message() + QStringLiteral("; ничего не записано"));
        return 1;
    }
}
