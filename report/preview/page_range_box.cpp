#include "page_range_box.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace zpreview {

PageRangeBox::PageRangeBox(QWidget *parent) : QGroupBox(QStringLiteral("Страницы"), parent)
{
    m_all = new QRadioButton(QStringLiteral("Все"), this);
    m_all->setObjectName(QStringLiteral("allPagesRadio"));
    m_all->setChecked(true);
    m_current = new QRadioButton(QStringLiteral("Текущая"), this);
    m_current->setObjectName(QStringLiteral("currentPageRadio"));
    m_numbers = new QRadioButton(QStringLiteral("Номера:"), this);
    m_numbers->setObjectName(QStringLiteral("pageNumbersRadio"));
    m_pageNumbers = new QLineEdit(this);
    m_pageNumbers->setObjectName(QStringLiteral("pageNumbersEdit"));
    auto *hint = new QLabel(QStringLiteral("Введите номера и/или диапазоны страниц, разделенные "
                                           "запятыми. Например, 1,3,5-12"),
                            this);
    hint->setWordWrap(true);
    auto *grid = new QGridLayout(this);
    grid->addWidget(m_all, 0, 0);
    grid->addWidget(m_current, 1, 0);
    grid->addWidget(m_numbers, 2, 0);
    grid->addWidget(m_pageNumbers, 2, 1);
    grid->addWidget(hint, 3, 0, 1, 2);
    connect(m_pageNumbers, &QLineEdit::textEdited, this, [this] { m_numbers->setChecked(true); });
}

void PageRangeBox::setRange(PageRange range, const QString &numbers)
{
    m_pageNumbers->setText(numbers);
    (range == PageRange::Current   ? m_current
     : range == PageRange::Numbers ? m_numbers
                                   : m_all)
        ->setChecked(true);
}

PageRange PageRangeBox::range() const
{
    return m_current->isChecked()   ? PageRange::Current
           : m_numbers->isChecked() ? PageRange::Numbers
                                    : PageRange::All;
}

QString PageRangeBox::numbers() const
{
    return m_pageNumbers->text();
}

bool PageRangeBox::checkNumbers()
{
    // The syntax alone: numbers beyond the last page are simply left out.
    if (range() != PageRange::Numbers || parsePageNumbers(numbers(), 1))
        return true;
    m_pageNumbers->setFocus();
    return false;
}

} // namespace zpreview
