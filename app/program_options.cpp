#include "program_options.h"

#include "program_version.h"

#include <QCommandLineParser>

#include <cstdio>

ProgramOptions readProgramOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Документы продаж и печатные формы малого бизнеса."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Показать эту справку."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Показать версию программы."));
    const QCommandLineOption database(
        QStringLiteral("database"),
        QStringLiteral("База данных: файл или строка подключения к серверу. Без неё - "
                       "база из настроек, ZNDB1.2.GDB в текущей папке или "
                       "~/.local/share/zarnik/ZNDB1.2.GDB."),
        QStringLiteral("LOCATION"));
    QCommandLineOption exitWhenShown(QStringLiteral("exit-when-shown"));
    exitWhenShown.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({help, version, database, exitWhenShown});

    ProgramOptions options;
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "zarnik: %s\n%s", qPrintable(parser.errorText()),
                     qPrintable(parser.helpText()));
        options.exitCode = 2;
    } else if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "zarnik: лишний аргумент %s\n%s",
                     qPrintable(parser.positionalArguments().front()),
                     qPrintable(parser.helpText()));
        options.exitCode = 2;
    } else if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        options.exitCode = 0;
    } else if (parser.isSet(version)) {
        std::printf("zarnik %s\n", zarnik::kProgramVersion);
        options.exitCode = 0;
    }
    options.database = parser.value(database);
    options.exitWhenShown = parser.isSet(exitWhenShown);
    return options;
}
