#pragma once

#include "print_settings.h"
#include "report/prepared_report.h"

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
    // Called once the number of sheets is known.
    std::function<void(int sheetCount)> planned;
    // Called before each sheet with the number of its first page; false stops after the
    // current sheet.
    std::function<bool(int pageNumber)> progress;
};

// The sheets in printing order: one copy's pages on their sheets, all of them again for each
// copy when collated, else each sheet repeated, unless the printer makes the uncollated
// copies itself. `printerPaper` is the sheet of "Печатать на листе" "По умолчанию".
std::vector<zreport::Sheet> sheetsToPrint(const PrintSettings &settings,
                                          const zreport::PreparedReport &report, int currentPage,
                                          const QSizeF &printerPaper, bool printerMakesCopies);

// On settings.printer, or into settings.outputFile when it is set. *error tells why a print
// failed.
PrintResult printReport(const PrintJob &job, QString *error);

} // namespace zpreview
