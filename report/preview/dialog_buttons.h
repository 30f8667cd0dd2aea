#pragma once

class QDialog;
class QDialogButtonBox;

namespace zpreview {

// The "ОК" (the default button, okButton) and "Отмена" (cancelButton) of the preview's
// dialogs, wired to the dialog's accept and reject; the caller places the box.
QDialogButtonBox *okCancelButtons(QDialog *dialog);

} // namespace zpreview
