#include "command_line.h"
#include "commands.h"
#include "open_database.h"
#include "payment_options.h"
#include "server_user_options.h"

#include "data/db_error.h"
#include "data/fb_statement.h"
#include "data/payment_status.h"
#include "data/payments.h"
#include "data/tdm.h"
#include "imports/value_parsing.h"

#include <cmath>
#include <cstdio>

namespace {

std::optional<PaymentKind> parseKind(const QString &text)
{
    if (text == QLatin1String("bank"))
        return PaymentKind::Bank;
    if (text == QLatin1String("cash"))
        return PaymentKind::Cash;
    if (text == QLatin1String("other"))
        return PaymentKind::Other;
    return std::nullopt;
}

bool documentExists(FbTransaction &transaction, int kod)
{
    return !FbStatement::scalar(transaction,
                                QStringLiteral("select KOD from DOCS where KOD = %1").arg(kod))
                .isNull();
}

} // namespace

int runPay(const QStringList &args)
{
    CommandLine line(
        QStringLiteral("pay"),
        QStringLiteral(
            "--db LOCATION [--user NAME --password WORD] --doc KOD --amount X [--date DD.MM.YYYY] "
            "[--kind bank|cash|other]"),
        QStringLiteral("Records a payment of the document KOD (today unless --date, "
                       "by bank unless --kind) and prints what is paid of its amount "
                       "and its status."));
    const QCommandLineOption dbOption({QStringLiteral("database"), QStringLiteral("db")},
                                      QStringLiteral("The database, a file or on a server."),
                                      QStringLiteral("LOCATION"));
    const QCommandLineOption docOption(QStringLiteral("doc"), QStringLiteral("The document's KOD."),
                                       QStringLiteral("KOD"));
    const QCommandLineOption amountOption(QStringLiteral("amount"),
                                          QStringLiteral("The amount paid, more than zero."),
                                          QStringLiteral("X"));
    const QCommandLineOption dateOption(QStringLiteral("date"),
                                        QStringLiteral("The date of the payment."),
                                        QStringLiteral("DD.MM.YYYY"));
    const QCommandLineOption kindOption(
        QStringLiteral("kind"), QStringLiteral("bank, cash or other."), QStringLiteral("KIND"));
    line.parser().addOptions({dbOption, docOption, amountOption, dateOption, kindOption});
    const ServerUserOptions serverUser(line, QStringLiteral("pay"));
    if (const std::optional<int> exitCode = line.parse(args))
        return *exitCode;
    const std::variant<QString, int> database = line.databaseWithoutArguments(dbOption);
    if (const int *exitCode = std::get_if<int>(&database))
        return *exitCode;
    const QString &db = std::get<QString>(database);
    bool kodOk = false;
    const int kod = line.parser().value(docOption).toInt(&kodOk);
    if (!kodOk)
        return line.usageError(QStringLiteral("--doc needs the document's KOD"));
    const std::optional<double> amount = parseNumber(line.parser().value(amountOption));
    if (!amount || !std::isfinite(*amount) || *amount < 0.005)
        return line.usageError(QStringLiteral("--amount needs an amount of at least 0.01"));
    Payment payment;
    payment.document = kod;
    payment.amount = *amount;
    payment.date = QDate::currentDate();
    if (line.parser().isSet(dateOption)) {
        const std::optional<QDate> date = parseCommandDate(line.parser().value(dateOption));
        if (!date)
            return line.usageError(QStringLiteral("--date %1 is not a date DD.MM.YYYY")
                                       .arg(line.parser().value(dateOption)));
        payment.date = *date;
    }
    if (line.parser().isSet(kindOption)) {
        const std::optional<PaymentKind> kind = parseKind(line.parser().value(kindOption));
        if (!kind)
            return line.usageError(QStringLiteral("--kind is bank, cash or other"));
        payment.kind = *kind;
    }

    try {
        TDM dm;
        if (!openDatabase(dm, db, "pay", serverUser.given()))
            return 1;
        if (!dm.TsnRW.isActive())
            dm.TsnRW.start();
        if (!documentExists(dm.TsnRW, kod)) {
            std::fprintf(stderr, "pay: no document with KOD %d\n", kod);
            return 1;
        }
        payments::add(dm.TsnRW, payment);
        const double total = payments::documentAmount(dm.TsnRW, kod);
        const double paid = payments::paidAmount(dm.TsnRW, kod);
        const PaymentStatus status =
            paymentStatus(total, paid, payments::dueDate(dm.TsnRW, kod), QDate::currentDate());
        dm.TsnRW.commit();
        std::printf("%s\t%s\t%s\n", qPrintable(QString::number(paid, 'f', 2)),
                    qPrintable(QString::number(total, 'f', 2)),
                    paymentStatusText(status).toUtf8().constData());
        return 0;
    } catch (const DbError &e) {
        std::fprintf(stderr, "pay: %s\n", qPrintable(e.message()));
        return 1;
    }
}
