#pragma once

#include "report/prepared_report.h"

#include <QDialog>
#include <QPageSize>

class QComboBox;
class QDoubleSpinBox;
class QRadioButton;

// "Настройки страницы": paper size, orientation and margins of a page, applied to the current
// page only or to every page of the report.
namespace zpreview {

class PageSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit PageSettingsDialog(const zreport::PageSettings &settings, QWidget *parent = nullptr);

    zreport::PageSettings settings() const;
    bool applyToAllPages() const;

private:
    void paperChosen(int index);
    void orientationChosen();

    zreport::PageSettings m_initial;
    QList<QPageSize> m_sizes;
    QComboBox *m_paper;
    QDoubleSpinBox *m_width, *m_height;
    QComboBox *m_orientation;
    QDoubleSpinBox *m_left, *m_top, *m_right, *m_bottom;
    QRadioButton *m_current, *m_all;
};

} // namespace zpreview
