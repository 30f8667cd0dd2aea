#include "date_edit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>

DateEdit::DateEdit(QWidget *parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    lineEdit()->installEventFilter(this);
}

bool DateEdit::focusNextPrevChild(bool next)
{
    // The parts of the date are not stops of their own: Tab leaves the field.
    return QWidget::focusNextPrevChild(next);
}

void DateEdit::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_F4 && event->modifiers() == Qt::NoModifier) ||
        (event->key() == Qt::Key_Down && event->modifiers() == Qt::AltModifier)) {
        // The calendar opens on a press of its button; the button is where the style
        // puts the arrow of an editable combo box.
        QStyleOptionComboBox option;
        option.initFrom(this);
        option.editable = true;
        option.subControls = QStyle::SC_All;
        const QRect button =
            style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(button.center()),
                          mapToGlobal(QPointF(button.center())), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        mousePressEvent(&press);
        return;
    }
    QDateEdit::keyPressEvent(event);
}

bool DateEdit::eventFilter(QObject *watched, QEvent *event)
{
    // A click (not a drag) into the text marks the part it landed on, so that what is typed
    // next replaces it rather than being squeezed between its digits.
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
        !lineEdit()->hasSelectedText() && currentSection() != NoSection)
        setSelectedSection(currentSection());
    return QDateEdit::eventFilter(watched, event);
}
