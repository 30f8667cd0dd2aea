#pragma once

#include "backup/database_backup.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The engine's progress while it backs up or restores, with "Отмена". The work runs in the
// caller; the handler keeps the window answering between the engine's lines.
class BackupProgressDialog : public QDialog {
    Q_OBJECT

public:
    BackupProgressDialog(const QString &title, QWidget *parent);

    // Shows the window and returns the handler to give the work; it reports false once the
    // user pressed "Отмена".
    zbackup::ProgressHandler handler();
    bool cancelled() const { return m_cancelled; }

private:
    void btnCancelClick();

    QLabel *m_line;
    QProgressBar *m_bar;
    QPushButton *m_cancel;
    bool m_cancelled = false;
};
