#include "export_options_dialog.h"

#include "dialog_buttons.h"
#include "page_range_box.h"
#include "print_settings.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zpreview {

ExportOptionsDialog::ExportOptionsDialog(const QString &title, bool image, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("exportOptionsDialog"));
    setWindowTitle(title);
    m_pages = new PageRangeBox(this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    if (image) {
        m_dpi = new QSpinBox(this);
        m_dpi->setObjectName(QStringLiteral("resolutionSpin"));
        m_dpi->setRange(24, 600);
        m_dpi->setValue(96);
        m_dpi->setSuffix(QStringLiteral(" dpi"));
        auto *form = new QFormLayout;
        form->addRow(QStringLiteral("Разрешение"), m_dpi);
        layout->addLayout(form);
    }
    auto *buttons = okCancelButtons(this);
    layout->addWidget(buttons);
}

std::optional<std::vector<int>> ExportOptionsDialog::pages(int pageCount, int currentPage) const
{
    PrintSettings settings;
    settings.range = m_pages->range();
    settings.pageNumbers = m_pages->numbers();
    if (settings.range == PageRange::Numbers && !parsePageNumbers(settings.pageNumbers, pageCount))
        return std::nullopt;
    return pagesToPrint(settings, pageCount, currentPage);
}

int ExportOptionsDialog::dpi() const
{
    return m_dpi ? m_dpi->value() : 96;
}

} // namespace zpreview
