#include "command_line.h"
#include "commands.h"
#include "open_database.h"
#include "payment_options.h"
#include "server_user_options.h"

#include "data/db_error.h"
#include "data/debts.h"
#include "data/tdm.h"
#include "imports/csv_writer.h"

#include <cstdio>

namespace {

QString money(double amount, QChar decimal)
{
    QString text = QString::number(amount, 'f', 2);
    text.replace(QLatin1Char('.'), decimal);
    return text;
}

QStringList fieldsOf(const ClientDebt &client, QChar decimal)
{
    return {client.name,
            client.biniin,
            money(client.invoiced, decimal),
            money(client.paid, decimal),
            money(client.due, decimal),
            money(client.ages.overdue(), decimal),
            money(client.advance, decimal)};
}

void writeText(const Debts &debts)
{
    for (const ClientDebt &client : debts.clients)
        std::printf(
            "%s\n",
            fieldsOf(client, QLatin1Char('.')).join(QLatin1Char('\t')).toUtf8().constData());
    ClientDebt total = debts.total;
    total.name = QStringLiteral("Итого");
    std::printf("%s\n",
                fieldsOf(total, QLatin1Char('.')).join(QLatin1Char('\t')).toUtf8().constData());
}

void writeCsv(const Debts &debts)
{
    QByteArray csv =
        csvRecord({QStringLiteral("Клиент"), QStringLiteral("БИН/ИИН"),
                   QStringLiteral("Выставлено"), QStringLiteral("Оплачено"), QStringLiteral("Долг"),
                   QStringLiteral("Просрочено"), QStringLiteral("Аванс")});
    for (const ClientDebt &client : debts.clients)
        csv += csvRecord(fieldsOf(client, QLatin1Char(',')));
    ClientDebt total = debts.total;
    total.name = QStringLiteral("Итого");
    csv += csvRecord(fieldsOf(total, QLatin1Char(',')));
    std::fwrite(csv.constData(), 1, size_t(csv.size()), stdout);
}

} // namespace

int runDebts(const QStringList &args)
{
    CommandLine line(
        QStringLiteral("debts"),
        QStringLiteral("--db LOCATION [--user NAME --password WORD] [--date DD.MM.YYYY] [--csv]"),
        QStringLiteral("Lists each client with money due or paid in advance at the date "
                       "(today unless --date): name, BIN/IIN, invoiced, paid, due, "
                       "overdue and the advance, "
                       "TAB-separated, then the total line. --csv writes the same as "
                       "CSV (UTF-8, ';', decimal commas) with a header."));
    const QCommandLineOption dbOption({QStringLiteral("database"), QStringLiteral("db")},
                                      QStringLiteral("The database, a file or on a server."),
                                      QStringLiteral("LOCATION"));
    const QCommandLineOption dateOption(QStringLiteral("date"),
                                        QStringLiteral("The date of the figures."),
                                        QStringLiteral("DD.MM.YYYY"));
    const QCommandLineOption csvOption(QStringLiteral("csv"), QStringLiteral("Write CSV."));
    line.parser().addOptions({dbOption, dateOption, csvOption});
    const ServerUserOptions serverUser(line, QStringLiteral("debts"));
    if (const std::optional<int> exitCode = line.parse(args))
        return *exitCode;
    const std::variant<QString, int> database = line.databaseWithoutArguments(dbOption);
    if (const int *exitCode = std::get_if<int>(&database))
        return *exitCode;
    const QString &db = std::get<QString>(database);
    QDate at = QDate::currentDate();
    if (line.parser().isSet(dateOption)) {
        const std::optional<QDate> date = parseCommandDate(line.parser().value(dateOption));
        if (!date)
            return line.usageError(QStringLiteral("--date %1 is not a date DD.MM.YYYY")
                                       .arg(line.parser().value(dateOption)));
        at = *date;
    }

    try {
        TDM dm;
        if (!openDatabase(dm, db, "debts", serverUser.given()))
            return 1;
        if (!dm.TsnRW.isActive())
            dm.TsnRW.start();
        const Debts debts = clientDebts(dm.TsnRW, at);
        if (line.parser().isSet(csvOption))
            writeCsv(debts);
        else
            writeText(debts);
        return 0;
    } catch (const DbError &e) {
        std::fprintf(stderr, "debts: %s\n", qPrintable(e.message()));
        return 1;
    }
}
