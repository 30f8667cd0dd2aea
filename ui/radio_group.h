#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

// A framed group of radio buttons in one or more columns with one selected item.
class RadioGroup : public QGroupBox {
    Q_OBJECT

public:
    RadioGroup(const QString &title, const QStringList &items, int columns = 1,
               QWidget *parent = nullptr);

    // The selected item, or -1 when none is.
    int itemIndex() const { return m_index; }
    // Selects an item (-1: none) without reporting a click.
    void setItemIndex(int index);
    QRadioButton *button(int index) const;
    int count() const;

Q_SIGNALS:
    // The user selected another item.
    void itemClicked(int index);

private:
    QButtonGroup *m_buttons;
    int m_index = -1;
};
