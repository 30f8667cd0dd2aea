#pragma once

#include <QDialog>

#include <optional>
#include <vector>

class QSpinBox;

// The options of one export: which pages ("Текущая" starts as the preview's current page) and,
// for images, the resolution.
namespace zpreview {

class PageRangeBox;

class ExportOptionsDialog : public QDialog {
    Q_OBJECT
public:
    ExportOptionsDialog(const QString &title, bool image, QWidget *parent = nullptr);

    // Page numbers (from 1) to export; empty optional when the typed numbers are not valid.
    std::optional<std::vector<int>> pages(int pageCount, int currentPage) const;
    int dpi() const;

private:
    PageRangeBox *m_pages;
    QSpinBox *m_dpi = nullptr;
};

} // namespace zpreview
