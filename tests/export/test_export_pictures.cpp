// Pictures in the exported documents: each image held once, every use pointing at it, and
// nothing of pictures in a document without them.

#include "encoded_image.h"
#include "export_fixture.h"

#include "report/export/export_writers.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <numeric>

using namespace zexport;

namespace {

// A red ring on transparency, square: fitted into its 60 x 30 box it is 30 x 30, centred.
QByteArray redRing()
{
    return encodedImage(transparentRing(100, Qt::red, 8, 6), "PNG");
}

QByteArray blueJpeg()
{
    QImage image(200, 50, QImage::Format_RGB32);
    image.fill(Qt::blue);
    return encodedImage(image, "JPG");
}

QHash<QString, QByteArray> logoAndStamp()
{
    return {{"logo", blueJpeg()}, {"stamp", redRing()}};
}

// The logo, a JPEG, in the title with no text beside it; a band per row, "Строка N" with the
// stamp over its right part. Twelve rows take two pages.
ReportRun stampedRows(const QHash<QString, QByteArray> &images)
{
    static const auto source = rows(12);
    const QString bands =
        QStringLiteral(
            R"(<TfrxReportTitle Name="T" Width="377.953" Height="30">%1</TfrxReportTitle>)"
            R"(<TfrxMasterData Name="B" Width="377.953" Height="40" DataSet="D">%2%3</TfrxMasterData>)")
            .arg(QStringLiteral(R"(<TfrxPictureView Name="Logo" Left="10" Top="0" Width="120" )"
                                R"(Height="30" ImageName="logo"/>)"),
                 memoXml("Row", R"(Left="10" Top="0" Width="300" Height="20")", "Строка [D.\"N\"]"),
                 QStringLiteral(R"(<TfrxPictureView Name="Stamp" Left="200" Top="5" Width="60" )"
                                R"(Height="30" ImageName="stamp"/>)"));
    ReportRun run = runReport(reportXml(bands), {{"src", source.get()}}, images);
    EXPECT_TRUE(run.ok);
    return run;
}

QByteArray memberBytes(const QString &zip, const QString &member)
{
    QProcess process;
    process.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, member});
    process.waitForFinished(60000);
    return process.readAllStandardOutput();
}

// What an exported document holds of pictures: the copies of image files, the sizes of their
// images, and the places that show one.
struct Pictures {
    QStringList copies;
    QList<QSize> sizes; // in the order of the copies' names
    int uses = 0;
};

int count(const QString &text, const QString &what)
{
    return int(text.count(what));
}

Pictures packagePictures(const QString &file, const QString &folder, const QString &partWithUses,
                         const QString &use)
{
    Pictures found;
    const QStringList members =
        toolOutput(QStringLiteral("unzip"), {QStringLiteral("-Z1"), file}).split('\n');
    EXPECT_TRUE(members.contains(partWithUses)) << members.join(',').toStdString();
    found.copies =
        members.filter(QRegularExpression(QLatin1Char('^') + folder + QStringLiteral(".")));
    const QByteArray part = memberBytes(file, partWithUses);
    QXmlStreamReader reader(part);
    while (!reader.atEnd())
        reader.readNext();
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    found.uses = count(QString::fromUtf8(part), use);
    found.copies.sort();
    for (const QString &copy : found.copies)
        found.sizes << QImage::fromData(memberBytes(file, copy)).size();
    return found;
}

struct FormatCase {
    const char *name;
    std::function<Pictures(const zreport::PreparedReport &, const QString &dir)> picturesOf;
};

void PrintTo(const FormatCase &c, std::ostream *os)
{
    *os << c.name;
}

std::vector<int> allPages(const zreport::PreparedReport &report)
{
    std::vector<int> pages(size_t(report.pageCount()));
    std::iota(pages.begin(), pages.end(), 0);
    return pages;
}

const FormatCase kFormats[] = {
    {"Html",
     [](const zreport::PreparedReport &report, const QString &) {
         const QString html = QString::fromUtf8(writers::html(report, allPages(report)));
         Pictures found;
         static const QRegularExpression data(QStringLiteral("(data:image/[a-z]+);base64,([^)]*)"));
         for (auto it = data.globalMatch(html); it.hasNext();) {
             const QRegularExpressionMatch match = it.next();
             found.copies << match.captured(1);
             found.sizes
                 << QImage::fromData(QByteArray::fromBase64(match.captured(2).toLatin1())).size();
         }
         found.uses = count(html, QStringLiteral("class=\"zp zp"));
         // Tied to the row's cell: 215 units from the sheet's edge is 205 into the cell at 10.
         EXPECT_EQ(found.uses > 0,
                   html.contains(QStringLiteral("left:205px;top:5px;width:30px;height:30px")));
         return found;
     }},
    {"Xlsx",
     [](const zreport::PreparedReport &report, const QString &dir) {
         const QString file = dir + QStringLiteral("/out.xlsx");
         QString error;
         EXPECT_TRUE(writers::xlsx(report, allPages(report), file, &error)) << error.toStdString();
         if (!toolOutput(QStringLiteral("unzip"), {QStringLiteral("-Z1"), file})
                  .contains(QStringLiteral("drawing")))
             return Pictures{};
         return packagePictures(file, QStringLiteral("xl/media/"),
                                QStringLiteral("xl/drawings/drawing1.xml"),
                                QStringLiteral("r:embed="));
     }},
    {"Docx",
     [](const zreport::PreparedReport &report, const QString &dir) {
         const QString file = dir + QStringLiteral("/out.docx");
         QString error;
         EXPECT_TRUE(writers::docx(report, allPages(report), file, &error)) << error.toStdString();
         return packagePictures(file, QStringLiteral("word/media/"),
                                QStringLiteral("word/document.xml"), QStringLiteral("r:embed="));
     }},
    {"Odt",
     [](const zreport::PreparedReport &report, const QString &dir) {
         const QString file = dir + QStringLiteral("/out.odt");
         QString error;
         EXPECT_TRUE(writers::odt(report, allPages(report), file, &error)) << error.toStdString();
         const Pictures found =
             packagePictures(file, QStringLiteral("Pictures/"), QStringLiteral("content.xml"),
                             QStringLiteral("<draw:image"));
         // The manifest lists exactly the copies the package holds.
         const QString manifest =
             QString::fromUtf8(memberBytes(file, QStringLiteral("META-INF/manifest.xml")));
         EXPECT_EQ(count(manifest, QStringLiteral("Pictures/")), found.copies.size());
         return found;
     }},
};

class ExportPictures : public ::testing::TestWithParam<FormatCase> {};

TEST_P(ExportPictures, EachImageOnceAndEveryUsePointingAtIt)
{
    if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
        GTEST_SKIP() << "unzip is not installed";
    QTemporaryDir dir;
    const ReportRun stamped = stampedRows(logoAndStamp());
    ASSERT_EQ(stamped.prepared().pageCount(), 2);
    const Pictures with = GetParam().picturesOf(stamped.prepared(), dir.path());
    EXPECT_EQ(with.copies.size(), 2) << with.copies.join(',').toStdString();
    QList<QSize> sizes = with.sizes;
    std::sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
    EXPECT_EQ(sizes, (QList<QSize>{QSize(100, 100), QSize(200, 50)}));
    EXPECT_EQ(with.uses, 13);

    // Without the image the document holds nothing of pictures.
    const Pictures without = GetParam().picturesOf(stampedRows({}).prepared(), dir.path());
    EXPECT_TRUE(without.copies.isEmpty());
    EXPECT_EQ(without.uses, 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, ExportPictures, ::testing::ValuesIn(kFormats),
                         [](const auto &info) { return std::string(info.param.name); });

// The page images are drawn by the page-drawing path, pictures included.
TEST(ExportPictures, PageImagesShowThePicture)
{
    QTemporaryDir dir;
    const auto redPixels = [&](const ReportRun &run) {
        const QString file = dir.filePath(QStringLiteral("page.bmp"));
        QString error;
        EXPECT_TRUE(writers::image(run.prepared(), 0, 96, "BMP", file, &error))
            << error.toStdString();
        const QImage page(file);
        int red = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                red += page.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
        return red;
    };
    EXPECT_GT(redPixels(stampedRows(logoAndStamp())), 500);
    EXPECT_EQ(redPixels(stampedRows({})), 0);
}

} // namespace
