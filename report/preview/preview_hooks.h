#pragma once

#include "report/report_model.h"
#include "report/report_rows.h"

#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace zreport {
class PreparedReport;
}

// What the preview asks of the user besides its own window: child dialogs, message boxes and
// file names. The program uses the standard ones; a test answers in place of the user.
namespace zpreview {

struct PreviewHooks {
    // Runs a child dialog modally; QDialog::Accepted or Rejected.
    std::function<int(QDialog &dialog)> runDialog;
    // A message box with an OK button.
    std::function<void(QWidget *parent, const QString &text, const QString &caption)> message;
    // File names; empty when the user cancelled. `filter` is in Qt's "Text (*.ext)" form.
    std::function<QString(QWidget *parent, const QString &caption, const QString &filter,
                          const QString &suggested)>
        saveFileName;
    std::function<QString(QWidget *parent, const QString &caption, const QString &filter)>
        openFileName;
    // The edit command: opens the template of the form shown, by its name, with the rows the
    // form is shown over (for showing the changed form). Unset: the command edits the text of
    // the current page.
    std::function<void(QWidget *parent, const QString &templateName,
                       const zreport::TfrxReport &report, const zreport::DataSources &sources)>
        editTemplate;

    // Sends the pages, titled as their print job, by e-mail in a window of the program's own;
    // false when it cannot (no mail server is set up), and the pages go to the desktop's mail
    // program as a PDF. None: always the desktop's.
    std::function<bool(QWidget *parent, const zreport::PreparedReport &pages, const QString &title)>
        sendEmail;

    static PreviewHooks standard();
};

} // namespace zpreview
