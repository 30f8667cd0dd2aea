#pragma once

#include <QLocale>

namespace zreport {

// The conventions the printed forms were drawn for: Russian as written in Kazakhstan, dates
// dd.MM.yyyy, the decimal comma. A form reads the same whatever language the desktop speaks;
// only the windows follow the desktop.
QLocale formLocale();

} // namespace zreport
