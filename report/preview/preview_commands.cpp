#include "preview_commands.h"

#include "export_options_dialog.h"
#include "print_dialog.h"
#include "print_job.h"
#include "print_progress.h"
#include "printers.h"

#include "report/export/export_filters.h"
#include "report/prepared_io.h"
#include "report/report_model.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>

namespace zpreview {

void PreviewCommands::print(const zreport::PreparedReport &pages,
                            const zreport::PrintOptions &options, int currentPage,
                            const QString &jobName) const
{
    Printers &printers = Printers::instance();
    if (printers.noneInstalled()) {
        m_hooks.message(m_window, QStringLiteral("В вашей системе не установлено принтеров"),
                        QStringLiteral("Ошибка"));
        return;
    }
    const QString previous = printers.current();
    printers.chooseByOption(options.printer);
    PrintSettings settings;
    settings.printer = printers.current();
    settings.copies = options.copies;
    settings.collate = options.collate;
    settings.printOnSheet = options.printOnSheet;
    if (options.showDialog) {
        PrintDialog dialog(settings, m_hooks, m_window);
        if (m_hooks.runDialog(dialog) != QDialog::Accepted) {
            printers.setCurrent(previous);
            return;
        }
        settings = dialog.settings();
        if (settings.outputFile.isEmpty())
            printers.setCurrent(settings.printer);
    }

    PrintProgress progress(m_window);
    PrintJob job{pages, settings, currentPage, jobName, {}, {}};
    job.planned = [&progress](int sheets) { progress.setSheetCount(sheets); };
    job.progress = [&progress](int page) { return progress.showPage(page); };
    QString error;
    progress.show();
    const PrintResult result = printReport(job, &error);
    progress.hide();
    if (result == PrintResult::InvalidPrinter)
        m_hooks.message(m_window, QStringLiteral("Printer selected is not valid"),
                        QStringLiteral("Ошибка"));
    else if (result == PrintResult::Failed)
        m_hooks.message(m_window, error, QStringLiteral("Ошибка"));
}

void PreviewCommands::save(const zreport::PreparedReport &pages, QLabel &status) const
{
    QString path = m_hooks.saveFileName(m_window, QStringLiteral("Сохранить"),
                                        QStringLiteral("Готовый отчет (*.fp3)"), QString());
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().compare(QStringLiteral("fp3"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".fp3");
    status.setText(QStringLiteral("Сохраняется файл..."));
    status.repaint();
    QString error;
    const bool ok = zreport::savePreparedReport(pages, path, &error);
    status.clear();
    if (!ok)
        m_hooks.message(m_window, error, QStringLiteral("Ошибка"));
}

std::optional<zreport::PreparedReport> PreviewCommands::open(QLabel &status) const
{
    const QString path = m_hooks.openFileName(m_window, QStringLiteral("Открыть"),
                                              QStringLiteral("Готовый отчет (*.fp3)"));
    if (path.isEmpty())
        return std::nullopt;
    status.setText(QStringLiteral("Загружается файл..."));
    status.repaint();
    zreport::PreparedReport loaded;
    QString error;
    const bool ok = zreport::loadPreparedReport(path, loaded, &error);
    status.clear();
    if (!ok) {
        m_hooks.message(m_window, error, QStringLiteral("Ошибка"));
        return std::nullopt;
    }
    return loaded;
}

void PreviewCommands::exportAs(const zexport::ExportFilter &filter,
                               const zreport::PreparedReport &pages, int currentPage) const
{
    ExportOptionsDialog optionsDialog(filter.description, filter.isImage(), m_window);
    if (m_hooks.runDialog(optionsDialog) != QDialog::Accepted)
        return;
    const auto chosen = optionsDialog.pages(pages.pageCount(), currentPage);
    if (!chosen || chosen->empty()) {
        m_hooks.message(m_window, QStringLiteral("Неверно указаны номера страниц"),
                        QStringLiteral("Ошибка"));
        return;
    }
    QString path = m_hooks.saveFileName(m_window, filter.description, filter.fileFilter, QString());
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + filter.suffix;
    zexport::ExportOptions options;
    for (int n : *chosen)
        options.pages.push_back(n - 1);
    options.dpi = optionsDialog.dpi();
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = zexport::exportPages(filter.kind, pages, options, path, &error);
    QApplication::restoreOverrideCursor();
    if (!ok)
        m_hooks.message(m_window, error, QStringLiteral("Ошибка"));
}

void PreviewCommands::email(const zreport::PreparedReport &pages, const QString &title) const
{
    if (m_hooks.sendEmail && m_hooks.sendEmail(m_window, pages, title))
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    const QString path = QDir(folder).filePath(
        QStringLiteral("Zarnik-%1.pdf")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
    zexport::ExportOptions options;
    for (int i = 0; i < pages.pageCount(); ++i)
        options.pages.push_back(i);
    QString error;
    if (!zexport::exportPages(zexport::ExportKind::Pdf, pages, options, path, &error)) {
        m_hooks.message(m_window, error, QStringLiteral("Ошибка"));
        return;
    }
    const QString mailer = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (mailer.isEmpty() || !QProcess::startDetached(mailer, {QStringLiteral("--attach"), path})) {
        m_hooks.message(m_window,
                        QStringLiteral("Почтовая программа не найдена. Отчет сохранен в файл "
                                       "«%1»; приложите его к письму сами.")
                            .arg(path),
                        QStringLiteral("E-mail"));
    }
}

} // namespace zpreview
