#include "print_job.h"

#include "output_file.h"
#include "page_painting.h"

#include <QPrinter>
#include <optional>

namespace zpreview {

std::vector<int> sheetsToPrint(const PrintSettings &settings, int pageCount, int currentPage)
{
    const std::vector<int> pages = pagesToPrint(settings, pageCount, currentPage);
    const int copies = std::max(1, settings.copies);
    std::vector<int> sheets;
    sheets.reserve(pages.size() * size_t(copies));
    if (settings.collate) {
        for (int c = 0; c < copies; ++c)
            sheets.insert(sheets.end(), pages.begin(), pages.end());
    } else {
        for (int page : pages)
            sheets.insert(sheets.end(), size_t(copies), page);
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
    const int pageCount = job.report.pageCount();
    const std::vector<int> sheets = sheetsToPrint(job.settings, pageCount, job.currentPage);
    std::vector<int> indexes;
    indexes.reserve(sheets.size());
    for (int n : sheets)
        indexes.push_back(n - 1);

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
    printer.setCopyCount(1);
    printer.setDuplex(qtDuplex(job.settings.duplex));

    bool cancelled = false;
    zreport::PagePainting painting;
    painting.pages = indexes;
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
