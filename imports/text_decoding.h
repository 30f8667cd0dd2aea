#pragma once

#include <QByteArray>
#include <QString>

// The text of a table file, whose encoding is told by its bytes: UTF-8 with or without a
// byte order mark, else the single-byte Windows-1251 (read as KZ-1048, which adds the
// Kazakh letters). A file with binary bytes or of an encoding that is neither is refused.
struct DecodedText {
    QString text;
    QString encoding; // "UTF-8" or "Windows-1251"
    QString error;    // why the bytes are not text this program reads
};

DecodedText decodeTableText(const QByteArray &bytes);
