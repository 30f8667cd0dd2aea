#pragma once

#include "sheet_plan.h"

#include <QPrinter>
#include <QString>

#include <optional>
#include <vector>

// What one print is asked to do: the template's print options as the print dialog changed
// them for this print only.
namespace zpreview {

enum class PageRange { All, Current, Numbers };
enum class PageParity { All, Odd, Even };
enum class DuplexMode { Default, Vertical, Horizontal, None };

struct PrintSettings {
    QString printer;
    QString outputFile; // "Печать в файл": the pages go into this file instead
    PageRange range = PageRange::All;
    QString pageNumbers; // for PageRange::Numbers, e.g. "1,3,5-12"
    int copies = 1;
    bool collate = true;
    PrintMode printMode = PrintMode::Default;
    int printOnSheet = 0; // the sheet's paper by its Windows code; 0: the printer's own
    PageParity parity = PageParity::All;
    bool reverse = false;
    DuplexMode duplex = DuplexMode::Default;
    QPrinter::ColorMode colorMode = QPrinter::Color; // "Свойства...": in colour or grey
};

// Page numbers (from 1) of "1,3,5-12"; blanks are ignored, numbers beyond the last page are
// dropped, an open range "5-" runs to the last page. Empty optional when the text is not such
// a list.
std::optional<std::vector<int>> parsePageNumbers(const QString &text, int pageCount);

// The page numbers (from 1) of one copy in printing order.
std::vector<int> pagesToPrint(const PrintSettings &settings, int pageCount, int currentPage);

} // namespace zpreview
