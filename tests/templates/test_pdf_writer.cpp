// The PDF the engine writes itself, held against the PDF Qt's painter makes of the same prepared
// pages (printing still paints through it): the pages, the text read back and the look.

#include "../report/qt_printing.h"
#include "builtin_run.h"

#include "report/page_painting.h"
#include "report/report_output.h"

#include <QImage>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <functional>
#include <set>

using namespace zreport;

namespace {

// A tool's standard output; null when it is not installed or fails.
QString toolOutput(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    return out.isNull() ? QStringLiteral("") : out;
}

// The PDF as Qt's writer made it before the engine wrote its own.
void writeWithQt(const PreparedReport &report, const QString &path)
{
    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    ASSERT_TRUE(paintPreparedPages(report, writer));
}

// Page sizes in points, from "Page    2 size: 841.89 x 595.28 pts" lines.
std::vector<QSizeF> pageSizes(const QString &pdf)
{
    std::vector<QSizeF> sizes;
    const QString out =
        toolOutput(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"),
                                               QStringLiteral("-l"), QStringLiteral("9999"), pdf});
    for (const QString &line : out.split(QLatin1Char('\n'))) {
        const QStringList words = line.simplified().split(QLatin1Char(' '));
        if (words.size() >= 6 && words[0] == QLatin1String("Page") && words[2] == "size:")
            sizes.emplace_back(words[3].toDouble(), words[5].toDouble());
    }
    return sizes;
}

// Pixels of `a` with no pixel of `b` of about the same grey within one pixel around: a line
// anti-aliased one pixel over is matched, a missing or moved one is not. Only the area both
// images cover counts.
int unmatchedPixels(const QImage &a, const QImage &b)
{
    int unmatched = 0;
    const QRect common = a.rect() & b.rect();
    for (int y = 0; y < common.height(); ++y) {
        for (int x = 0; x < common.width(); ++x) {
            const int grey = qGray(a.pixel(x, y));
            bool matched = false;
            for (int dy = -1; dy <= 1 && !matched; ++dy) {
                for (int dx = -1; dx <= 1 && !matched; ++dx) {
                    const QPoint p(x + dx, y + dy);
                    matched = b.rect().contains(p) && std::abs(qGray(b.pixel(p)) - grey) < 100;
                }
            }
            unmatched += matched ? 0 : 1;
        }
    }
    return unmatched;
}

// Prepared pages with whatever their run reads.
struct Subject {
    std::unique_ptr<SampleData> data;
    std::unique_ptr<MemoryRows> rows;
    ReportRun run;
};

Subject builtinSubject(const char *templateName, int lines, int listRows)
{
    Subject s;
    s.data = std::make_unique<SampleData>(lines, listRows);
    s.run = runBuiltin(QLatin1String(templateName), *s.data);
    return s;
}

// A small wide sheet: a grey fill under a dotted frame, and a clipped memo whose text runs out
// of its box.
Subject drawingSubject()
{
    Subject s;
    s.rows = numberRows({1});
    const QString memos =
        memoXml("Filled",
                "Left=\"10\" Top=\"10\" Width=\"150\" Height=\"40\" Color=\"clSilver\" "
                "Frame.Typ=\"[ftLeft,ftRight,ftTop,ftBottom]\" Frame.Style=\"fsDot\" "
                "Frame.Width=\"2\" Font.Style=\"[fsBold,fsUnderline]\"",
                "Заливка [Line]") +
        memoXml("Clipped",
                "Left=\"180\" Top=\"10\" Width=\"60\" Height=\"14\" Clipped=\"True\" "
                "WordWrap=\"False\" Font.Height=\"-24\" Frame.Typ=\"[ftBottom]\"",
                "Обрезанный текст за краем");
    s.run = runReport(reportXml(masterDataXml(100).arg(memos), 60), {{"src", s.rows.get()}});
    return s;
}

// Kazakh letters in the form's own face, and a letter that face lacks, which prints from a
// fallback face rather than as an empty box.
Subject kazakhSubject()
{
    Subject s;
    s.rows = numberRows({1});
    s.run = runReport(
        reportXml(QStringLiteral(R"(<TfrxMasterData Name="B" Width="700" Height="30" )"
                                 R"(DataSet="D">%1</TfrxMasterData>)")
                      .arg(memoXml("Names", "Left=\"10\" Top=\"5\" Width=\"680\" Height=\"20\"",
                                   "ТОО «Құрылыс-Өнім», Әуезов көшесі ҒҢҰҮҺІ ғңұүһі Ա"))),
        {{"src", s.rows.get()}});
    return s;
}

struct PdfCase {
    const char *name;
    std::function<Subject()> make;
    QString text = {}; // what pdftotext must read, where the case is about text
};

void PrintTo(const PdfCase &c, std::ostream *os)
{
    *os << c.name;
}

class PdfOutput : public ::testing::TestWithParam<PdfCase> {};

TEST_P(PdfOutput, ReadsAndLooksLikeQtsPainting)
{
    for (const char *tool : {"pdfinfo", "pdffonts", "pdftotext", "pdftoppm"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            GTEST_SKIP() << tool << " (poppler-utils) is not installed";
    }
    RussianLocale locale;
    const Subject subject = GetParam().make();
    ASSERT_TRUE(subject.run.ok) << subject.run.errors().join('\n').toStdString();
    const PreparedReport &report = subject.run.prepared();
    QTemporaryDir dir;
    const QString ours = dir.filePath(QStringLiteral("ours.pdf"));
    const QString qts = dir.filePath(QStringLiteral("qt.pdf"));
    QString error;
    ASSERT_TRUE(savePreparedPdf(report, ours, &error)) << error.toStdString();
    writeWithQt(report, qts);

    // Every page at its paper size, wide pages wide.
    const std::vector<QSizeF> sizes = pageSizes(ours);
    ASSERT_EQ(int(sizes.size()), report.pageCount());
    for (int i = 0; i < report.pageCount(); ++i) {
        const PageSettings &s = report.pages()[size_t(i)].settings;
        EXPECT_NEAR(sizes[size_t(i)].width(), s.paperWidth * 72 / 25.4, 0.01) << i;
        EXPECT_NEAR(sizes[size_t(i)].height(), s.paperHeight * 72 / 25.4, 0.01) << i;
    }

    // Each face once, embedded as a subset with its text mapping.
    const QStringList fonts =
        toolOutput(QStringLiteral("pdffonts"), {ours}).split(QLatin1Char('\n')).mid(2);
    std::set<QString> names;
    for (const QString &line : fonts) {
        const QStringList columns = line.simplified().split(QLatin1Char(' '));
        if (columns.size() < 8)
            continue;
        EXPECT_TRUE(names.insert(columns[0].section(QLatin1Char('+'), 1)).second)
            << line.toStdString();
        EXPECT_EQ(columns.mid(columns.size() - 5, 3).join(' '), QStringLiteral("yes yes yes"))
            << line.toStdString();
    }
    EXPECT_FALSE(names.empty());

    const QString text = toolOutput(QStringLiteral("pdftotext"), {ours, QStringLiteral("-")});
    EXPECT_EQ(text, toolOutput(QStringLiteral("pdftotext"), {qts, QStringLiteral("-")}));
    EXPECT_TRUE(text.contains(GetParam().text)) << text.toStdString();

    // Rasterised by the same renderer, the pages look as those Qt's painter drew.
    const auto page = [&](const QString &pdf, int number) {
        const QString prefix = dir.filePath(QStringLiteral("page"));
        toolOutput(QStringLiteral("pdftoppm"),
                   {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-gray"),
                    QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-f"),
                    QString::number(number), QStringLiteral("-l"), QString::number(number), pdf,
                    prefix});
        return QImage(prefix + QStringLiteral(".png"));
    };
    for (int i = 1; i <= report.pageCount(); ++i) {
        const QImage written = page(ours, i), painted = page(qts, i);
        // Qt gives the paper in whole points, rasterised a pixel narrower at most.
        ASSERT_LE((written.size() - painted.size()).width(), 1) << "page " << i;
        ASSERT_LE((written.size() - painted.size()).height(), 1) << "page " << i;
        EXPECT_LE(unmatchedPixels(written, painted), 8) << "page " << i;
        EXPECT_LE(unmatchedPixels(painted, written), 8) << "page " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Writer, PdfOutput,
    ::testing::Values(
        PdfCase{"InvoiceBoldUnderlinedWrapped", [] { return builtinSubject("repSchet", 3, 3); }},
        PdfCase{"WideWaybillOverPages", [] { return builtinSubject("repNaklKn", 40, 3); }},
        PdfCase{"WideClientListing", [] { return builtinSubject("repOrg", 0, 60); }},
        PdfCase{"FillDottedFrameClippedText", drawingSubject},
        PdfCase{"KazakhLettersAndAFallbackFace", kazakhSubject,
                QStringLiteral("ТОО «Құрылыс-Өнім», Әуезов көшесі ҒҢҰҮҺІ ғңұүһі Ա")}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
