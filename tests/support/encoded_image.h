#pragma once

// An image as the bytes of its file, for tests that hand images over as files hold them.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

inline QByteArray encodedImage(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return bytes;
}

// A ring of `colour` on transparency, `side` pixels square, its outline `inset` from the edges:
// what lies inside it and around it stays visible.
inline QImage transparentRing(int side, const QColor &colour, int penWidth, double inset)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(QPen(colour, penWidth));
    painter.drawEllipse(QRectF(inset, inset, side - 2 * inset, side - 2 * inset));
    return image;
}

// A signature-like stroke of `colour` across a 300 × 100 image on transparency.
inline QImage signatureStroke(const QColor &colour, int penWidth)
{
    QImage image(300, 100, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(QPen(colour, penWidth));
    painter.drawLine(10, 80, 290, 20);
    return image;
}
