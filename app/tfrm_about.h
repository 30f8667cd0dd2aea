#pragma once

#include <QDialog>

class QPushButton;

// The About window: what the program is. The first instance serves as the splash while
// the database opens, a second one as the About box of the main window.
class TfrmAbout : public QDialog {
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget *parent = nullptr);

    // Turns this window into the splash: no button, no caption, the strip that held the
    // button cut off, the busy cursor, in the centre of the desktop.
    void turnIntoSplash();

private:
    void BitBtn1Click();

    QPushButton *m_ok;
};
