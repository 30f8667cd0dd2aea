#include "page_icons.h"

#include <QPainter>
#include <QPixmap>

namespace {

QIcon pageIcon(QSize page)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const QRect sheet(QPoint((24 - page.width()) / 2, (24 - page.height()) / 2), page);
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.drawRect(sheet.adjusted(0, 0, -1, -1));
    p.setPen(QColor(0, 0, 128));
    for (int y = sheet.top() + 3; y < sheet.bottom() - 2; y += 3)
        p.drawLine(sheet.left() + 3, y, sheet.right() - 3, y);
    return QIcon(pixmap);
}

} // namespace

QIcon landscapePageIcon()
{
    return pageIcon(QSize(22, 16));
}

QIcon portraitPageIcon()
{
    return pageIcon(QSize(16, 22));
}
