#pragma once

// Reports and tools shared by the tests of the exports and of the preview.

#include "report_fixture.h"

#include <QProcess>
#include <QStandardPaths>

#include <memory>

// The rows 1..count (numberRows).
inline std::unique_ptr<zreport::MemoryRows> rows(int count)
{
    QList<QVariant> values;
    for (int i = 1; i <= count; ++i)
        values << i;
    return numberRows(values);
}

// Runs a command-line tool; its standard output, or a null string when it is not installed.
inline QString toolOutput(const QString &program, const QStringList &arguments)
{
    if (QStandardPaths::findExecutable(program).isEmpty())
        return QString();
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    return out.isNull() ? QStringLiteral("") : out;
}
