// The words and money commands: the very routines the program prints with, on values typed in.

#include "command_line.h"
#include "commands.h"
#include "data/money.h"
#include "words/amount_words.h"

#include <charconv>
#include <cmath>
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

// The program stores no amount that is not a finite number; neither do these commands print one.
bool allFinite(std::initializer_list<double> values)
{
    for (double value : values) {
        if (!std::isfinite(value))
            return false;
    }
    return true;
}

int failure(const char *command, const QString &problem)
{
    std::fprintf(stderr, "%s: %s\n", command, problem.toUtf8().constData());
    return 1;
}

const char kNumbersNote[] = "Numbers are written with \".\" as the decimal point.";

} // namespace

int runWords(const QStringList &args)
{
    CommandLine line(QStringLiteral("words"), QStringLiteral("VALUE..."),
                     QStringLiteral("Writes each amount and quantity in words, TAB-separated, "
                                    "one line per value. %1")
                         .arg(QLatin1String(kNumbersNote)));
    line.parser().addPositionalArgument(QStringLiteral("VALUE"),
                                        QStringLiteral("from 0 to 999999999999.99"),
                                        QStringLiteral("VALUE..."));
    line.acceptNegativeNumbers();
    if (const std::optional<int> exitCode = line.parse(args))
        return *exitCode;
    const QStringList texts = line.parser().positionalArguments();
    if (texts.isEmpty())
        return line.usageError(QStringLiteral("no value given"));
    const std::optional<std::vector<double>> values = parseNumbers(texts);
    if (!values)
        return line.usageError(QStringLiteral("not a number; %1").arg(QLatin1String(kNumbersNote)));

    int exitCode = 0;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const std::optional<QString> amount = SumPropis((*values)[i]);
        const std::optional<QString> quantity = QuantityPropis((*values)[i]);
        if (!amount || !quantity) {
            std::fprintf(stderr,
                         "words: %s cannot be written in words; only values from 0 to "
                         "999999999999.99 can\n",
                         texts[i].toUtf8().constData());
            exitCode = 1;
            continue;
        }
        printLine(*amount + u'\t' + *quantity);
    }
    return exitCode;
}

int runRound(const QStringList &args)
{
    CommandLine line(QStringLiteral("round"), QStringLiteral("X"),
                     QStringLiteral("Prints X rounded to hundredths as stored amounts are. %1")
                         .arg(QLatin1String(kNumbersNote)));
    line.parser().addPositionalArgument(QStringLiteral("X"), QStringLiteral("a finite number"));
    line.acceptNegativeNumbers();
    if (const std::optional<int> exitCode = line.parse(args))
        return *exitCode;
    const QStringList texts = line.parser().positionalArguments();
    if (texts.size() != 1)
        return line.usageError(QStringLiteral("one value is needed"));
    const std::optional<double> value = parseNumber(texts.front());
    if (!value)
        return line.usageError(QStringLiteral("not a number; %1").arg(QLatin1String(kNumbersNote)));
    if (!allFinite({*value}))
        return failure("round", QStringLiteral("%1 is not a finite number").arg(texts.front()));
    const double rounded = roundMoney(*value);
    if (!allFinite({rounded}))
        return failure("round", QStringLiteral("%1 is too large to round").arg(texts.front()));
    std::printf("%s\n", roundTripText(rounded).c_str());
    return 0;
}

int runCalcLine(const QStringList &args)
{
    CommandLine line(
        QStringLiteral("calc-line"), QStringLiteral("MODE KOLVO CENASHT STNDS"),
        QStringLiteral("Prints a line's STREALIZ, SUMNDS and CENASUMBEZNDS under the VAT mode "
                       "MODE. %1")
            .arg(QLatin1String(kNumbersNote)));
    line.parser().addPositionalArgument(
        QStringLiteral("MODE"), QStringLiteral("0 VAT included, 1 VAT added, 2 without VAT"));
    line.parser().addPositionalArgument(QStringLiteral("KOLVO"), QStringLiteral("quantity"));
    line.parser().addPositionalArgument(QStringLiteral("CENASHT"), QStringLiteral("unit price"));
    line.parser().addPositionalArgument(QStringLiteral("STNDS"), QStringLiteral("VAT rate, %"));
    line.acceptNegativeNumbers();
    if (const std::optional<int> exitCode = line.parse(args))
        return *exitCode;
    const QStringList texts = line.parser().positionalArguments();
    if (texts.size() != 4)
        return line.usageError(QStringLiteral("four values are needed"));
    bool modeOk = false;
    const int mode = texts[0].toInt(&modeOk);
    if (!modeOk)
        return line.usageError(QStringLiteral("MODE is a whole number"));
    const std::optional<std::vector<double>> values = parseNumbers(texts.mid(1));
    if (!values)
        return line.usageError(QStringLiteral("not a number; %1").arg(QLatin1String(kNumbersNote)));
    if (mode < 0 || mode > 2)
        return failure("calc-line", QStringLiteral("VAT mode %1 does not exist; the modes are 0, "
                                                   "1 and 2")
                                        .arg(mode));
    const double kolvo = (*values)[0], cenasht = (*values)[1], stnds = (*values)[2];
    if (!allFinite({kolvo, cenasht, stnds}))
        return failure("calc-line",
                       QStringLiteral("KOLVO, CENASHT and STNDS must be finite numbers"));

    const LineAmounts amounts = computeLineAmounts(mode, kolvo, cenasht, stnds);
    if (!allFinite({amounts.strealiz, amounts.sumnds, amounts.cenasumbeznds}))
        return failure("calc-line",
                       QStringLiteral("the line's amounts are too large to be computed"));
    std::printf("%s %s %s\n", roundTripText(amounts.strealiz).c_str(),
                roundTripText(amounts.sumnds).c_str(),
                roundTripText(amounts.cenasumbeznds).c_str());
    return 0;
}
