#include "template_designer_command.h"

#include "printing/form_template.h"
#include "printing/print_job.h"
#include "report/designer/designer_window.h"
#include "report/preview/show_report.h"
#include "ui/prompt_service.h"

#include "data/db_error.h"

void openTemplateDesigner(QWidget *parent, TDM &dm, PromptService &prompts,
                          const QString &templateName, const zreport::TfrxReport &report,
                          const zreport::DataSources &sources,
                          const zpreview::PreviewHooks &previewHooks)
{
    zdesigner::DesignerServices services = zdesigner::DesignerServices::standard();
    services.save = [&dm, templateName](const QByteArray &xml, QString *error) {
        const QString problem = storeFormTemplate(dm, templateName, xml);
        if (error)
            *error = problem;
        return problem.isEmpty();
    };
    services.message = [&prompts](QWidget *parent, const QString &text) {
        prompts.error(parent, text, QStringLiteral("Дизайнер"));
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

void openFormDesigner(QWidget *parent, TDM &dm, PromptService &prompts, const QString &templateName,
                      const zpreview::PreviewHooks &previewHooks)
{
    try {
        const FormTemplate loaded = loadFormTemplate(dm, templateName);
        if (!loaded.report) {
            prompts.error(parent, loaded.error, QStringLiteral("Бланки документов"));
            return;
        }
        if (!loaded.warning.isEmpty())
            prompts.inform(parent, loaded.warning);
        const ReportSources sources(dm);
        openTemplateDesigner(parent, dm, prompts, templateName, *loaded.report, sources.sources(),
                             previewHooks);
    } catch (const DbError &e) {
        prompts.error(parent, e.message(), QStringLiteral("Бланки документов"));
    }
}
