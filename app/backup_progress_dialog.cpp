#include "backup_progress_dialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace {

// The table being copied, in Russian; the engine's other lines in its own words, without its
// "gbak:" prefix.
QString progressText(const QString &line)
{
    static const QRegularExpression table(
        QStringLiteral("(writing|restoring) data for table (\\S+)"));
    if (const QRegularExpressionMatch match = table.match(line); match.hasMatch())
        return (match.captured(1) == QLatin1String("writing")
                    ? QStringLiteral("Копируется таблица %1")
                    : QStringLiteral("Восстанавливается таблица %1"))
            .arg(match.captured(2));
    QString shown = line.trimmed();
    if (shown.startsWith(QLatin1String("gbak:")))
        shown = shown.mid(5);
    return shown;
}

} // namespace

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
            // A range of 0..0 is Qt's busy bar, for work whose end nobody can foresee.
            m_bar->setRange(0, fraction < 0 ? 0 : 100);
            m_bar->setValue(int(fraction * 100));
            m_line->setText(progressText(line));
        }
        QCoreApplication::processEvents();
        return !m_cancelled;
    };
}
