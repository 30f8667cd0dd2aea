#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

// "Печатается страница %d" with a progress bar and "Отмена", shown while pages are printed.
namespace zpreview {

class PrintProgress : public QDialog {
    Q_OBJECT
public:
    explicit PrintProgress(QWidget *parent = nullptr);

    // Shows the page being printed and lets the window handle its messages; false once
    // "Отмена" was pressed.
    bool showPage(int page);
    void setSheetCount(int count);
    // Esc and the window's close button act as "Отмена".
    void reject() override { m_cancelled = true; }

private:
    QLabel *m_text;
    QProgressBar *m_bar;
    bool m_cancelled = false;
    int m_sheets = 0;
};

} // namespace zpreview
