#include "template_designer_command.h"

#include "report/designer/designer_window.h"
#include "report/preview/show_report.h"

bool storeBusinessTemplate(const QString &templateName, const QByteArray &xml, QString *error)
{
    // Waits for the table of the business's templates in the database.
    Q_UNUSED(templateName);
    Q_UNUSED(xml);
    if (error)
        *error = QStringLiteral("Хранение бланков в базе данных еще не подключено");
    return false;
}

void openTemplateDesigner(QWidget *parent, const QString &templateName,
                          const zreport::TfrxReport &report, const zreport::DataSources &sources,
                          const zpreview::PreviewHooks &previewHooks)
{
    zdesigner::DesignerServices services = zdesigner::DesignerServices::standard();
    services.save = [templateName](const QByteArray &xml, QString *error) {
        return storeBusinessTemplate(templateName, xml, error);
    };
    QWidget *designer = nullptr;
    services.preview = [&sources, &previewHooks, &designer](const zreport::TfrxReport &changed) {
        zpreview::showReport(changed, sources, previewHooks, designer);
    };
    zdesigner::DesignerWindow window(report, services, parent);
    designer = &window;
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
    window.exec();
}
