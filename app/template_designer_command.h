#pragma once

#include "report/preview/preview_hooks.h"
#include "report/report_model.h"
#include "report/report_rows.h"

#include <QString>

class PromptService;
class QWidget;
class TDM;

// The designer on a form's template, over the rows it is shown with; "Сохранить" stores it as
// the business's version in the database, and "Просмотр" opens a preview with `previewHooks`.
// Returns when the designer is closed.
void openTemplateDesigner(QWidget *parent, TDM &dm, PromptService &prompts,
                          const QString &templateName, const zreport::TfrxReport &report,
                          const zreport::DataSources &sources,
                          const zpreview::PreviewHooks &previewHooks);

// The designer on the form as the business prints it now (its own version, else the built-in
// one), from the list of forms: its "Просмотр" shows it on the current document.
void openFormDesigner(QWidget *parent, TDM &dm, PromptService &prompts, const QString &templateName,
                      const zpreview::PreviewHooks &previewHooks);
