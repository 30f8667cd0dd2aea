#include "printer_properties_dialog.h"

#include "dialog_buttons.h"
#include "printers.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zpreview {

PrinterPropertiesDialog::PrinterPropertiesDialog(const QString &printer, QPrinter::ColorMode mode,
                                                 QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("printerPropertiesDialog"));
    setWindowTitle(QStringLiteral("Свойства"));

    auto *colorBox = new QGroupBox(QStringLiteral("Цвет"), this);
    m_color = new QRadioButton(QStringLiteral("Цветная"), colorBox);
    m_color->setObjectName(QStringLiteral("colorRadio"));
    m_gray = new QRadioButton(QStringLiteral("Черно-белая"), colorBox);
    m_gray->setObjectName(QStringLiteral("grayScaleRadio"));
    auto *colorLayout = new QVBoxLayout(colorBox);
    colorLayout->addWidget(m_color);
    colorLayout->addWidget(m_gray);

    // A printer that is not installed (the virtual one, a print file) takes either.
    const QList<QPrinter::ColorMode> supported =
        Printers::instance().noneInstalled()
            ? QList<QPrinter::ColorMode>()
            : QPrinterInfo::printerInfo(printer).supportedColorModes();
    if (!supported.isEmpty()) {
        m_color->setEnabled(supported.contains(QPrinter::Color));
        m_gray->setEnabled(supported.contains(QPrinter::GrayScale));
    }
    const bool gray = mode == QPrinter::GrayScale || !m_color->isEnabled();
    (gray ? m_gray : m_color)->setChecked(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(printer, this));
    layout->addWidget(colorBox);
    layout->addWidget(okCancelButtons(this));
}

QPrinter::ColorMode PrinterPropertiesDialog::colorMode() const
{
    return m_gray->isChecked() ? QPrinter::GrayScale : QPrinter::Color;
}

} // namespace zpreview
