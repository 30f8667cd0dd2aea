#pragma once

#include <QDialog>
#include <QPrinter>

class QRadioButton;

// "Свойства" of one printer: what the printer itself is asked to do with the job, so far its
// colour mode. Only the modes the printer reports are offered.
namespace zpreview {

class PrinterPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    PrinterPropertiesDialog(const QString &printer, QPrinter::ColorMode mode,
                            QWidget *parent = nullptr);
    QPrinter::ColorMode colorMode() const;

private:
    QRadioButton *m_color, *m_gray;
};

} // namespace zpreview
