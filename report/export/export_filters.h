#pragma once

#include "report/prepared_report.h"

#include <QString>

#include <vector>

// The export formats (in the order of the preview's export menu), and writing prepared pages
// through them.
namespace zexport {

enum class ExportKind {
    Pdf,
    Html,
    Xlsx,
    ExcelXml,
    Rtf,
    Bmp,
    Jpeg,
    Tiff,
    Gif,
    Text,
    Csv,
    Email,
    Prn,
    Ods,
    Odt,
    Docx
};

struct ExportFilter {
    ExportKind kind;
    QString description; // the menu shows it followed by "..."
    QString fileFilter;  // for the file dialog
    QString suffix;      // added when the chosen name has none
    bool isImage() const;
};

// In menu order.
const std::vector<ExportFilter> &exportFilters();
const ExportFilter &exportFilter(ExportKind kind);

struct ExportOptions {
    std::vector<int> pages; // indexes into the report's pages, in order
    int dpi = 96;           // images
};

// Writes the file through a temporary one in its folder, so that a failure leaves nothing
// under `path`. Images of several pages go into PATH, BASE-2.EXT, BASE-3.EXT, ...
bool exportPages(ExportKind kind, const zreport::PreparedReport &report,
                 const ExportOptions &options, const QString &path, QString *error);

} // namespace zexport
