#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

// The options of one zarnik-cli command, read by QCommandLineParser: "--help" prints the
// command's help, an unknown or incomplete option is a usage error (exit code 2).
class CommandLine {
public:
    // `syntax` follows "zarnik-cli COMMAND" in the usage line.
    CommandLine(const QString &command, const QString &syntax, const QString &description);

    QCommandLineParser &parser() { return m_parser; }

    // Values such as "-100" or "-inf" are arguments, not options.
    void acceptNegativeNumbers() { m_negativeNumbers = true; }

    // Empty when the command should run; otherwise the exit code to stop with (0 after
    // printing the help, 2 after a usage error).
    std::optional<int> parse(const QStringList &args);

    // For a command that takes no arguments besides its options and needs --db: after parse(),
    // the database's location, or the exit code of the usage error (an argument, no --db, a
    // file of this computer that is not there).
    std::variant<QString, int> databaseWithoutArguments(const QCommandLineOption &dbOption) const;

    // For a command that reads one FILE into the database of --db: after parse(), both, or the
    // exit code of the usage error (no FILE or more than one, no --db, a database file of this
    // computer that is not there).
    struct FileAndDatabase {
        QString file;
        QString database;
    };
    std::variant<FileAndDatabase, int> fileAndDatabase(const QCommandLineOption &dbOption) const;

    // Prints "COMMAND: problem" and the usage line to standard error; returns 2.
    int usageError(const QString &problem) const;

    QString helpText() const;

private:
    QString usageLine() const;

    QString m_command;
    QString m_syntax;
    QCommandLineParser m_parser;
    bool m_negativeNumbers = false;
};
