// The words and money commands: the very routines the program prints with, on values typed in.

#include "amount_words.h"
#include "commands.h"
#include "money.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

// Always "." as the decimal point, whatever the desktop's locale says.
std::optional<double> parseNumber(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

std::optional<std::vector<double>> parseNumbers(const QStringList &texts)
{
    std::vector<double> values;
    for (const QString &text : texts) {
        const std::optional<double> value = parseNumber(text);
        if (!value)
            return std::nullopt;
        values.push_back(*value);
    }
    return values;
}

// As printf's "%.17g" in the C locale: printf itself would follow LC_NUMERIC, which the
// application sets from the environment.
std::string roundTripText(double value)
{
    char text[32];
    const auto written =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17);
    return std::string(text, written.ptr);
}

void printLine(const QString &line)
{
    std::fputs(line.toUtf8().append('\n').constData(), stdout);
}

int usage(const char *text)
{
    std::fprintf(stderr, "usage: zarnik-cli %s\n", text);
    return 2;
}

} // namespace

int runWords(const QStringList &args)
{
    const std::optional<std::vector<double>> values = parseNumbers(args);
    if (args.isEmpty() || !values)
        return usage("words VALUE...   (numbers with \".\" as the decimal point)");

    int exitCode = 0;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const std::optional<QString> amount = SumPropis((*values)[i]);
        const std::optional<QString> quantity = QuantityPropis((*values)[i]);
        if (!amount || !quantity) {
            std::fprintf(stderr,
                         "words: %s cannot be written in words; only values from 0 to "
                         "999999999999.99 can\n",
                         args[i].toUtf8().constData());
            exitCode = 1;
            continue;
        }
        printLine(*amount + u'\t' + *quantity);
    }
    return exitCode;
}

int runRound(const QStringList &args)
{
    const std::optional<std::vector<double>> values = parseNumbers(args);
    if (args.size() != 1 || !values)
        return usage("round X");

    std::printf("%s\n", roundTripText(roundMoney(values->front())).c_str());
    return 0;
}

int runCalcLine(const QStringList &args)
{
    const char *const syntax = "calc-line MODE KOLVO CENASHT STNDS   (MODE an integer: 0 VAT "
                               "included, 1 VAT added, 2 without VAT)";
    if (args.size() != 4)
        return usage(syntax);
    bool modeOk = false;
    const int mode = args[0].toInt(&modeOk);
    const std::optional<std::vector<double>> values = parseNumbers(args.mid(1));
    if (!modeOk || !values)
        return usage(syntax);

    const LineAmounts line = computeLineAmounts(mode, (*values)[0], (*values)[1], (*values)[2]);
    std::printf("%s %s %s\n", roundTripText(line.strealiz).c_str(),
                roundTripText(line.sumnds).c_str(), roundTripText(line.cenasumbeznds).c_str());
    return 0;
}
