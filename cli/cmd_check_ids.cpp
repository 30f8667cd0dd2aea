#include "command_line.h"
#include "commands.h"
#include "open_database.h"
#include "server_user_options.h"

#include "checks/id_checks.h"
#include "data/db_error.h"
#include "data/fb_statement.h"
#include "data/tdm.h"

#include <cstdio>
#include <functional>

namespace {

// Runs a select and hands each row's values, by column name, to take.
void eachRow(FbTransaction &transaction, const QString &sql,
             const std::function<void(const FieldValue &)> &take)
{
    FbStatement select(transaction);
    select.prepare(sql);
    select.execute();
    while (select.fetch()) {
        take([&](const QString &field) {
            for (int c = 0; c < select.columnCount(); ++c) {
                if (select.columnName(c).compare(field, Qt::CaseInsensitive) == 0)
                    return select.value(c).toString();
            }
            return QString();
        });
    }
}

// Prints one line per failing value, each after whose it is; the number of lines.
int report(std::span<const IdField> fields, const FieldValue &value, const QString &whose)
{
    const QStringList lines = problemTexts(idProblems(fields, value), whose + QStringLiteral(": "));
    for (const QString &line : lines)
        std::printf("%s\n", qPrintable(line));
    return int(lines.size());
}

QString clientName(const FieldValue &row)
{
    const QString name = row(QStringLiteral("NAMEORG"));
    return name.isEmpty() ? QStringLiteral("без наименования") : QStringLiteral("«%1»").arg(name);
}

int checkDatabase(FbTransaction &transaction)
{
    int failures = 0;
    eachRow(transaction, QStringLiteral("select BINIIN, KBE, IIK, BIK from REKVIZITY"),
            [&](const FieldValue &row) {
                failures += report(kPartyIds, row, QStringLiteral("Реквизиты компании"));
            });
    eachRow(transaction,
            QStringLiteral("select KOD, IIK, BIK from RASSCHET where KODORG = 0 order by KOD"),
            [&](const FieldValue &row) {
                failures += report(
                    kAccountIds, row,
                    QStringLiteral("Счет компании (КОД %1)").arg(row(QStringLiteral("KOD"))));
            });
    eachRow(transaction,
            QStringLiteral("select KOD, NAMEORG, BINIIN, KBE, IIK, BIK from CLIENTS "
                           "order by NAMEORG, KOD"),
            [&](const FieldValue &row) {
                failures += report(kPartyIds, row,
                                   QStringLiteral("Клиент %1 (КОД %2)")
                                       .arg(clientName(row), row(QStringLiteral("KOD"))));
            });
    eachRow(transaction,
            QStringLiteral("select r.KOD, r.KODORG, r.IIK, r.BIK, c.NAMEORG from RASSCHET r "
                           "left join CLIENTS c on c.KOD = r.KODORG where r.KODORG <> 0 "
                           "order by c.NAMEORG, r.KODORG, r.KOD"),
            [&](const FieldValue &row) {
                failures += report(kAccountIds, row,
                                   QStringLiteral("Счет клиента %1 (КОД %2)")
                                       .arg(clientName(row), row(QStringLiteral("KOD"))));
            });
    return failures;
}

} // namespace

int runCheckIds(const QStringList &args)
{
    CommandLine line(QStringLiteral("check-ids"),
                     QStringLiteral("--db LOCATION [--user NAME --password WORD]"),
                     QStringLiteral("Lists every BIN/IIN, IIK, BIK and KBE of the own requisites, "
                                    "the clients and their accounts that fails its check, one "
                                    "line each with the reason. Exit code 0 when none fails, 1 "
                                    "otherwise."));
    const QCommandLineOption dbOption({QStringLiteral("database"), QStringLiteral("db")},
                                      QStringLiteral("The database: a file, or a server's "
                                                     "host:/path/file.gdb."),
                                      QStringLiteral("LOCATION"));
    line.parser().addOption(dbOption);
    const ServerUserOptions serverUser(line, QStringLiteral("check-ids"));
    if (const std::optional<int> exitCode = line.parse(args))
        return *exitCode;
    const std::variant<QString, int> database = line.databaseWithoutArguments(dbOption);
    if (const int *exitCode = std::get_if<int>(&database))
        return *exitCode;
    const QString &db = std::get<QString>(database);

    try {
        TDM dm;
        if (!openDatabase(dm, db, "check-ids", serverUser.given()))
            return 1;
        if (!dm.TsnRW.isActive())
            dm.TsnRW.start();
        const int failures = checkDatabase(dm.TsnRW);
        if (failures == 0)
            std::fprintf(stderr, "check-ids: every identifier passes\n");
        return failures == 0 ? 0 : 1;
    } catch (const DbError &e) {
        std::fprintf(stderr, "check-ids: %s\n", qPrintable(e.message()));
        return 1;
    }
}
