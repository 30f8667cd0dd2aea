#include "export_options_dialog.h"

#include "print_settings.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zpreview {

ExportOptionsDialog::ExportOptionsDialog(const QString &title, bool image, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("exportOptionsDialog"));
    setWindowTitle(title);
    auto *pagesBox = new QGroupBox(QStringLiteral("Страницы"), this);
    m_all = new QRadioButton(QStringLiteral("Все"), pagesBox);
    m_all->setObjectName(QStringLiteral("allPagesRadio"));
    m_all->setChecked(true);
    m_current = new QRadioButton(QStringLiteral("Текущая"), pagesBox);
    m_current->setObjectName(QStringLiteral("currentPageRadio"));
    m_numbers = new QRadioButton(QStringLiteral("Номера:"), pagesBox);
    m_numbers->setObjectName(QStringLiteral("pageNumbersRadio"));
    m_pageNumbers = new QLineEdit(pagesBox);
    m_pageNumbers->setObjectName(QStringLiteral("pageNumbersEdit"));
    connect(m_pageNumbers, &QLineEdit::textEdited, this, [this] { m_numbers->setChecked(true); });
    auto *hint = new QLabel(QStringLiteral("Введите номера и/или диапазоны страниц, разделенные "
                                           "запятыми. Например, 1,3,5-12"),
                            pagesBox);
    hint->setWordWrap(true);
    auto *grid = new QGridLayout(pagesBox);
    grid->addWidget(m_all, 0, 0);
    grid->addWidget(m_current, 1, 0);
    grid->addWidget(m_numbers, 2, 0);
    grid->addWidget(m_pageNumbers, 2, 1);
    grid->addWidget(hint, 3, 0, 1, 2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pagesBox);
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
    auto *buttons = new QDialogButtonBox(this);
    auto *ok = buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::optional<std::vector<int>> ExportOptionsDialog::pages(int pageCount, int currentPage) const
{
    PrintSettings settings;
    settings.range = m_current->isChecked()   ? PageRange::Current
                     : m_numbers->isChecked() ? PageRange::Numbers
                                              : PageRange::All;
    settings.pageNumbers = m_pageNumbers->text();
    if (settings.range == PageRange::Numbers && !parsePageNumbers(settings.pageNumbers, pageCount))
        return std::nullopt;
    return pagesToPrint(settings, pageCount, currentPage);
}

int ExportOptionsDialog::dpi() const
{
    return m_dpi ? m_dpi->value() : 96;
}

} // namespace zpreview
