#include "report/output_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using zreport::OutputPath;

namespace {

bool writeText(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

QByteArray readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class OutputPaths : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString at(const QString &name) const { return dir.filePath(name); }
};

TEST_F(OutputPaths, ReplaceAFileOnlyOnCommitAndLeaveNothingElse)
{
    const QString target = at(QStringLiteral("out.xlsx"));
    ASSERT_TRUE(writeText(target, "old"));
    {
        OutputPath output(target);
        ASSERT_TRUE(output.open(nullptr));
        EXPECT_NE(output.writePath(), target);
        ASSERT_TRUE(writeText(output.writePath(), "new"));
        EXPECT_EQ(readText(target), "old");
        ASSERT_TRUE(output.commit(nullptr));
    }
    EXPECT_EQ(readText(target), "new");
    {
        OutputPath abandoned(target);
        ASSERT_TRUE(abandoned.open(nullptr));
        ASSERT_TRUE(writeText(abandoned.writePath(), "half"));
    }
    EXPECT_EQ(readText(target), "new");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.xlsx")});
}

TEST_F(OutputPaths, KeepALinkPointingWhereItDid)
{
    const QString file = at(QStringLiteral("real.pdf"));
    const QString link = at(QStringLiteral("link.pdf"));
    ASSERT_TRUE(writeText(file, "old"));
    ASSERT_TRUE(QFile::link(file, link));
    OutputPath output(link);
    ASSERT_TRUE(output.open(nullptr));
    ASSERT_TRUE(writeText(output.writePath(), "new"));
    ASSERT_TRUE(output.commit(nullptr));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readText(file), "new");
}

TEST_F(OutputPaths, WriteIntoADeviceAndRefuseAFolder)
{
    OutputPath device(QStringLiteral("/dev/null"));
    ASSERT_TRUE(device.open(nullptr));
    EXPECT_EQ(device.writePath(), QStringLiteral("/dev/null"));
    EXPECT_TRUE(device.commit(nullptr));
    EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/null")).exists());

    QString error;
    OutputPath folder(dir.path());
    EXPECT_FALSE(folder.open(&error));
    EXPECT_EQ(error, zreport::cannotWriteMessage(dir.path(), QStringLiteral("это папка")));
}

} // namespace
