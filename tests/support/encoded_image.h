#pragma once

// An image as the bytes of its file, for tests that hand images over as files hold them.

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <gtest/gtest.h>

inline QByteArray encodedImage(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return bytes;
}
