#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

// What one run of zarnik-cli (ZARNIK_CLI, defined by the test target) gave.
struct CliRun {
    int exitCode = -1;
    QString out, err;
};

// Runs zarnik-cli with args in the test's environment (a Russian desktop's locale) but without
// a runtime folder, as from a service or as root, which must not make Qt talk on its standard
// error.
inline CliRun runCli(const QStringList &args)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ZARNIK_CLI), args);
    EXPECT_TRUE(process.waitForFinished(120'000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
