#include "command_line.h"

#include "open_database.h"

#include <cstdio>

namespace {

bool looksLikeNegativeNumber(const QString &arg)
{
    if (arg.size() < 2 || arg.front() != u'-')
        return false;
    bool ok = false;
    arg.toDouble(&ok);
    return ok;
}

} // namespace

CommandLine::CommandLine(const QString &command, const QString &syntax, const QString &description)
    : m_command(command), m_syntax(syntax)
{
    m_parser.setApplicationDescription(description);
    m_parser.addHelpOption();
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
}

QString CommandLine::usageLine() const
{
    return QStringLiteral("usage: zarnik-cli %1 %2").arg(m_command, m_syntax).trimmed();
}

QString CommandLine::helpText() const
{
    // The parser's own first line names the executable's full path; ours names the command.
    QString text = m_parser.helpText();
    const qsizetype firstLineEnd = text.indexOf(u'\n');
    return usageLine() + text.mid(firstLineEnd);
}

std::optional<int> CommandLine::parse(const QStringList &args)
{
    QStringList input{QStringLiteral("zarnik-cli")};
    if (m_negativeNumbers) {
        // Options first, then "--" and every argument in its order, negative numbers included.
        QStringList positional;
        for (const QString &arg : args) {
            if (arg.startsWith(u'-') && arg != QLatin1String("--") && !looksLikeNegativeNumber(arg))
                input << arg;
            else if (arg != QLatin1String("--"))
                positional << arg;
        }
        input << QStringLiteral("--") << positional;
    } else {
        input << args;
    }
    if (!m_parser.parse(input))
        return usageError(m_parser.errorText());
    if (m_parser.isSet(QStringLiteral("help")) || m_parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(helpText().toUtf8().constData(), stdout);
        return 0;
    }
    return std::nullopt;
}

std::variant<QString, int>
CommandLine::databaseWithoutArguments(const QCommandLineOption &dbOption) const
{
    if (!m_parser.positionalArguments().isEmpty())
        return usageError(
            QStringLiteral("unexpected argument %1").arg(m_parser.positionalArguments().front()));
    const QString db = m_parser.value(dbOption);
    if (db.isEmpty())
        return usageError(QStringLiteral("--db is required"));
    if (const QString missing = missingDatabase(db); !missing.isEmpty())
        return usageError(missing);
    return db;
}

std::variant<CommandLine::FileAndDatabase, int>
CommandLine::fileAndDatabase(const QCommandLineOption &dbOption) const
{
    const QStringList positional = m_parser.positionalArguments();
    if (positional.size() != 1)
        return usageError(positional.isEmpty() ? QStringLiteral("FILE is missing")
                                               : QStringLiteral("one FILE only"));
    const QString db = m_parser.value(dbOption);
    if (db.isEmpty())
        return usageError(QStringLiteral("--db is required"));
    if (const QString missing = missingDatabase(db); !missing.isEmpty())
        return usageError(missing);
    return FileAndDatabase{positional.front(), db};
}

int CommandLine::usageError(const QString &problem) const
{
    std::fprintf(stderr, "%s: %s\n%s\n(zarnik-cli %s --help lists the options)\n",
                 m_command.toUtf8().constData(), problem.toUtf8().constData(),
                 usageLine().toUtf8().constData(), m_command.toUtf8().constData());
    return 2;
}
