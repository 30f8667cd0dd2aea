#include "preview_hooks.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace zpreview {

PreviewHooks PreviewHooks::standard()
{
    PreviewHooks hooks;
    hooks.runDialog = [](QDialog &dialog) { return dialog.exec(); };
    hooks.message = [](QWidget *parent, const QString &text, const QString &caption) {
        QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, parent);
        box.exec();
    };
    hooks.saveFileName = [](QWidget *parent, const QString &caption, const QString &filter,
                            const QString &suggested) {
        return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
    };
    hooks.openFileName = [](QWidget *parent, const QString &caption, const QString &filter) {
        return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
    };
    return hooks;
}

} // namespace zpreview
