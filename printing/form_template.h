#pragma once

#include "report/report_model.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class TDM;

// The template a form prints with: the business's own version kept in the database when there
// is one and it loads, else the built-in one.
struct FormTemplate {
    std::unique_ptr<zreport::TfrxReport> report; // null when not even the built-in one loads
    QString error;                               // why there is no report
    // A stored version that does not load, which the built-in one stands in for: what to tell
    // the user once, naming the form. Empty when the form is the business's or never changed.
    QString warning;
};

// Tells the user a FormTemplate's warning, before the form is shown.
using TemplateWarning = std::function<void(const QString &warning)>;

// Read at each print, so that a version saved on another computer prints at the next print
// here. Throws DbError when the database cannot be read.
FormTemplate loadFormTemplate(TDM &dm, const QString &name);

// The template name's file as the business prints it: its stored version, else the built-in
// one; *own tells which. Throws DbError when the database cannot be read.
QByteArray formTemplateBody(TDM &dm, const QString &name, bool *own = nullptr);

// Why body cannot be stored as a business's template: too large to keep, or the reader's
// "fileName:line:column: reason". Empty when it can.
QString templateBodyProblem(const QByteArray &body, const QString &fileName);

// Stores body as the business's version of name, in a transaction of its own, so that every
// computer prints it from its next print. Gives why it could not (a body that cannot be one, a
// role that may not change the forms), or an empty text.
QString storeFormTemplate(TDM &dm, const QString &name, const QByteArray &body);

// The file at path, read to be stored as a business's template: nullopt, with why in *problem,
// when it cannot be read or stored (see templateBodyProblem).
std::optional<QByteArray> readTemplateFile(const QString &path, QString *problem);
