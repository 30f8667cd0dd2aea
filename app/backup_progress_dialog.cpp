#include "backup_progress_dialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

BackupProgressDialog::BackupProgressDialog(const QString &title, QWidget *parent)
    : QDialog(parent), m_line(new QLabel(this)), m_bar(new QProgressBar(this)),
      m_cancel(new QPushButton(QStringLiteral("Отмена"), this))
{
    setObjectName(QStringLiteral("frmBackupProgress"));
    setWindowTitle(title);
    setModal(true);
    m_line->setObjectName(QStringLiteral("lblLine"));
    m_line->setMinimumWidth(420);
    m_bar->setObjectName(QStringLiteral("pbProgress"));
    m_bar->setRange(0, 100);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_line);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
    connect(m_cancel, &QPushButton::clicked, this, &BackupProgressDialog::btnCancelClick);
}

void BackupProgressDialog::btnCancelClick()
{
    m_cancelled = true;
    m_cancel->setEnabled(false);
    m_line->setText(QStringLiteral("Отмена…"));
}

zbackup::ProgressHandler BackupProgressDialog::handler()
{
    show();
    QCoreApplication::processEvents();
    return [this](double fraction, const QString &line) {
        if (!m_cancelled) {
            m_bar->setValue(int(fraction * 100));
            // The engine's own words, without its "gbak:" prefix.
            QString shown = line.trimmed();
            if (const qsizetype colon = shown.indexOf(u':'); colon >= 0 && colon < 8)
                shown = shown.mid(colon + 1);
            m_line->setText(shown);
        }
        QCoreApplication::processEvents();
        return !m_cancelled;
    };
}
