#pragma once

#include "prepared_report.h"

#include <QByteArrayView>
#include <QString>

class QIODevice;

// Saved prepared reports (".fp3"): a versioned little-endian binary stream.
//
// Reading trusts nothing in the file: every count and length is checked against the bytes
// that are left before anything is allocated, every index and enumeration against its range,
// so a truncated, random or hostile file gives an error message and never a crash.
namespace zreport {

// 2: the images of pictures, and which image each object shows. Files of version 1 still open.
inline constexpr quint32 kPreparedFormatVersion = 2;

// Written as a stream: nothing but the report itself is held in memory.
bool writePreparedReport(const PreparedReport &report, QIODevice &device);
bool savePreparedReport(const PreparedReport &report, const QString &path, QString *error);

bool readPreparedReport(QByteArrayView data, PreparedReport &report, QString *error);
bool loadPreparedReport(const QString &path, PreparedReport &report, QString *error);

} // namespace zreport
