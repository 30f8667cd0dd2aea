#include "export_writers.h"

#include "report/report_output.h"

#include <QFile>
#include <QImage>
#include <QImageWriter>

#include <gif_lib.h>

// PDF and the page images.
namespace zexport::writers {

bool pdf(const Report &report, const Pages &pages, const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        !zreport::writePreparedPdf(report, file, pages, QStringLiteral("Отчет"))) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

namespace {

// Qt reads GIF but does not write it; giflib does, from the page reduced to 256 colours.
bool writeGif(const QImage &page, const QString &path, QString *error)
{
    const QImage indexed = page.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    const QList<QRgb> table = indexed.colorTable();
    int bits = 1;
    while ((1 << bits) < table.size())
        ++bits;
    std::vector<GifColorType> colours(size_t(1) << bits);
    for (qsizetype i = 0; i < table.size(); ++i)
        colours[size_t(i)] = {GifByteType(qRed(table[i])), GifByteType(qGreen(table[i])),
                              GifByteType(qBlue(table[i]))};
    int status = 0;
    GifFileType *gif = EGifOpenFileName(QFile::encodeName(path).constData(), false, &status);
    if (!gif) {
        if (error)
            *error = QString::fromUtf8(GifErrorString(status));
        return false;
    }
    ColorMapObject *map = GifMakeMapObject(1 << bits, colours.data());
    bool ok =
        map && EGifPutScreenDesc(gif, indexed.width(), indexed.height(), bits, 0, map) == GIF_OK &&
        EGifPutImageDesc(gif, 0, 0, indexed.width(), indexed.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < indexed.height(); ++y)
        ok = EGifPutLine(gif, const_cast<GifByteType *>(indexed.constScanLine(y)),
                         indexed.width()) == GIF_OK;
    if (!ok && error)
        *error = QString::fromUtf8(GifErrorString(gif->Error));
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &status) != GIF_OK && ok) {
        ok = false;
        if (error)
            *error = QString::fromUtf8(GifErrorString(status));
    }
    return ok;
}

} // namespace

bool image(const Report &report, int page, int dpi, const char *format, const QString &path,
           QString *error)
{
    const QImage picture = zreport::renderPreparedPage(report, page, dpi);
    if (qstrcmp(format, "GIF") == 0)
        return writeGif(picture, path, error);
    QImageWriter writer(path, format);
    if (qstrcmp(format, "JPEG") == 0)
        writer.setQuality(90);
    if (qstrcmp(format, "TIFF") == 0)
        writer.setCompression(1); // LZW
    if (!writer.write(picture)) {
        if (error)
            *error = writer.errorString();
        return false;
    }
    return true;
}

} // namespace zexport::writers
