#include "show_report.h"

#include "preview_hooks.h"
#include "preview_window.h"

#include <QTimer>

namespace zpreview {

void showReport(const zreport::TfrxReport &report, const zreport::DataSources &sources,
                QWidget *parent)
{
    showReport(report, sources, PreviewHooks::standard(), parent);
}

void showReport(const zreport::TfrxReport &report, const zreport::DataSources &sources,
                const PreviewHooks &hooks, QWidget *parent)
{
    PreviewWindow window(report, sources, hooks, parent);
    // The run starts inside the window's own message loop, once the window is on the screen.
    QTimer::singleShot(50, &window, [&window] { window.runReport(); });
    if (report.previewOptions.maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    window.exec();
}

} // namespace zpreview
