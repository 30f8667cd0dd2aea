#include "print_job.h"

#include "report/output_file.h"
#include "report/page_painting.h"

#include <QPrinter>
#include <optional>

namespace zpreview {

std::vector<zreport::Sheet> sheetsToPrint(const PrintSettings &settings,
                                          const zreport::PreparedReport &report, int currentPage,
                                          const QSizeF &printerPaper, bool printerMakesCopies)
{
    std::vector<int> indexes;
    for (const int n : pagesToPrint(settings, report.pageCount(), currentPage))
        indexes.push_back(n - 1);
    QSizeF paper;
    if (settings.printOnSheet > 0)
        paper = QPageSize(QPageSize::id(settings.printOnSheet)).size(QPageSize::Millimeter);
    else if (settings.printMode != PrintMode::Default)
        paper = printerPaper;
    const std::vector<zreport::Sheet> once = planSheets(report, indexes, settings.printMode, paper);
    const int copies = std::max(1, settings.copies);
    if (copies == 1 || (!settings.collate && printerMakesCopies))
        return once;
    std::vector<zreport::Sheet> sheets;
    sheets.reserve(once.size() * size_t(copies));
    if (settings.collate) {
        for (int c = 0; c < copies; ++c)
            sheets.insert(sheets.end(), once.begin(), once.end());
    } else {
        for (const zreport::Sheet &sheet : once)
            sheets.insert(sheets.end(), size_t(copies), sheet);
    }
    return sheets;
}

namespace {

QPrinter::DuplexMode qtDuplex(DuplexMode mode)
{
    switch (mode) {
    case DuplexMode::Vertical:
        return QPrinter::DuplexLongSide;
    case DuplexMode::Horizontal:
        return QPrinter::DuplexShortSide;
    case DuplexMode::None:
        return QPrinter::DuplexNone;
    case DuplexMode::Default:
        break;
    }
    return QPrinter::DuplexAuto;
}

} // namespace

PrintResult printReport(const PrintJob &job, QString *error)
{
    QPrinter printer(QPrinter::HighResolution);
    std::optional<zreport::OutputPath> file;
    if (job.settings.outputFile.isEmpty()) {
        printer.setPrinterName(job.settings.printer);
        if (job.settings.printer.isEmpty() || !printer.isValid() ||
            printer.printerName() != job.settings.printer)
            return PrintResult::InvalidPrinter;
    } else {
        file.emplace(job.settings.outputFile);
        if (!file->open(error))
            return PrintResult::Failed;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file->writePath());
    }
    printer.setDocName(job.documentName.isEmpty() ? QStringLiteral("Zarnik") : job.documentName);
    printer.setFullPage(true);
    printer.setDuplex(qtDuplex(job.settings.duplex));
    printer.setColorMode(job.settings.colorMode);
    const bool printerMakesCopies = printer.supportsMultipleCopies();
    const bool uncollatedByPrinter = printerMakesCopies && !job.settings.collate;
    printer.setCopyCount(uncollatedByPrinter ? std::max(1, job.settings.copies) : 1);
    printer.setCollateCopies(false);

    zreport::PagePainting painting;
    painting.sheets = sheetsToPrint(job.settings, job.report, job.currentPage,
                                    printer.pageLayout().fullRect(QPageLayout::Millimeter).size(),
                                    printerMakesCopies);
    if (job.planned)
        job.planned(int(painting.sheets.size()));

    bool cancelled = false;
    painting.beforePage = [&](int, int pageIndex) {
        if (job.progress && !job.progress(pageIndex + 1)) {
            cancelled = true;
            return false;
        }
        return true;
    };
    const bool painted = zreport::paintPreparedPages(job.report, printer, painting);
    if (!painted && !cancelled) {
        if (!file)
            return PrintResult::InvalidPrinter;
        if (error)
            *error = zreport::cannotWriteMessage(job.settings.outputFile);
        return PrintResult::Failed;
    }
    if (file && !file->commit(error))
        return PrintResult::Failed;
    return cancelled ? PrintResult::Cancelled : PrintResult::Printed;
}

} // namespace zpreview
