#pragma once

#include "design_document.h"

#include <QDialog>
#include <QMessageBox>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QComboBox;
class QToolBar;

// The template designer "frmDesigner": the page of a form as it prints, its objects moved,
// sized, lined up, added and deleted with the mouse, the keys and the commands, their
// properties in a panel beside it; every change can be undone. "Сохранить" writes the template
// and hands it to whoever stores it; "Просмотр" shows the form as changed, unsaved.
namespace zdesigner {

enum class Arrangement;
class DesignView;
class PropertyPanel;

struct DesignerServices {
    // Stores the written template; false with the reason in *error.
    std::function<bool(const QByteArray &xml, QString *error)> save;
    // Shows the form as it is now on the current document.
    std::function<void(const zreport::TfrxReport &report)> preview;
    // A question with Yes, No and Cancel; the button chosen.
    std::function<QMessageBox::StandardButton(QWidget *parent, const QString &question)> ask;
    // A message with an OK button.
    std::function<void(QWidget *parent, const QString &text)> message;

    // The message boxes of the desktop; no save and no preview.
    static DesignerServices standard();
};

class DesignerWindow : public QDialog {
    Q_OBJECT
public:
    // Designs a copy of `report`; the original is never changed.
    DesignerWindow(const zreport::TfrxReport &report, DesignerServices services,
                   QWidget *parent = nullptr);
    ~DesignerWindow() override;

    DesignDocument &document() { return *m_document; }
    DesignView *view() const { return m_view; }
    bool isModified() const;

    bool save();
    void showPreview();
    void addObject(std::unique_ptr<zreport::TfrxView> view);
    void deleteSelected();
    void copySelected();
    void paste();

    // Closing asks about unsaved changes first.
    void reject() override;

private:
    QAction *addAction(QToolBar *bar, const char *objectName, const QString &text,
                       const QKeySequence &shortcut = {});
    void buildActions(QToolBar *bar, QToolBar *arrangeBar);
    void arrange(Arrangement arrangement);
    void updateActions();
    void updateTitle();
    // Asks about unsaved changes; true when the window may close.
    bool mayClose();

    DesignerServices m_services;
    std::unique_ptr<DesignDocument> m_document;
    DesignView *m_view;
    PropertyPanel *m_panel;
    QComboBox *m_zoom;
    std::vector<std::unique_ptr<zreport::TfrxView>> m_clipboard;
    QAction *m_undo = nullptr, *m_redo = nullptr, *m_delete = nullptr, *m_copy = nullptr,
            *m_paste = nullptr;
    std::vector<QAction *> m_arrangeActions;
};

} // namespace zdesigner
