#include "business_image.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace zimages {

QString slotName(Slot slot)
{
    switch (slot) {
    case Slot::Logo:
        return QStringLiteral("logo");
    case Slot::Stamp:
        return QStringLiteral("stamp");
    case Slot::HeadSignature:
        return QStringLiteral("head");
    case Slot::AccountantSignature:
        break;
    }
    return QStringLiteral("accountant");
}

QString slotCaption(Slot slot)
{
    switch (slot) {
    case Slot::Logo:
        return QStringLiteral("Логотип");
    case Slot::Stamp:
        return QStringLiteral("Печать");
    case Slot::HeadSignature:
        return QStringLiteral("Подпись руководителя");
    case Slot::AccountantSignature:
        break;
    }
    return QStringLiteral("Подпись гл. бухгалтера");
}

QSizeF printedSizeMm(Slot slot)
{
    switch (slot) {
    case Slot::Logo:
        return {60, 30};
    case Slot::Stamp:
        return {45, 45};
    case Slot::HeadSignature:
    case Slot::AccountantSignature:
        break;
    }
    return {45, 20};
}

namespace {

QString tooLarge()
{
    return QStringLiteral("Файл больше 10 МБ. Выберите файл поменьше.");
}

QString unreadable()
{
    return QStringLiteral("Файл не является изображением или поврежден.");
}

bool isSvg(const QByteArray &file)
{
    return file.left(1024).contains("<svg");
}

// An SVG may name images and styles elsewhere (files, the network); only its own parts
// ("#id") and inline data stay, so loading it reads nothing from outside.
QByteArray withoutExternalReferences(QByteArray svg)
{
    static const QRegularExpression reference(
        QStringLiteral(R"((\b(?:xlink:)?href\s*=\s*)(["'])(?!#|data:)[^"']*\2)"),
        QRegularExpression::CaseInsensitiveOption);
    QString text = QString::fromUtf8(svg);
    text.replace(reference, QStringLiteral("\\1\\2\\2"));
    static const QRegularExpression url(QStringLiteral(R"(url\(\s*['"]?(?!#|data:)[^)]*\))"),
                                        QRegularExpression::CaseInsensitiveOption);
    text.replace(url, QStringLiteral("none"));
    return text.toUtf8();
}

// Near-white becomes transparent, with a soft edge so the ink keeps its anti-aliasing.
void makeWhiteTransparent(QImage &image)
{
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int lightest = std::min({qRed(line[x]), qGreen(line[x]), qBlue(line[x])});
            const int alpha = std::clamp((255 - lightest) * 255 / 40, 0, 255);
            line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]),
                            std::min(alpha, qAlpha(line[x])));
        }
    }
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (qstrcmp(format, "jpg") == 0)
        writer.setQuality(90);
    return writer.write(image) ? bytes : QByteArray();
}

} // namespace

LoadedImage loadBusinessImage(const QByteArray &file, Slot slot, const LoadOptions &options)
{
    if (file.size() > kMaxFileBytes)
        return {{}, tooLarge()};
    const bool svg = isSvg(file);
    const QByteArray source = svg ? withoutExternalReferences(file) : file;
    QBuffer buffer;
    buffer.setData(source);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    const QSize size = reader.size();
    if (!reader.canRead() || size.isEmpty())
        return {{}, unreadable()};
    if (size.width() > kMaxSide || size.height() > kMaxSide)
        return {{},
                QStringLiteral("Изображение больше %1 точек по стороне (%2 × %3).")
                    .arg(kMaxSide)
                    .arg(size.width())
                    .arg(size.height())};
    const QSizeF printed = printedSizeMm(slot) / 25.4 * kStoredDpi;
    const QSize largest(int(std::lround(printed.width())), int(std::lround(printed.height())));
    const bool scaled = size.width() > largest.width() || size.height() > largest.height();
    // A JPEG is decoded at the smaller size directly, which is many times faster; a drawing is
    // rendered at the printed size whatever size it names.
    if (scaled || svg)
        reader.setScaledSize(size.scaled(largest, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (image.isNull())
        return {{}, unreadable()};
    const bool jpeg = format == "jpeg" || format == "jpg";
    if (jpeg && !scaled && !options.whiteToTransparent)
        return {file, {}};
    if (options.whiteToTransparent)
        makeWhiteTransparent(image);
    const bool opaque = !image.hasAlphaChannel();
    QByteArray data = encoded(image, jpeg && opaque ? "jpg" : "png");
    if (data.isEmpty())
        return {{}, unreadable()};
    return {data, {}};
}

LoadedImage loadBusinessImageFile(const QString &path, Slot slot, const LoadOptions &options)
{
    QFile file(path);
    if (file.size() > kMaxFileBytes)
        return {{}, tooLarge()};
    if (!file.open(QIODevice::ReadOnly))
        return {{},
                QStringLiteral("Не удалось открыть файл «%1»: %2").arg(path, file.errorString())};
    return loadBusinessImage(file.readAll(), slot, options);
}

} // namespace zimages
