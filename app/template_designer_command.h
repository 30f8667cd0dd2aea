#pragma once

#include "report/preview/preview_hooks.h"
#include "report/report_model.h"
#include "report/report_rows.h"

#include <QByteArray>
#include <QString>

class QWidget;

// Stores a business's own version of a form's template, so that every computer of the office
// prints it; false with the reason in *error.
bool storeBusinessTemplate(const QString &templateName, const QByteArray &xml, QString *error);

// The designer on the template of a form being previewed, over the rows it is shown with; its
// "Просмотр" opens a preview with `previewHooks`. Returns when the designer is closed.
void openTemplateDesigner(QWidget *parent, const QString &templateName,
                          const zreport::TfrxReport &report, const zreport::DataSources &sources,
                          const zpreview::PreviewHooks &previewHooks);
