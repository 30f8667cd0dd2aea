#pragma once

// Golden files: the JSON of a template's prepared pages on fixed rows. After a deliberate
// change of layout, regenerate them with
//   ZARNIK_UPDATE_GOLDEN=1 build/tests/test_templates --gtest_filter='*Golden*'
// and review the diff of tests/templates/golden/.

#include "../report/report_fixture.h"
#include "report/report_output.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QString>

#include <algorithm>

// Compares the pages' JSON with golden/<name>.json line by line, so a failure names the
// first line that differs; writes the file instead under ZARNIK_UPDATE_GOLDEN.
inline void expectMatchesGolden(const zreport::PreparedReport &prepared, const char *name)
{
    const QByteArray json = written(prepared, zreport::writePreparedJson);

    const QString path = QStringLiteral(ZARNIK_GOLDEN_DIR "/%1.json").arg(QLatin1String(name));
    if (qEnvironmentVariableIsSet("ZARNIK_UPDATE_GOLDEN")) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(json);
        GTEST_SKIP() << "golden file written: " << path.toStdString();
    }
    QFile in(path);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << path.toStdString();
    const QList<QByteArray> expected = in.readAll().split('\n');
    const QList<QByteArray> actual = json.split('\n');
    for (qsizetype i = 0; i < std::min(expected.size(), actual.size()); ++i)
        ASSERT_EQ(actual[i].toStdString(), expected[i].toStdString()) << "line " << i + 1;
    EXPECT_EQ(actual.size(), expected.size());
}
