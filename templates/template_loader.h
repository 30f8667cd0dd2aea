#pragma once

#include "report/report_model.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class QIODevice;

// Report templates stored as XML: one element per object, named by its class, whose
// attributes are the stored properties in the order they are applied (see README.md beside).
namespace ztemplates {

// nullptr with "file:line:column: reason" in *error when the file cannot be used.
std::unique_ptr<zreport::TfrxReport> loadTemplate(QIODevice &device, const QString &fileName,
                                                  QString *error);
std::unique_ptr<zreport::TfrxReport> loadTemplateFile(const QString &path, QString *error);

// The templates built into the program, by name ("repSchet", "repKNP", ...).
QStringList builtinTemplateNames();
std::unique_ptr<zreport::TfrxReport> loadBuiltinTemplate(const QString &name, QString *error);
// The built-in template's file as it is; a null QByteArray for a name that is not built in.
QByteArray builtinTemplateBody(const QString &name);

} // namespace ztemplates
