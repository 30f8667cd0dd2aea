#include "app/program_options.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramOptions, ReadsTheDatabaseAndStopsOnHelpOrAMistake)
{
    const struct {
        const char *name;
        QStringList args;
        std::optional<int> exitCode;
        const char *database;
        bool exitWhenShown;
        const char *says = ""; // the first line of a refusal
    } cases[] = {
        {"nothing", {}, std::nullopt, "", false},
        {"--database",
         {QStringLiteral("--database"), QStringLiteral("/srv/a.gdb")},
         std::nullopt,
         "/srv/a.gdb",
         false},
        {"--database=",
         {QStringLiteral("--database=office:/db/zarnik.gdb")},
         std::nullopt,
         "office:/db/zarnik.gdb",
         false},
        {"the installation check", {QStringLiteral("--exit-when-shown")}, std::nullopt, "", true},
        {"help", {QStringLiteral("--help")}, 0, "", false},
        {"version", {QStringLiteral("--version")}, 0, "", false},
        {"no value",
         {QStringLiteral("--database")},
         2,
         "",
         false,
         "zarnik: после --database нужно указать базу данных\n"},
        {"unknown option",
         {QStringLiteral("--db"), QStringLiteral("a.gdb")},
         2,
         "",
         false,
         "zarnik: неизвестный параметр --db\n"},
        {"an argument", {QStringLiteral("a.gdb")}, 2, "", false, "zarnik: лишний аргумент a.gdb\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const ProgramOptions options =
            readProgramOptions(QStringList{QStringLiteral("zarnik")} + c.args);
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(options.exitCode, c.exitCode);
        if (c.exitCode == std::nullopt) {
            EXPECT_EQ(options.database, QString::fromUtf8(c.database));
            EXPECT_EQ(options.exitWhenShown, c.exitWhenShown);
            EXPECT_EQ(out + err, "");
        } else if (*c.exitCode == 0) {
            EXPECT_NE(out, "");
        } else {
            EXPECT_EQ(err.substr(0, err.find('\n') + 1), c.says);
            EXPECT_NE(err.find("--database <LOCATION>"), std::string::npos) << "and the options";
        }
    }
}

TEST(ProgramOptions, TheHelpNamesTheDatabaseOptionButNotTheInstallationCheck)
{
    testing::internal::CaptureStdout();
    readProgramOptions({QStringLiteral("zarnik"), QStringLiteral("--help")});
    const std::string help = testing::internal::GetCapturedStdout();
    EXPECT_NE(help.find("--database <LOCATION>"), std::string::npos) << help;
    EXPECT_EQ(help.find("exit-when-shown"), std::string::npos) << help;
}

} // namespace
