#pragma once

#include "preview_hooks.h"
#include "print_settings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

// The print dialog "Печать": printer, print to file, pages, copies, print mode and the rest.
namespace zpreview {

class PageRangeBox;

class PrintDialog : public QDialog {
    Q_OBJECT
public:
    PrintDialog(const PrintSettings &settings, const PreviewHooks &hooks,
                QWidget *parent = nullptr);

    // The settings as chosen; outputFile is set when "Печать в файл" is checked and a file
    // was named.
    PrintSettings settings() const;

    void accept() override;

private:
    void showPrinterPlace();
    void showProperties();
    void listSheets(int paperCode);

    PreviewHooks m_hooks;
    PrintSettings m_initial;
    QPrinter::ColorMode m_colorMode;
    QString m_outputFile;
    QComboBox *m_printer;
    QLabel *m_where;
    QCheckBox *m_toFile;
    PageRangeBox *m_pages;
    QSpinBox *m_copies;
    QCheckBox *m_collate;
    QComboBox *m_printMode, *m_sheet, *m_parity, *m_order, *m_duplex;
};

} // namespace zpreview
