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
        QStringLiteral("База данных: файл или база на сервере (компьютер:/путь/ZNDB1.2.GDB, "
                       "компьютер/порт:псевдоним). Без этого параметра — база, выбранная в окне "
                       "«Подключение к базе данных», ZNDB1.2.GDB в текущей папке или "
                       "~/.local/share/zarnik/ZNDB1.2.GDB."),
        QStringLiteral("LOCATION"));
    QCommandLineOption exitWhenShown(QStringLiteral("exit-when-shown"));
    exitWhenShown.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({help, version, database, exitWhenShown});

    ProgramOptions options;
    const auto stop = [&](int code, const QString &problem) {
        // The parser's own first line names no program before an application object exists.
        QString text = parser.helpText();
        text = QStringLiteral("Использование: zarnik [параметры]") + text.mid(text.indexOf(u'\n'));
        text.replace(QStringLiteral("\nOptions:\n"), QStringLiteral("\nПараметры:\n"));
        if (problem.isEmpty())
            std::fputs(qPrintable(text), stdout);
        else
            std::fprintf(stderr, "zarnik: %s\n\n%s", qPrintable(problem), qPrintable(text));
        options.exitCode = code;
    };
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        stop(2, unknown.isEmpty()
                    ? QStringLiteral("после --database нужно указать базу данных")
                    : QStringLiteral("неизвестный параметр %1%2")
                          .arg(unknown.front().size() == 1 ? u"-" : u"--", unknown.front()));
    } else if (!parser.positionalArguments().isEmpty()) {
        stop(2, QStringLiteral("лишний аргумент %1").arg(parser.positionalArguments().front()));
    } else if (parser.isSet(help)) {
        stop(0, {});
    } else if (parser.isSet(version)) {
        std::printf("zarnik %s\n", zarnik::kProgramVersion);
        options.exitCode = 0;
    }
    options.database = parser.value(database);
    options.exitWhenShown = parser.isSet(exitWhenShown);
    return options;
}
