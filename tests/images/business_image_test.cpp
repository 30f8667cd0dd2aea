#include "encoded_image.h"
#include "images/business_image.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zimages;

namespace {

QImage filled(int width, int height, QColor color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

QImage decoded(const QByteArray &data)
{
    return QImage::fromData(data);
}

struct RefusedCase {
    const char *name;
    QByteArray file;
    const char *message;
};

TEST(BusinessImage, RefusedFilesSayWhyAndStoreNothing)
{
    const RefusedCase cases[] = {
        {"garbage", QByteArray("this is not an image"), "не является изображением"},
        {"empty", QByteArray(), "не является изображением"},
        {"truncated PNG", encodedImage(filled(50, 50, Qt::red), "PNG").left(40),
         "не является изображением"},
        {"over 10 MB", QByteArray(kMaxFileBytes + 1, 'x'), "больше 10 МБ"},
        {"too wide", encodedImage(filled(kMaxSide + 1, 2, Qt::red), "PNG"), "больше 8000 точек"},
    };
    for (const RefusedCase &c : cases) {
        const LoadedImage loaded = loadBusinessImage(c.file, Slot::Stamp, {});
        EXPECT_FALSE(loaded.ok()) << c.name;
        EXPECT_TRUE(loaded.data.isEmpty()) << c.name;
        EXPECT_TRUE(loaded.error.contains(QString::fromUtf8(c.message)))
            << c.name << ": " << loaded.error.toStdString();
    }
    const LoadedImage missing = loadBusinessImageFile("/nonexistent/stamp.png", Slot::Stamp, {});
    EXPECT_TRUE(missing.error.contains(QStringLiteral("stamp.png")));
}

TEST(BusinessImage, KeptAtMost600DpiAtItsPrintedSizeAndASmallJpegAsItIs)
{
    const QByteArray small = encodedImage(filled(400, 300, Qt::blue), "JPG");
    const LoadedImage kept = loadBusinessImage(small, Slot::Logo, {});
    ASSERT_TRUE(kept.ok()) << kept.error.toStdString();
    EXPECT_EQ(kept.data, small);

    const LoadedImage large =
        loadBusinessImage(encodedImage(filled(4000, 3000, Qt::blue), "JPG"), Slot::Stamp, {});
    ASSERT_TRUE(large.ok()) << large.error.toStdString();
    const QImage image = decoded(large.data);
    const int largest = int(printedSizeMm(Slot::Stamp).width() / 25.4 * kStoredDpi + 0.5);
    EXPECT_EQ(image.width(), largest);
    EXPECT_EQ(image.height(), largest * 3 / 4);
    EXPECT_TRUE(large.data.startsWith("\xFF\xD8")) << "an opaque photograph stays a JPEG";
}

TEST(BusinessImage, WhiteBackgroundMadeTransparentKeepsTheInk)
{
    QImage scan = filled(200, 100, Qt::white);
    for (int x = 50; x < 150; ++x)
        scan.setPixel(x, 50, qRgb(0, 0, 160));
    const LoadedImage loaded = loadBusinessImage(encodedImage(scan, "JPG"), Slot::HeadSignature,
                                                 {.whiteToTransparent = true});
    ASSERT_TRUE(loaded.ok()) << loaded.error.toStdString();
    const QImage image = decoded(loaded.data);
    ASSERT_TRUE(image.hasAlphaChannel());
    EXPECT_EQ(qAlpha(image.pixel(10, 10)), 0);
    EXPECT_EQ(qAlpha(image.pixel(100, 50)), 255);
    EXPECT_LT(qBlue(image.pixel(100, 50)) - qRed(image.pixel(100, 50)), 255);
    EXPECT_GT(qBlue(image.pixel(100, 50)), qRed(image.pixel(100, 50)));
}

TEST(BusinessImage, SvgIsRenderedAtThePrintedSizeWithoutReadingAnythingFromOutside)
{
    // A red picture next to the drawing, which names it as an image of its own.
    QTemporaryDir dir;
    const QString outside = dir.filePath(QStringLiteral("outside.png"));
    ASSERT_TRUE(filled(10, 10, Qt::red).save(outside));
    const QByteArray svg = QStringLiteral(R"(<svg xmlns="http://www.w3.org/2000/svg"
     xmlns:xlink="http://www.w3.org/1999/xlink" width="20" height="20" viewBox="0 0 20 20">
  <rect x="0" y="0" width="20" height="10" fill="#0000ff"/>
  <image x="0" y="10" width="20" height="10" xlink:href="file://%1"/>
  <image x="0" y="10" width="20" height="10" href="%1"/>
</svg>)")
                               .arg(outside)
                               .toUtf8();
    const LoadedImage loaded = loadBusinessImage(svg, Slot::Stamp, {});
    ASSERT_TRUE(loaded.ok()) << loaded.error.toStdString();
    const QImage image = decoded(loaded.data);
    const int largest = int(printedSizeMm(Slot::Stamp).width() / 25.4 * kStoredDpi + 0.5);
    EXPECT_EQ(image.size(), QSize(largest, largest));
    EXPECT_EQ(QColor(image.pixel(largest / 2, largest / 4)), QColor(Qt::blue));
    EXPECT_NE(QColor(image.pixel(largest / 2, largest * 3 / 4)), QColor(Qt::red));
}

} // namespace
