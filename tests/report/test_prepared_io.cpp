#include "qt_printing.h"
#include "report/prepared_io.h"
#include "report/report_output.h"
#include "report_fixture.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTemporaryDir>

using namespace zreport;

namespace {

QByteArray bytesOf(const PreparedReport &report)
{
    return written(report, writePreparedReport);
}

QByteArray jsonOf(const PreparedReport &report)
{
    return written(report, writePreparedJson);
}

// Two pages with frames, alignments, several lines and an empty memo.
class PreparedFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_rows = numberRows({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
        const QString cells =
            memoXml("Cell",
                    "Width=\"60\" Height=\"30\" Frame.Typ=\"[ftLeft,ftBottom]\" "
                    "HAlign=\"haRight\" VAlign=\"vaCenter\" Font.Style=\"[fsBold]\"",
                    "[Line] строка\nвторая") +
            memoXml("Empty",
                    "Left=\"60\" Width=\"60\" Height=\"30\" Frame.Typ=\"[ftTop]\" "
                    "Frame.Style=\"fsDot\"",
                    "");
        m_run = runReport(reportXml(masterDataXml(30).arg(cells), 100), {{"src", m_rows.get()}});
        ASSERT_TRUE(m_run.ok);
        ASSERT_EQ(m_run.prepared().pageCount(), 1);
    }

    std::unique_ptr<MemoryRows> m_rows;
    ReportRun m_run;
};

TEST_F(PreparedFile, WrittenAndReadBackGivesTheSamePages)
{
    const QByteArray bytes = bytesOf(m_run.prepared());
    PreparedReport loaded;
    QString error;
    ASSERT_TRUE(readPreparedReport(bytes, loaded, &error)) << error.toStdString();
    EXPECT_EQ(jsonOf(loaded), jsonOf(m_run.prepared()));
    EXPECT_EQ(loaded.styles(), m_run.prepared().styles());
    EXPECT_EQ(bytesOf(loaded), bytes);
}

TEST_F(PreparedFile, SavedToDiskAndLoaded)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.fp3"));
    QString error;
    ASSERT_TRUE(savePreparedReport(m_run.prepared(), path, &error)) << error.toStdString();
    PreparedReport loaded;
    ASSERT_TRUE(loadPreparedReport(path, loaded, &error)) << error.toStdString();
    EXPECT_EQ(jsonOf(loaded), jsonOf(m_run.prepared()));
    EXPECT_FALSE(loadPreparedReport(dir.filePath(QStringLiteral("missing.fp3")), loaded, &error));
    EXPECT_TRUE(error.contains(QLatin1String("missing.fp3")));
}

TEST_F(PreparedFile, EveryTruncationIsRefusedAndLeavesTheTargetAlone)
{
    const QByteArray bytes = bytesOf(m_run.prepared());
    PreparedReport target = m_run.prepared();
    for (qsizetype size = 0; size < bytes.size(); ++size) {
        QString error;
        EXPECT_FALSE(readPreparedReport(QByteArrayView(bytes).first(size), target, &error)) << size;
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(target.pageCount(), 1);
}

TEST_F(PreparedFile, CorruptedBytesNeverCrashAndWhatIsAcceptedRoundTrips)
{
    const QByteArray bytes = bytesOf(m_run.prepared());
    QRandomGenerator random(12345);
    int accepted = 0;
    for (int round = 0; round < 2000; ++round) {
        QByteArray damaged = bytes;
        for (int i = 0; i < 1 + round % 4; ++i)
            damaged[random.bounded(int(damaged.size()))] = char(random.bounded(256));
        PreparedReport loaded;
        QString error;
        if (!readPreparedReport(damaged, loaded, &error)) {
            EXPECT_FALSE(error.isEmpty()) << "a refusal says why";
            continue;
        }
        ++accepted;
        // Whatever was accepted is written out again and read back as the same pages.
        const QByteArray written = bytesOf(loaded);
        PreparedReport reloaded;
        ASSERT_TRUE(readPreparedReport(written, reloaded, &error))
            << "round " << round << ": " << error.toStdString();
        EXPECT_EQ(jsonOf(reloaded), jsonOf(loaded)) << "round " << round;
        EXPECT_EQ(bytesOf(reloaded), written) << "round " << round;
    }
    EXPECT_GT(accepted, 0) << "the damage never hit bytes a reader may accept";
}

TEST(PreparedFileHeader, ForeignAndHostileFilesAreRefusedWithAReason)
{
    const auto refusal = [](const QByteArray &bytes) {
        PreparedReport loaded;
        QString error;
        EXPECT_FALSE(readPreparedReport(bytes, loaded, &error));
        return error;
    };
    EXPECT_EQ(refusal("%PDF-1.4 and more"), QStringLiteral("это не файл готового отчета"));
    EXPECT_EQ(refusal("%PDF"), QStringLiteral("это не файл готового отчета"));
    QByteArray header("ZRNKFP3\n", 8);
    EXPECT_TRUE(
        refusal(header + QByteArray::fromHex("09000000")).contains(QStringLiteral("версия")));
    // A style count of four billion in a file of a few bytes is refused before allocating.
    const QByteArray hostile = header + QByteArray::fromHex("01000000ffffffff00");
    EXPECT_TRUE(refusal(hostile).contains(QStringLiteral("количество")));
}

} // namespace
