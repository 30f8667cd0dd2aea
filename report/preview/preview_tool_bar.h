#pragma once

#include <QStringList>
#include <QToolBar>

class QComboBox;
class QLineEdit;
class QMenu;

// The preview's tool bar: its buttons, the zoom box and the page number, shown as the report's
// preview options ask. The window connects the buttons to its commands.
namespace zpreview {

class PreviewToolBar : public QToolBar {
    Q_OBJECT
public:
    // `allowEdit`: whether the report lets its pages be edited.
    PreviewToolBar(bool allowEdit, QWidget *parent);

    // Shows the buttons named in the report's preview options ("pbPrint", "pbZoom", ...).
    void showButtonsOf(const QStringList &buttons);
    // While the pages are built, the commands on them wait.
    void setRunning(bool running);

    QAction *print, *open, *save, *exportAction, *pdf, *email, *find, *zoomIn, *zoomOut,
        *fullScreen, *outline, *thumbnails, *pageSetup, *edit, *first, *prior, *next, *last, *close;
    QMenu *exportMenu;
    QComboBox *zoomCombo;
    QLineEdit *pageEdit;

signals:
    // An item of the export menu, by its index in zexport::exportFilters().
    void exportChosen(int filterIndex);

private:
    QAction *addButton(const char *name, const QString &hint, const QIcon &icon);

    bool m_allowEdit;
    QAction *m_zoomComboAction, *m_pageEditAction, *m_findSeparator, *m_fullScreenSeparator,
        *m_editSeparator;
};

} // namespace zpreview
