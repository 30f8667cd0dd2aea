#include "print_dialog.h"

#include "page_range_box.h"
#include "printer_properties_dialog.h"
#include "printers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPageSize>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zpreview {

namespace {

QComboBox *combo(const QString &name, const QStringList &items, int current, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    box->setCurrentIndex(current);
    return box;
}

} // namespace

PrintDialog::PrintDialog(const PrintSettings &settings, const PreviewHooks &hooks, QWidget *parent)
    : QDialog(parent), m_hooks(hooks), m_initial(settings), m_colorMode(settings.colorMode)
{
    setObjectName(QStringLiteral("printDialog"));
    setWindowTitle(QStringLiteral("Печать"));

    auto *printerBox = new QGroupBox(QStringLiteral("Принтер"), this);
    m_printer = new QComboBox(printerBox);
    m_printer->setObjectName(QStringLiteral("printerCombo"));
    m_printer->addItems(Printers::instance().names());
    m_printer->setCurrentText(Printers::instance().current());
    m_where = new QLabel(printerBox);
    m_where->setObjectName(QStringLiteral("printerWhere"));
    auto *properties = new QPushButton(QStringLiteral("Свойства..."), printerBox);
    properties->setObjectName(QStringLiteral("propertiesButton"));
    m_toFile = new QCheckBox(QStringLiteral("Печать в файл"), printerBox);
    m_toFile->setObjectName(QStringLiteral("printToFileCheck"));
    auto *printerGrid = new QGridLayout(printerBox);
    printerGrid->addWidget(m_printer, 0, 0, 1, 2);
    printerGrid->addWidget(properties, 0, 2);
    printerGrid->addWidget(new QLabel(QStringLiteral("Где:"), printerBox), 1, 0);
    printerGrid->addWidget(m_where, 1, 1);
    printerGrid->addWidget(m_toFile, 1, 2);

    m_pages = new PageRangeBox(this);
    m_pages->setRange(settings.range, settings.pageNumbers);

    auto *copiesBox = new QGroupBox(QStringLiteral("Копии"), this);
    m_copies = new QSpinBox(copiesBox);
    m_copies->setObjectName(QStringLiteral("copiesSpin"));
    m_copies->setRange(1, 999);
    m_copies->setValue(std::max(1, settings.copies));
    m_collate = new QCheckBox(QStringLiteral("Разобрать по копиям"), copiesBox);
    m_collate->setObjectName(QStringLiteral("collateCheck"));
    m_collate->setChecked(settings.collate);
    auto *copiesForm = new QFormLayout(copiesBox);
    copiesForm->addRow(QStringLiteral("Количество"), m_copies);
    copiesForm->addRow(m_collate);

    auto *modeBox = new QGroupBox(QStringLiteral("Режим печати"), this);
    m_printMode =
        combo(QStringLiteral("printModeCombo"),
              {QStringLiteral("По умолчанию"), QStringLiteral("Разрезать большие страницы"),
               QStringLiteral("Объединять маленькие страницы"), QStringLiteral("Масштабировать")},
              int(settings.printMode), modeBox);
    m_sheet = new QComboBox(modeBox);
    m_sheet->setObjectName(QStringLiteral("printOnSheetCombo"));
    listSheets(settings.printOnSheet);
    auto *modeForm = new QFormLayout(modeBox);
    modeForm->addRow(m_printMode);
    modeForm->addRow(QStringLiteral("Печатать на листе"), m_sheet);

    auto *otherBox = new QGroupBox(QStringLiteral("Прочее"), this);
    m_parity = combo(QStringLiteral("printPagesCombo"),
                     {QStringLiteral("Все страницы"), QStringLiteral("Нечетные страницы"),
                      QStringLiteral("Четные страницы")},
                     int(settings.parity), otherBox);
    m_order = combo(QStringLiteral("orderCombo"),
                    {QStringLiteral("Прямой (1-9)"), QStringLiteral("Обратный (9-1)")},
                    settings.reverse ? 1 : 0, otherBox);
    m_duplex = combo(QStringLiteral("duplexCombo"),
                     {QStringLiteral("По умолчанию"), QStringLiteral("Вертикальный"),
                      QStringLiteral("Горизонтальный"), QStringLiteral("Не использовать")},
                     int(settings.duplex), otherBox);
    auto *otherForm = new QFormLayout(otherBox);
    otherForm->addRow(QStringLiteral("Печатать"), m_parity);
    otherForm->addRow(QStringLiteral("Порядок"), m_order);
    otherForm->addRow(QStringLiteral("Дуплекс"), m_duplex);

    auto *buttons = new QDialogButtonBox(this);
    auto *ok = buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto *cancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &PrintDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PrintDialog::reject);

    auto *grid = new QGridLayout(this);
    grid->addWidget(printerBox, 0, 0, 1, 2);
    grid->addWidget(m_pages, 1, 0);
    grid->addWidget(copiesBox, 1, 1);
    grid->addWidget(modeBox, 2, 0);
    grid->addWidget(otherBox, 2, 1);
    grid->addWidget(buttons, 3, 0, 1, 2);

    connect(m_printer, &QComboBox::currentTextChanged, this, [this] {
        showPrinterPlace();
        listSheets(m_sheet->currentData().toInt());
    });
    connect(properties, &QPushButton::clicked, this, &PrintDialog::showProperties);
    showPrinterPlace();
}

void PrintDialog::showPrinterPlace()
{
    const PrinterEntry *entry = Printers::instance().find(m_printer->currentText());
    m_where->setText(entry ? entry->location : QString());
}

// The papers of the printer chosen, headed by its own paper; `paperCode` (a Windows paper
// code) stays chosen where the printer has it.
void PrintDialog::listSheets(int paperCode)
{
    m_sheet->clear();
    m_sheet->addItem(QStringLiteral("По умолчанию"), 0);
    for (const QPageSize &size : paperSizesOf(m_printer->currentText()))
        if (size.windowsId() > 0 && m_sheet->findData(size.windowsId()) < 0)
            m_sheet->addItem(size.name(), size.windowsId());
    m_sheet->setCurrentIndex(std::max(0, m_sheet->findData(paperCode)));
}

void PrintDialog::showProperties()
{
    PrinterPropertiesDialog dialog(m_printer->currentText(), m_colorMode, this);
    if (m_hooks.runDialog(dialog) == QDialog::Accepted)
        m_colorMode = dialog.colorMode();
}

void PrintDialog::accept()
{
    if (!m_pages->checkNumbers()) {
        m_hooks.message(this, QStringLiteral("Неверно указаны номера страниц"),
                        QStringLiteral("Ошибка"));
        return;
    }
    m_outputFile.clear();
    if (m_toFile->isChecked()) {
        QString path = m_hooks.saveFileName(this, QStringLiteral("Печать в файл"),
                                            QStringLiteral("Файл печати (*.prn)"), QString());
        if (path.isEmpty())
            return;
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".prn");
        m_outputFile = path;
    }
    QDialog::accept();
}

PrintSettings PrintDialog::settings() const
{
    PrintSettings s = m_initial;
    s.printer = m_printer->currentText();
    s.outputFile = m_outputFile;
    s.range = m_pages->range();
    s.pageNumbers = m_pages->numbers();
    s.copies = m_copies->value();
    s.collate = m_collate->isChecked();
    s.printMode = PrintMode(m_printMode->currentIndex());
    s.printOnSheet = m_sheet->currentData().toInt();
    s.colorMode = m_colorMode;
    s.parity = PageParity(m_parity->currentIndex());
    s.reverse = m_order->currentIndex() == 1;
    s.duplex = DuplexMode(m_duplex->currentIndex());
    return s;
}

} // namespace zpreview
