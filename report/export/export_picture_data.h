#pragma once

#include "report/prepared_report.h"

#include <QByteArray>
#include <QString>

// The bytes of a report's image as the document formats that hold images take them.
namespace zexport {

struct PictureData {
    QByteArray bytes;
    QString mimeType;  // "image/png" or "image/jpeg"
    QString extension; // "png" or "jpeg"
};

// A PNG or a JPEG as the report holds it (a JPEG is not decoded and compressed again); any
// other image as a PNG.
PictureData pictureData(const zreport::PreparedImage &image);

// A PNG that declares kDeclaredDpi (96 dots per inch as near as whole dots per metre come), for a
// writer that sizes an image by the resolution its file gives.
QByteArray pngAt96Dpi(const QImage &image);
inline constexpr int kDeclaredDotsPerMeter = 3780;
inline constexpr double kDeclaredDpi = kDeclaredDotsPerMeter * 0.0254;

} // namespace zexport
