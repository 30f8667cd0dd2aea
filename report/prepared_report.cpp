#include "prepared_report.h"

namespace zreport {

void PreparedReport::clear()
{
    m_styles.clear();
    m_images.clear();
    m_pages.clear();
}

quint32 PreparedReport::addStyle(const TextStyle &style)
{
    for (size_t i = 0; i < m_styles.size(); ++i) {
        if (m_styles[i] == style)
            return quint32(i);
    }
    m_styles.push_back(style);
    return quint32(m_styles.size() - 1);
}

std::optional<quint32> PreparedReport::addImage(const QByteArray &data)
{
    for (size_t i = 0; i < m_images.size(); ++i) {
        if (m_images[i].data == data)
            return quint32(i);
    }
    QImage image = QImage::fromData(data);
    if (image.isNull())
        return std::nullopt;
    m_images.push_back({data, std::move(image)});
    return quint32(m_images.size() - 1);
}

QRectF pictureArea(const QRectF &box, const PreparedObject &picture, const PreparedImage &image)
{
    if (!picture.keepAspect || image.image.isNull())
        return box;
    const QSizeF fitted = QSizeF(image.image.size()).scaled(box.size(), Qt::KeepAspectRatio);
    return QRectF(box.center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted);
}

PreparedPage &PreparedReport::addPage(const PageSettings &settings)
{
    m_pages.emplace_back();
    m_pages.back().settings = settings;
    return m_pages.back();
}

} // namespace zreport
