// Pictures of the business on prepared pages: where the engine puts them, how they are drawn,
// how the PDF holds them and how saved prepared reports keep them.

#include "encoded_image.h"
#include "report/prepared_io.h"
#include "report/report_draw.h"
#include "report/report_output.h"
#include "report_fixture.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

using namespace zreport;

namespace {

// A red ring on a transparent square: what lies inside it and around it stays visible.
QByteArray transparentRing()
{
    return encodedImage(::transparentRing(100, Qt::red, 8, 6), "PNG");
}

// A solid blue block twice as wide as high.
QByteArray blueJpeg()
{
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::blue);
    return encodedImage(image, "JPG");
}

QByteArray bytesOf(const PreparedReport &report, bool (*write)(const PreparedReport &, QIODevice &))
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(write(report, buffer));
    return bytes;
}

QByteArray fp3Of(const PreparedReport &report)
{
    return bytesOf(report, writePreparedReport);
}

QByteArray jsonOf(const PreparedReport &report)
{
    return bytesOf(report, writePreparedJson);
}

QByteArray pdfOf(const PreparedReport &report)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(writePreparedPdf(report, buffer));
    return bytes;
}

QString pictureXml(const QString &name, const QString &attributes)
{
    return QStringLiteral(R"(<TfrxPictureView Name="%1" %2/>)").arg(name, attributes);
}

// A band with a text over the stamp's box and the stamp on it, one band per row.
QString stampBandXml(const QString &stampAttributes, double bandHeight = 100)
{
    return QStringLiteral(
               R"(<TfrxMasterData Name="B" Width="377.953" Height="%1" DataSet="D">%2%3</TfrxMasterData>)")
        .arg(bandHeight)
        .arg(memoXml("MP", "Left=\"20\" Top=\"40\" Width=\"100\" Height=\"20\"", "М.П. ЖЖЖЖЖЖ"))
        .arg(pictureXml("Stamp", stampAttributes));
}

const PreparedObject *objectNamed(const PreparedPage &page, const QString &name)
{
    for (const PreparedObject &object : page.objects) {
        if (object.name == name)
            return &object;
    }
    return nullptr;
}

TEST(Pictures, ShowTheirImageInTheirBoxOrNothingAtAll)
{
    auto rows = numberRows({1});
    const QString stamp =
        QStringLiteral(R"(Left="10" Top="10" Width="80" Height="80" ImageName="stamp")");
    const ReportRun with =
        runReport(reportXml(stampBandXml(stamp)), {{"src", rows.get()}}, {{"stamp", blueJpeg()}});
    ASSERT_TRUE(with.ok);
    const PreparedObject *picture = objectNamed(with.prepared().pages().front(), "Stamp");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->image, 0);
    EXPECT_EQ(QRectF(picture->left, picture->top, picture->width, picture->height),
              QRectF(10, 10, 80, 80));
    ASSERT_EQ(with.prepared().images().size(), 1u);

    // Without its image, or with garbage for one, the page is the page without the picture.
    const ReportRun plain = runReport(
        reportXml(
            QStringLiteral(
                R"(<TfrxMasterData Name="B" Width="377.953" Height="100" DataSet="D">%1</TfrxMasterData>)")
                .arg(memoXml("MP", "Left=\"20\" Top=\"40\" Width=\"100\" Height=\"20\"",
                             "М.П. ЖЖЖЖЖЖ"))),
        {{"src", rows.get()}});
    for (const QHash<QString, QByteArray> &images :
         {QHash<QString, QByteArray>{}, QHash<QString, QByteArray>{{"logo", blueJpeg()}},
          QHash<QString, QByteArray>{{"stamp", QByteArray("not an image at all")}}}) {
        const ReportRun without =
            runReport(reportXml(stampBandXml(stamp)), {{"src", rows.get()}}, images);
        ASSERT_TRUE(without.ok);
        EXPECT_EQ(jsonOf(without.prepared()), jsonOf(plain.prepared()));
        EXPECT_EQ(fp3Of(without.prepared()), fp3Of(plain.prepared()));
        EXPECT_EQ(pdfOf(without.prepared()), pdfOf(plain.prepared()));
    }
}

TEST(Pictures, MoveDownWithTheTextAboveThemAndToTheNextPageWhole)
{
    // A stretching memo above the picture pushes it down by its growth.
    auto rows = numberRows({1});
    const QString grown =
        QStringLiteral(
            R"(<TfrxMasterData Name="B" Width="377.953" Height="60" Stretched="True" DataSet="D">%1%2</TfrxMasterData>)")
            .arg(memoXml("Long", "Width=\"100\" Height=\"20\" StretchMode=\"smActualHeight\"",
                         "раз\nдва\nтри\nчетыре\nпять"))
            .arg(pictureXml("Sign", R"(Top="30" Width="60" Height="30" ImageName="head")"));
    const ReportRun run =
        runReport(reportXml(grown), {{"src", rows.get()}}, {{"head", blueJpeg()}});
    ASSERT_TRUE(run.ok);
    const PreparedPage &page = run.prepared().pages().front();
    const PreparedObject *memo = objectNamed(page, "Long");
    const PreparedObject *sign = objectNamed(page, "Sign");
    ASSERT_TRUE(memo && sign);
    EXPECT_GT(memo->height, 20);
    EXPECT_NEAR(sign->top, 30 + memo->height - 20, 1e-6);

    // A band taller than the room left is split; the picture is never cut but moves whole.
    auto three = numberRows({1, 2});
    const QString tall =
        stampBandXml(QStringLiteral(R"(Top="200" Width="80" Height="80" ImageName="stamp")"), 300);
    const ReportRun split =
        runReport(reportXml(tall, 100), {{"src", three.get()}}, {{"stamp", blueJpeg()}});
    ASSERT_TRUE(split.ok);
    int pictures = 0;
    for (const PreparedPage &p : split.prepared().pages()) {
        for (const PreparedObject &object : p.objects) {
            if (object.image < 0)
                continue;
            ++pictures;
            EXPECT_DOUBLE_EQ(object.height, 80);
        }
    }
    EXPECT_EQ(pictures, 2); // once a row
}

QImage drawnFirstPage(const ReportRun &run)
{
    QImage image(200, 150, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawPreparedPage(painter, run.prepared(), run.prepared().pages().front(), 1, 1);
    return image;
}

TEST(Pictures, DrawnOverTheTextWhichShowsThroughTheirTransparentParts)
{
    auto rows = numberRows({1});
    const QString xml = reportXml(stampBandXml(
        QStringLiteral(R"(Left="10" Top="0" Width="120" Height="100" ImageName="stamp")")));
    const QImage image =
        drawnFirstPage(runReport(xml, {{"src", rows.get()}}, {{"stamp", transparentRing()}}));
    const QImage plain = drawnFirstPage(runReport(xml, {{"src", rows.get()}}));
    // The ring keeps its proportions: a circle centred in the wider box, from x 20 to 120.
    EXPECT_EQ(image.pixel(70, 3), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(22, 50), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(13, 50), qRgb(255, 255, 255));
    // The text inside the ring is there as it is without the ring.
    int ink = 0;
    for (int y = 42; y < 58; ++y) {
        for (int x = 34; x < 106; ++x) {
            ASSERT_EQ(image.pixel(x, y), plain.pixel(x, y)) << x << "," << y;
            ink += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 10);
}

// `pdfimages -list` rows: type (image, smask) and encoding (jpeg, image) of each image object.
QStringList listedImages(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {QStringLiteral("pdfimages failed")};
    QStringList rows;
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n');
    for (const QString &line : lines.mid(2)) {
        const QStringList words = line.simplified().split(' ');
        if (words.size() > 9)
            rows << words[2] + ' ' + words[8] + " object " + words[10];
    }
    return rows;
}

TEST(Pictures, PdfHoldsEachImageOnceWhateverTheNumberOfPages)
{
    // Two rows, a page each, both showing the JPEG and the transparent PNG.
    auto rows = numberRows({1, 2});
    const QString band =
        QStringLiteral(
            R"(<TfrxMasterData Name="B" Width="377.953" Height="300" DataSet="D">%1%2%3</TfrxMasterData>)")
            .arg(memoXml("MP", "Left=\"20\" Top=\"40\" Width=\"100\" Height=\"20\"", "М.П."))
            .arg(pictureXml("Stamp", R"(Width="100" Height="100" ImageName="stamp")"))
            .arg(pictureXml("Logo", R"(Top="150" Width="100" Height="50" ImageName="logo")"));
    const QByteArray jpeg = blueJpeg();
    const ReportRun run = runReport(reportXml(band, 100), {{"src", rows.get()}},
                                    {{"stamp", transparentRing()}, {"logo", jpeg}});
    ASSERT_TRUE(run.ok);
    ASSERT_EQ(run.prepared().pageCount(), 2);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("images.pdf"));
    QString error;
    ASSERT_TRUE(savePreparedPdf(run.prepared(), path, &error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_EQ(pdf.count(jpeg), 1) << "the JPEG is passed through as it is";
    QStringList listed = listedImages(path);
    // Listed per use: the object numbers show that both pages share two images and one mask.
    EXPECT_EQ(listed.size(), 6) << listed.join('\n').toStdString();
    listed.removeDuplicates();
    listed.sort();
    ASSERT_EQ(listed.size(), 3) << listed.join('\n').toStdString();
    EXPECT_TRUE(listed[0].startsWith("image image")) << listed[0].toStdString();
    EXPECT_TRUE(listed[1].startsWith("image jpeg")) << listed[1].toStdString();
    EXPECT_TRUE(listed[2].startsWith("smask image")) << listed[2].toStdString();
}

TEST(Pictures, SavedPreparedReportsKeepThemAndOlderFilesStillOpen)
{
    auto rows = numberRows({1});
    const ReportRun run = runReport(
        reportXml(stampBandXml(QStringLiteral(
            R"(Left="10" Width="80" Height="80" ImageName="stamp" KeepAspectRatio="False")"))),
        {{"src", rows.get()}}, {{"stamp", transparentRing()}});
    ASSERT_TRUE(run.ok);
    const QByteArray bytes = fp3Of(run.prepared());
    PreparedReport loaded;
    QString error;
    ASSERT_TRUE(readPreparedReport(bytes, loaded, &error)) << error.toStdString();
    EXPECT_EQ(jsonOf(loaded), jsonOf(run.prepared()));
    ASSERT_EQ(loaded.images().size(), 1u);
    EXPECT_EQ(loaded.images()[0].data, transparentRing());
    const PreparedObject *stamp = objectNamed(loaded.pages().front(), "Stamp");
    ASSERT_TRUE(stamp);
    EXPECT_FALSE(stamp->keepAspect);

    // Garbage where the image was is refused with a reason.
    QByteArray damaged = bytes;
    const qsizetype at = damaged.indexOf(transparentRing());
    ASSERT_GT(at, 0);
    damaged.replace(at, 8, "garbage!");
    EXPECT_FALSE(readPreparedReport(damaged, loaded, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("изображение"))) << error.toStdString();

    // A file of the first version: one page, one band, one object of empty names and text,
    // which has no image list after its styles and no picture fields after its objects.
    PreparedReport old;
    old.addStyle(TextStyle{});
    PreparedPage &page = old.addPage(PageSettings{});
    page.bands.push_back(PreparedBand{{}, 0, 0, 100, 20, 0, 1});
    page.objects.push_back(PreparedObject{});
    QByteArray first = fp3Of(old);
    constexpr qsizetype kPages = 4 + 57 + 40 + 53; // the page section of this report
    first.chop(5);
    first.remove(first.size() - (kPages - 5) - 4, 4);
    first[8] = 1;
    ASSERT_TRUE(readPreparedReport(first, loaded, &error)) << error.toStdString();
    EXPECT_EQ(jsonOf(loaded), jsonOf(old));
}

} // namespace
