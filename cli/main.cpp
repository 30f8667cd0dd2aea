#include "commands.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <functional>
#include <map>

namespace {

void printUsage()
{
    std::fputs(
        "usage: zarnik-cli COMMAND [ARGS]\n"
        "  init-db [--demo] PATH     create a new, empty database file (--demo: with sample "
        "data)\n"
        "  words VALUE...            an amount and a quantity in words, one line per value\n"
        "  round X                   X rounded to hundredths as stored amounts are\n"
        "  calc-line MODE KOLVO CENASHT STNDS\n"
        "                            a line's STREALIZ, SUMNDS, CENASUMBEZNDS under VAT mode "
        "MODE\n"
        "  render --db PATH --template NAME [--doc KOD] [--tip N] [--json FILE] [--pdf FILE]\n"
        "         [--png PREFIX [--dpi N]]\n"
        "                            lay a printed form out and write it as JSON, PDF or PNG\n",
        stderr);
}

} // namespace

int main(int argc, char **argv)
{
    // Fonts and painting need a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const std::map<QString, std::function<int(const QStringList &)>> commands = {
        {QStringLiteral("init-db"), runInitDb}, {QStringLiteral("words"), runWords},
        {QStringLiteral("round"), runRound},    {QStringLiteral("calc-line"), runCalcLine},
        {QStringLiteral("render"), runRender},
    };
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || !commands.contains(args.first())) {
        printUsage();
        return 2;
    }
    const QString name = args.takeFirst();
    return commands.at(name)(args);
}
