#pragma once

#include "import_table.h"

#include <QByteArray>
#include <QChar>
#include <QString>

// Reads a CSV file as spreadsheets write it: the separator (";", "," or tab) told by the
// header, fields in double quotes that may hold the separator, doubled quotes and line
// breaks. The encoding is told by the bytes (text_decoding.h).
namespace csv {

// Limits that keep a damaged or hostile file from exhausting the memory.
inline constexpr qsizetype kMaxRecordChars = 10 * 1024 * 1024;
inline constexpr qsizetype kMaxColumns = 1000;

// The separator the first record uses most, outside quotes; ";" when it has none.
QChar detectSeparator(const QString &text);

TableRead readText(const QString &text);
TableRead readBytes(const QByteArray &bytes);
TableRead readFile(const QString &path);

} // namespace csv
