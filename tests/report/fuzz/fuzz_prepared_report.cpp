// Feeds arbitrary bytes to the prepared-report reader; whatever it accepts is written out
// again and drawn, so that nothing a file can say makes the program crash.
//
// Built with -DZARNIK_FUZZ=ON (clang) it is a libFuzzer target:
//   build/bin/fuzz_prepared_report -max_total_time=600 tests/report/fuzz/corpus
// Otherwise it is a plain program that reads the files (or folders of files) it is given.

#include "prepared_io.h"
#include "report_draw.h"
#include "report_output.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdio>

static void exercise(QByteArrayView data)
{
    zreport::PreparedReport report;
    QString error;
    if (!zreport::readPreparedReport(data, report, &error)) {
        if (error.isEmpty())
            std::abort(); // a refusal must say why
        return;
    }
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    zreport::writePreparedReport(report, sink);
    zreport::writePreparedJson(report, sink);
    QImage image(64, 64, QImage::Format_RGB32);
    QPainter painter(&image);
    for (const zreport::PreparedPage &page : report.pages())
        zreport::drawPreparedPage(painter, report, page, 0.05, 0.05);
}

static void startApplication()
{
    static int argc = 1;
    static char name[] = "fuzz_prepared_report";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv); // fonts for drawing
}

#ifdef ZARNIK_LIBFUZZER

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    exercise(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}

#else

int main(int argc, char **argv)
{
    startApplication();
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        QStringList paths{path};
        if (QFileInfo(path).isDir()) {
            paths.clear();
            for (const QString &name : QDir(path).entryList(QDir::Files))
                paths << QDir(path).filePath(name);
        }
        for (const QString &file : paths) {
            QFile f(file);
            if (!f.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(file));
                return 2;
            }
            exercise(f.readAll());
            ++files;
        }
    }
    std::printf("%d files read without a crash\n", files);
    return 0;
}

#endif
