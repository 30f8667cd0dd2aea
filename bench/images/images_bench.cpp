// Loading a photographed stamp into its slot: the goal is under 300 ms for 4000 x 3000 pixels,
// the file read and checked, and the image stored in the database.

#include "data/business_images.h"
#include "data/database_file.h"
#include "data/fb_connection.h"
#include "images/business_image.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A photograph-like JPEG: a gradient with some strokes, so it does not compress to nothing.
QByteArray photographJpeg(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, QColor(200, 210, 255));
    painter.fillRect(image.rect(), gradient);
    painter.setPen(QPen(QColor(20, 40, 160), 12));
    for (int i = 0; i < 40; ++i)
        painter.drawEllipse(QPoint(width / 2, height / 2), 100 + i * 30, 100 + i * 20);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

void LoadStampPhotograph(benchmark::State &state)
{
    const QByteArray file = photographJpeg(4000, 3000);
    const zimages::LoadOptions options{.whiteToTransparent = state.range(0) != 0};
    for (auto _ : state) {
        const zimages::LoadedImage loaded =
            zimages::loadBusinessImage(file, zimages::Slot::Stamp, options);
        if (!loaded.ok())
            state.SkipWithError("the photograph was refused");
        benchmark::DoNotOptimize(loaded.data);
    }
}

// Loaded and stored as the requisites window does, into a new database's slot.
void LoadAndStoreStampPhotograph(benchmark::State &state)
{
    const QByteArray file = photographJpeg(4000, 3000);
    const zimages::LoadOptions options{.whiteToTransparent = state.range(0) != 0};
    const QTemporaryDir folder;
    const QString path = folder.filePath(database::fileName());
    database::create(path);
    FbConnection connection;
    connection.attach(path, database::userName(), database::password());
    BusinessImages images(connection);
    for (auto _ : state) {
        const zimages::LoadedImage loaded =
            zimages::loadBusinessImage(file, zimages::Slot::Stamp, options);
        if (!loaded.ok())
            state.SkipWithError("the photograph was refused");
        images.store(zimages::slotName(zimages::Slot::Stamp), loaded.data);
    }
}

} // namespace

BENCHMARK(LoadStampPhotograph)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadAndStoreStampPhotograph)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
