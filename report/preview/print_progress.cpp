#include "print_progress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace zpreview {

PrintProgress::PrintProgress(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("printProgress"));
    setWindowTitle(QStringLiteral("Печать"));
    // While pages are printed nothing else may change them: the other windows take no input.
    setWindowModality(Qt::ApplicationModal);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("printProgressText"));
    m_text->setMinimumWidth(240);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("printProgressBar"));
    m_bar->setRange(0, 0);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
}

void PrintProgress::setSheetCount(int count)
{
    m_sheets = count;
    m_bar->setRange(0, count);
    m_bar->setValue(0);
}

bool PrintProgress::showPage(int page)
{
    m_text->setText(QStringLiteral("Печатается страница %1").arg(page));
    if (m_sheets > 0)
        m_bar->setValue(std::min(m_bar->value() + 1, m_sheets));
    QCoreApplication::processEvents();
    return !m_cancelled;
}

} // namespace zpreview
