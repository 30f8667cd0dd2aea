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
    EXPECT_EQ(cli.readAllStandardOutput().toStdString(), GetParam().out);
    // Every failure says why.
    if (GetParam().exitCode != 0) {
        EXPECT_NE(err.find(GetParam().exitCode == 2 ? "usage" : "cannot be written"),
                  std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CliWords,
    ::testing::Values(
        Run{{"words", "1002", "0.125"},
            "Одна тысяча две тенге 00 тиын\tОдна тысяча два\nНоль тенге 13 тиын\tНоль\n",
            0},
        // the values that can be written are still written
        Run{{"words", "-1", "5", "nan", "1e12"}, "Пять тенге 00 тиын\tПять\n", 1},
        Run{{"words"}, "", 2}, Run{{"words", "1,5"}, "", 2}, Run{{"words", "5", "abc"}, "", 2},
        Run{{"round", "2.675"}, "2.6699999999999999\n", 0},
        Run{{"round", "0.025"}, "0.029999999999999999\n", 0}, Run{{"round"}, "", 2},
        Run{{"round", "1", "2"}, "", 2},
        Run{{"calc-line", "0", "3", "1120", "12"}, "3360 360 3000\n", 0},
        Run{{"calc-line", "1", "2", "150.55", "12"},
            "337.23000000000002 36.130000000000003 301.10000000000002\n",
            0},
        Run{{"calc-line", "0.5", "2", "150.55", "12"}, "", 2},
        Run{{"calc-line", "0", "2", "150.55"}, "", 2},
        Run{{"calc-line", "0", "2", "x", "12"}, "", 2}));

} // namespace
