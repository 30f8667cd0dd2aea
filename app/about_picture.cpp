#include "about_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

// One printed form: a sheet with its title, table rules and a total.
void drawSheet(QPainter &p, const QRectF &sheet, const QString &title, qreal angle)
{
    p.save();
    p.translate(sheet.center());
    p.rotate(angle);
    const QRectF r(-sheet.width() / 2, -sheet.height() / 2, sheet.width(), sheet.height());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRect(r.translated(3, 3));
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.drawRect(r);

    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0, 0, 128));
    p.drawText(QRectF(r.left(), r.top() + 8, r.width(), 14), Qt::AlignHCenter, title);

    p.setPen(QPen(QColor(120, 120, 150), 1));
    const qreal left = r.left() + 10, right = r.right() - 10;
    for (int row = 0; row < 6; ++row) {
        const qreal y = r.top() + 32 + row * 11;
        p.drawLine(QPointF(left, y), QPointF(right, y));
    }
    for (qreal x : {left, left + 14, right - 42, right})
        p.drawLine(QPointF(x, r.top() + 32), QPointF(x, r.top() + 87));
    font.setPixelSize(8);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRectF(left, r.top() + 92, right - left, 12), Qt::AlignRight,
               QStringLiteral("Итого: 125 400,00"));
    p.restore();
}

} // namespace

QPixmap aboutPicture(QSize size)
{
    QPixmap picture(size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();
    const qreal horizon = h * 0.62;

    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0, QColor(44, 98, 168));
    sky.setColorAt(1, QColor(248, 196, 120));
    p.fillRect(QRectF(0, 0, w, horizon), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 214, 90));
    p.drawEllipse(QPointF(w * 0.82, horizon), h * 0.16, h * 0.16);

    QLinearGradient steppe(0, horizon, 0, h);
    steppe.setColorAt(0, QColor(196, 164, 72));
    steppe.setColorAt(1, QColor(120, 104, 40));
    p.fillRect(QRectF(0, horizon, w, h - horizon), steppe);
    QPainterPath hills;
    hills.moveTo(0, horizon);
    hills.cubicTo(w * 0.2, horizon - 18, w * 0.35, horizon - 4, w * 0.5, horizon - 12);
    hills.cubicTo(w * 0.65, horizon - 22, w * 0.8, horizon - 2, w, horizon - 10);
    hills.lineTo(w, horizon);
    hills.closeSubpath();
    p.setBrush(QColor(150, 126, 60));
    p.drawPath(hills);

    const QSizeF sheet(w * 0.3, h * 0.62);
    drawSheet(p, QRectF(QPointF(w * 0.05, h * 0.22), sheet), QStringLiteral("НАКЛАДНАЯ"), -8);
    drawSheet(p, QRectF(QPointF(w * 0.36, h * 0.14), sheet), QStringLiteral("СЧЕТ-ФАКТУРА"), 3);
    drawSheet(p, QRectF(QPointF(w * 0.2, h * 0.3), sheet), QStringLiteral("СЧЕТ НА ОПЛАТУ"), -2);
    return picture;
}
