#include "export_picture_data.h"

#include <QBuffer>
#include <QImageWriter>

namespace zexport {

namespace {

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    return writer.write(image) ? bytes : QByteArray();
}

} // namespace

PictureData pictureData(const zreport::PreparedImage &image)
{
    if (image.data.startsWith("\x89PNG\r\n\x1a\n"))
        return {image.data, QStringLiteral("image/png"), QStringLiteral("png")};
    if (image.data.startsWith("\xff\xd8\xff"))
        return {image.data, QStringLiteral("image/jpeg"), QStringLiteral("jpeg")};
    return {png(image.image), QStringLiteral("image/png"), QStringLiteral("png")};
}

QByteArray pngAt96Dpi(const QImage &image)
{
    QImage copy = image;
    copy.setDotsPerMeterX(kDeclaredDotsPerMeter);
    copy.setDotsPerMeterY(kDeclaredDotsPerMeter);
    return png(copy);
}

} // namespace zexport
