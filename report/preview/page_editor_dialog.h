#pragma once

#include "report/prepared_report.h"

#include <QDialog>

class QListWidget;
class QPlainTextEdit;

// "Редактировать страницу": the texts of one prepared page, listed and editable. The change is
// kept in the prepared pages (so it prints, saves and exports as edited) and is gone when the
// report is built again; the template is never touched.
namespace zpreview {

class PageEditorDialog : public QDialog {
    Q_OBJECT
public:
    PageEditorDialog(zreport::PreparedReport &report, int pageIndex, QWidget *parent = nullptr,
                     int selectObject = -1);

    // Writes the edited texts into the page and lays their lines out again.
    void apply();

private:
    void selectionChanged();
    void keepEdit();

    zreport::PreparedReport &m_report;
    int m_page;
    std::vector<int> m_objects; // object indexes of the list rows
    QStringList m_texts;
    int m_editing = -1;
    QListWidget *m_list;
    QPlainTextEdit *m_text;
};

} // namespace zpreview
