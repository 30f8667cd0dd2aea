#include "radio_group.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

RadioGroup::RadioGroup(const QString &title, const QStringList &items, int columns, QWidget *parent)
    : RadioGroup(parent)
{
    setTitle(title);
    setItems(items, columns);
}

RadioGroup::RadioGroup(QWidget *parent) : QGroupBox(parent), m_buttons(new QButtonGroup(this))
{
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(8, 2, 8, 2);
    layout->setVerticalSpacing(0);
    connect(m_buttons, &QButtonGroup::idClicked, this, [this](int index) {
        if (index == m_index)
            return;
        m_index = index;
        Q_EMIT itemClicked(index);
    });
}

void RadioGroup::setItems(const QStringList &items, int columns)
{
    for (QAbstractButton *old : m_buttons->buttons())
        delete old;
    m_index = -1;
    auto *layout = static_cast<QGridLayout *>(this->layout());
    const int rows = (int(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        m_buttons->addButton(button, i);
        layout->addWidget(button, i % rows, i / rows);
    }
}

void RadioGroup::setItemIndex(int index)
{
    m_index = index;
    if (QAbstractButton *chosen = m_buttons->button(index)) {
        chosen->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its checked button by itself.
    m_buttons->setExclusive(false);
    for (QAbstractButton *b : m_buttons->buttons())
        b->setChecked(false);
    m_buttons->setExclusive(true);
}

QRadioButton *RadioGroup::button(int index) const
{
    return static_cast<QRadioButton *>(m_buttons->button(index));
}

int RadioGroup::count() const
{
    return int(m_buttons->buttons().size());
}
