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
    // Without items until setItems; the way a Designer form makes it.
    explicit RadioGroup(QWidget *parent = nullptr);

    // Replaces the items by these, none selected.
    void setItems(const QStringList &items, int columns = 1);

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
