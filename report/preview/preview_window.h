#pragma once

#include "page_view.h"
#include "preview_commands.h"
#include "preview_hooks.h"
#include "print_settings.h"

#include "report/report_engine.h"
#include "report/report_model.h"
#include "report/report_rows.h"

#include <QDialog>
#include <QElapsedTimer>

#include <memory>
#include <optional>

class QLabel;
class QTreeWidget;
class QStatusBar;

// The print preview window "Предварительный просмотр": builds the report's pages in its own
// message loop and lets the user page, zoom, find, print, save, open and export them.
namespace zpreview {

class PreviewToolBar;

class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    PreviewWindow(const zreport::TfrxReport &report, const zreport::DataSources &sources,
                  PreviewHooks hooks, QWidget *parent = nullptr);
    ~PreviewWindow() override;

    // Builds the pages from the start (the window's timer calls it once it is shown).
    void runReport();
    bool isRunning() const { return m_running; }

    const zreport::PreparedReport &prepared() const;
    PageView *pageView() const { return m_view; }
    int currentPage() const { return m_view->currentPage(); }

    // Commands of the toolbar, menu and keys.
    void print();
    void openFile();
    void saveFile();
    void exportWith(int filterIndex);
    void find();
    void findNext();
    void pageSettings();
    void editPage();
    void toggleFullScreen();
    void closeOrCancel();

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void connectToolBar();
    void pickObject(int page, QPointF unitsInPage);
    void setRunning(bool running);
    void onProgress(int pagesSoFar);
    void showPages(int count);
    void updateStatus();
    void zoomChosen(const QString &text);
    void showZoom();
    void emailReport();
    bool searchFrom(int page, int object);

    const zreport::TfrxReport &m_report;
    zreport::DataSources m_sources;
    PreviewHooks m_hooks;
    PreviewCommands m_commands{this, m_hooks};
    std::unique_ptr<zreport::ReportEngine> m_engine;
    zreport::PreparedReport m_empty;

    bool m_running = false;
    int m_finished = 0;
    int m_shown = 0;
    int m_refreshEvery = 0;
    QElapsedTimer m_sinceFirstPage;
    QElapsedTimer m_sinceEvents;

    QString m_searchText;
    bool m_caseSensitive = false;
    int m_foundPage = 0; // from 1; 0 before a find
    int m_foundObject = -1;

    // The paper every page is laid out on since "Применить ко всем страницам"; the template
    // itself is never changed.
    std::optional<zreport::PageSettings> m_pageSettings;

    PreviewToolBar *m_toolBar;
    PageView *m_view;
    PageView *m_thumbnails;
    QTreeWidget *m_outline;
    QStatusBar *m_statusBar;
    QLabel *m_pagePanel, *m_infoPanel, *m_thirdPanel;
    int m_pickedPage = 0; // the object last clicked on, which the page editor starts with
    int m_pickedObject = -1;
    bool m_fullScreenOn = false;
};

} // namespace zpreview
