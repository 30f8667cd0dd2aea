#pragma once

#include <QDateEdit>

// A date field as desktop users know it: one Tab stop for the whole date, a click marks
// the day, month or year under the mouse so that typing replaces it, and the calendar
// drops down from the button at the right (or with Alt+Down and F4).
// Windows built in Designer promote their QDateEdit to this class (header date_edit.h).
class DateEdit : public QDateEdit {
    Q_OBJECT

public:
    explicit DateEdit(QWidget *parent = nullptr);

protected:
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};
