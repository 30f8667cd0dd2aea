#include "commands.h"
#include "program_version.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

namespace {

const char kUsage[] =
    "usage: zarnik-cli COMMAND [ARGS]   (zarnik-cli COMMAND --help for its options)\n"
    "  init-db [--demo] LOCATION create a new, empty database, a file or on a server (--demo: with "
    "sample data)\n"
    "  words VALUE...            an amount and a quantity in words, one line per value\n"
    "  round X                   X rounded to hundredths as stored amounts are\n"
    "  calc-line MODE KOLVO CENASHT STNDS\n"
    "                            a line's STREALIZ, SUMNDS, CENASUMBEZNDS under VAT mode MODE\n"
    "  render [--database PATH] --template NAME [--doc KOD] [--tip N] [--json FILE] [--pdf FILE]\n"
    "         [--png PREFIX [--dpi N]]\n"
    "                            lay a printed form out and write it as JSON, PDF or PNG\n"
    "  check-ids --db PATH       list the BIN/IIN, IIK, BIK and KBE values that fail their "
    "checks\n"
    "  backup --db LOCATION FILE.fbk\n"
    "                            write a backup of the database here, of a server's too\n"
    "                            (complete, or no FILE.fbk)\n"
    "  restore FILE.fbk PATH [--replace]\n"
    "                            restore a backup into a new database, checked first\n"
    "  validate --db LOCATION    check the database for damage\n"
    "  upgrade-db --db LOCATION  add the tables, roles and grants this version needs\n"
    "  users list|add|remove|set [NAME] --db LOCATION [--role accountant|manager|viewer]\n"
    "         [--user-password WORD]\n"
    "                            the users of a server's database and their roles\n"
    "  import-goods FILE --db PATH [--kind N] [--mapping MAP] [--duplicates skip|update|add]\n"
    "         [--skip-bad]           bring goods and services in from a CSV file\n"
    "  import-clients FILE --db PATH [--kind N] [--mapping MAP] [--duplicates skip|update|add]\n"
    "         [--skip-bad]           bring clients in from a CSV file\n"
    "  debts --db LOCATION [--date DD.MM.YYYY] [--csv]\n"
    "                            each client with money due: invoiced, paid, due, overdue\n"
    "  pay --db LOCATION --doc KOD --amount X [--date DD.MM.YYYY] [--kind bank|cash|other]\n"
    "                            record a payment of a document\n"
    "  import-statement FILE --db LOCATION [--dry-run]\n"
    "                            bring payments in from a bank statement (1CClientBankExchange)\n"
    "  email --db LOCATION --doc KOD --to ADDRESS [--template NAME ...] [--subject TEXT]\n"
    "        [--smtp HOST:PORT] [--security starttls|ssl|none] [--user NAME]\n"
    "                            send the document's forms as PDFs by e-mail (password from\n"
    "                            ZARNIK_SMTP_PASSWORD)\n"
    "  template export NAME FILE [--db LOCATION] | import NAME FILE --db LOCATION |\n"
    "           reset NAME --db LOCATION | list [--db LOCATION]\n"
    "                            the printed forms' templates: the business's own versions kept\n"
    "                            in the database, to or from a file\n"
    "--db and --database are one option; LOCATION is a file or a server's connection string\n"
    "(host:/path/file.gdb, host/port:alias). On a server, backup, restore and validate work as\n"
    "the user of --user NAME --password WORD (else ISC_USER and ISC_PASSWORD).\n";

// Qt's own diagnostics (a missing XDG_RUNTIME_DIR when run as root or from a service, a
// font-configuration note) are not the tool's business: its standard error carries only its
// own messages, which scripts read.
void quietQtMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "zarnik-cli: %s\n", message.toLocal8Bit().constData());
        std::abort();
    }
}

} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(quietQtMessages);
    // Fonts and painting need a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QString::fromLatin1(zarnik::kProgramName));
    QGuiApplication::setApplicationVersion(QString::fromLatin1(zarnik::kProgramVersion));

    const std::map<QString, std::function<int(const QStringList &)>> commands = {
        {QStringLiteral("init-db"), runInitDb},
        {QStringLiteral("words"), runWords},
        {QStringLiteral("round"), runRound},
        {QStringLiteral("calc-line"), runCalcLine},
        {QStringLiteral("render"), runRender},
        {QStringLiteral("check-ids"), runCheckIds},
        {QStringLiteral("backup"), runBackup},
        {QStringLiteral("restore"), runRestore},
        {QStringLiteral("validate"), runValidate},
        {QStringLiteral("upgrade-db"), runUpgradeDb},
        {QStringLiteral("users"), runUsers},
        {QStringLiteral("import-goods"), runImportGoods},
        {QStringLiteral("import-clients"), runImportClients},
        {QStringLiteral("debts"), runDebts},
        {QStringLiteral("pay"), runPay},
        {QStringLiteral("import-statement"), runImportStatement},
        {QStringLiteral("email"), runEmail},
        {QStringLiteral("template"), runTemplate},
    };
    QStringList args = app.arguments().mid(1);
    const QString first = args.value(0);
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (first == QLatin1String("--version")) {
        std::printf("zarnik-cli (%s %s)\n", zarnik::kProgramName, zarnik::kProgramVersion);
        return 0;
    }
    if (!commands.contains(first)) {
        if (!first.isEmpty())
            std::fprintf(stderr, "zarnik-cli: unknown command %s\n", first.toUtf8().constData());
        std::fputs(kUsage, stderr);
        return 2;
    }
    args.removeFirst();
    return commands.at(first)(args);
}
