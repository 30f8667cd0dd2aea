// Feeds arbitrary bytes to the prepared-report reader; whatever it accepts must be written
// out and read back as the same file, and is drawn, so that nothing a file can say makes the
// program crash.
//
// Built with -DZARNIK_FUZZ=ON (clang) it is a libFuzzer target:
//   cmake --preset fuzz && cmake --build --preset fuzz
//   build-fuzz/bin/fuzz_prepared_report -max_total_time=600 tests/report/fuzz/corpus
// Otherwise it is a plain program that reads the files (or folders of files) it is given.

#include "report/prepared_io.h"
#include "report/report_draw.h"
#include "report/report_output.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

static void exercise(QByteArrayView data)
{
    zreport::PreparedReport report;
    QString error;
    if (!zreport::readPreparedReport(data, report, &error)) {
        if (error.isEmpty())
            std::abort(); // a refusal must say why
        return;
    }
    // What was accepted is written out again and read back as the same file.
    QByteArray written;
    QBuffer sink(&written);
    sink.open(QIODevice::WriteOnly);
    if (!zreport::writePreparedReport(report, sink))
        std::abort();
    zreport::PreparedReport reloaded;
    if (!zreport::readPreparedReport(written, reloaded, &error))
        std::abort();
    QByteArray rewritten;
    QBuffer again(&rewritten);
    again.open(QIODevice::WriteOnly);
    zreport::writePreparedReport(reloaded, again);
    if (rewritten != written)
        std::abort();
    QBuffer json;
    json.open(QIODevice::WriteOnly);
    zreport::writePreparedJson(report, json);
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

// libFuzzer caps inputs at the size of the largest seed unless told otherwise, which would
// never try a file larger than the seeds; a default cap of 1 MiB applies unless -max_len is
// given. libFuzzer reads its flags after this function, so adding one here takes effect.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    startApplication();
    static std::vector<char *> args;
    bool hasMaxLen = false;
    for (int i = 0; i < *argc; ++i) {
        args.push_back((*argv)[i]);
        if (std::strncmp((*argv)[i], "-max_len=", 9) == 0)
            hasMaxLen = true;
    }
    static char maxLen[] = "-max_len=1048576";
    if (!hasMaxLen)
        args.insert(args.begin() + std::min<std::ptrdiff_t>(1, *argc), maxLen);
    args.push_back(nullptr);
    *argc = int(args.size()) - 1;
    *argv = args.data();
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
