#pragma once

#include "export_filters.h"

#include <QByteArray>
#include <QString>

// The writers behind the export filters; each writes a complete file at `path` (a temporary
// name that the caller renames) and says why it failed in *error.
namespace zexport::writers {

using Report = zreport::PreparedReport;
using Pages = std::vector<int>;

bool pdf(const Report &report, const Pages &pages, const QString &path, QString *error);
// "BMP", "JPEG", "TIFF", "GIF": one page.
bool image(const Report &report, int page, int dpi, const char *format, const QString &path,
           QString *error);

// Byte contents of the text formats.
QByteArray text(const Report &report, const Pages &pages);
QByteArray prn(const Report &report, const Pages &pages);
QByteArray csv(const Report &report, const Pages &pages);
QByteArray html(const Report &report, const Pages &pages);
QByteArray excelXml(const Report &report, const Pages &pages);
QByteArray rtf(const Report &report, const Pages &pages);

bool xlsx(const Report &report, const Pages &pages, const QString &path, QString *error);
bool ods(const Report &report, const Pages &pages, const QString &path, QString *error);
bool odt(const Report &report, const Pages &pages, const QString &path, QString *error);
bool docx(const Report &report, const Pages &pages, const QString &path, QString *error);

} // namespace zexport::writers
