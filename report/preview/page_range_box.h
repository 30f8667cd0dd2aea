#pragma once

#include "print_settings.h"

#include <QGroupBox>

class QLineEdit;
class QRadioButton;

// "Страницы" of the print and export dialogs: "Все", "Текущая" or "Номера:" with its hint.
namespace zpreview {

class PageRangeBox : public QGroupBox {
    Q_OBJECT
public:
    explicit PageRangeBox(QWidget *parent = nullptr);

    void setRange(PageRange range, const QString &numbers);
    PageRange range() const;
    QString numbers() const;
    // False (and the focus in the field) when "Номера:" holds no list of pages.
    bool checkNumbers();

private:
    QRadioButton *m_all, *m_current, *m_numbers;
    QLineEdit *m_pageNumbers;
};

} // namespace zpreview
