#pragma once

#include "preview_hooks.h"

#include "report/prepared_report.h"

#include <optional>

class QLabel;
class QWidget;

namespace zexport {
struct ExportFilter;
}
namespace zreport {
struct PrintOptions;
}

// The preview's commands on its pages that leave the window as it is: printing, saving,
// opening, exporting and mailing. Each asks the user through the hooks, over `window`, and
// tells there what failed.
namespace zpreview {

class PreviewCommands {
public:
    PreviewCommands(QWidget *window, const PreviewHooks &hooks) : m_window(window), m_hooks(hooks)
    {}

    // `currentPage` counts from 1; `jobName` names the job in the printing system.
    void print(const zreport::PreparedReport &pages, const zreport::PrintOptions &options,
               int currentPage, const QString &jobName) const;
    // `status` tells that the file is being written or read.
    void save(const zreport::PreparedReport &pages, QLabel &status) const;
    // The pages read from the file the user chose; none when cancelled or unreadable.
    std::optional<zreport::PreparedReport> open(QLabel &status) const;
    void exportAs(const zexport::ExportFilter &filter, const zreport::PreparedReport &pages,
                  int currentPage) const;
    // Every page sent through the hooks' mail window, or as a PDF handed to the desktop's mail
    // program when that cannot send.
    void email(const zreport::PreparedReport &pages, const QString &title) const;

private:
    QWidget *m_window;
    const PreviewHooks &m_hooks;
};

} // namespace zpreview
