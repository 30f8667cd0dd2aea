#include "param_names.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

struct Run {
    std::vector<const char *> args;
    const char *out;
    int exitCode;
    const char *message = ""; // a part of what standard error says
};

void PrintTo(const Run &run, std::ostream *os)
{
    for (const char *arg : run.args)
        *os << arg << ' ';
}

class CliWords : public ::testing::TestWithParam<Run> {};

TEST_P(CliWords, PrintsAndExits)
{
    QStringList args;
    for (const char *arg : GetParam().args)
        args << QString::fromUtf8(arg);
    QProcess cli;
    cli.start(QStringLiteral(ZARNIK_CLI_PATH), args);
    ASSERT_TRUE(cli.waitForFinished(30000)) << cli.errorString().toStdString();
    const std::string err = cli.readAllStandardError().toStdString();
    SCOPED_TRACE(args.join(u' ').toStdString() + "\nstderr: " + err);

    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), GetParam().exitCode);
    const std::string out = cli.readAllStandardOutput().toStdString();
    if (GetParam().out) {
        EXPECT_EQ(out, GetParam().out);
    } else { // the help: the command's usage and its arguments
        EXPECT_NE(out.find("usage: zarnik-cli " + std::string(GetParam().args.front())),
                  std::string::npos)
            << out;
    }
    // Every failure says why; a usage error also shows the usage.
    EXPECT_NE(err.find(GetParam().message), std::string::npos);
    if (GetParam().exitCode == 2) {
        EXPECT_NE(err.find("usage: zarnik-cli"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CliWords,
    ::testing::Values(
        Run{{"words", "1002", "0.125"},
            "Одна тысяча два тенге 00 тиын\tОдна тысяча два\nНоль тенге 13 тиын\tНоль\n",
            0},
        // the values that can be written are still written
        Run{{"words", "-1", "5", "nan", "1e12"},
            "Пять тенге 00 тиын\tПять\n",
            1,
            "nan cannot be written"},
        Run{{"words"}, "", 2, "no value"}, Run{{"words", "1,5"}, "", 2, "not a number"},
        Run{{"words", "5", "abc"}, "", 2, "not a number"},
        Run{{"words", "--frobnicate", "5"}, "", 2, "Unknown option 'frobnicate'"},
        Run{{"round", "2.675"}, "2.6699999999999999\n", 0},
        Run{{"round", "0.025"}, "0.029999999999999999\n", 0},
        Run{{"round", "-2.675"}, "-2.6699999999999999\n", 0}, Run{{"round"}, "", 2, "one value"},
        Run{{"round", "1", "2"}, "", 2, "one value"},
        // nothing the program would store, so nothing printed
        Run{{"round", "nan"}, "", 1, "nan is not a finite number"},
        Run{{"round", "-inf"}, "", 1, "-inf is not a finite number"},
        Run{{"calc-line", "0", "3", "1120", "12"}, "3360 360 3000\n", 0},
        Run{{"calc-line", "1", "2", "150.55", "12"},
            "337.23000000000002 36.130000000000003 301.10000000000002\n",
            0},
        Run{{"calc-line", "0", "2", "150.55", "-100"}, "", 1, "too large"},
        Run{{"calc-line", "1", "1e308", "1e308", "12"}, "", 1, "too large"},
        Run{{"calc-line", "1", "inf", "1", "12"}, "", 1, "must be finite"},
        Run{{"calc-line", "3", "2", "150.55", "12"}, "", 1, "VAT mode 3 does not exist"},
        Run{{"calc-line", "-1", "2", "150.55", "12"}, "", 1, "VAT mode -1 does not exist"},
        Run{{"calc-line", "0.5", "2", "150.55", "12"}, "", 2, "whole number"},
        Run{{"calc-line", "0", "2", "150.55"}, "", 2, "four values"},
        Run{{"calc-line", "0", "2", "x", "12"}, "", 2, "not a number"},
        Run{{"calc-line", "--help"}, nullptr, 0},
        Run{{"no-such-command"}, "", 2, "unknown command no-such-command"}),
    ztest::PrintedName());

} // namespace
