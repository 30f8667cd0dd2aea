#pragma once

#include "prepared_report.h"
#include "print_settings.h"

#include <QString>

#include <functional>

// Printing prepared pages on a printer of the desktop (or into a print file).
namespace zpreview {

enum class PrintResult { Printed, Cancelled, InvalidPrinter, Failed };

struct PrintJob {
    const zreport::PreparedReport &report;
    PrintSettings settings;
    int currentPage = 1;  // for PageRange::Current
    QString documentName; // the job's title in the printing system
    // Called before each sheet with the page number; false stops after the current page.
    std::function<bool(int pageNumber)> progress;
};

// The sheets in printing order: every copy's pages with collation, else each page repeated.
std::vector<int> sheetsToPrint(const PrintSettings &settings, int pageCount, int currentPage);

// On settings.printer, or into settings.outputFile when it is set. *error tells why a print
// failed.
PrintResult printReport(const PrintJob &job, QString *error);

} // namespace zpreview
