#include "preview_window.h"

#include "find_dialog.h"
#include "page_editor_dialog.h"
#include "page_settings_dialog.h"
#include "preview_tool_bar.h"

#include "report/export/export_filters.h"
#include "report/text_search.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace zpreview {

namespace {

constexpr double kThumbnailZoom = 0.1;

} // namespace

PreviewWindow::PreviewWindow(const zreport::TfrxReport &report, const zreport::DataSources &sources,
                             PreviewHooks hooks, QWidget *parent)
    : QDialog(parent), m_report(report), m_sources(sources), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("previewWindow"));
    setWindowTitle(QStringLiteral("Предварительный просмотр"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setModal(report.previewOptions.modal);

    m_toolBar = new PreviewToolBar(report.previewOptions.allowEdit, this);

    m_view = new PageView(this);
    m_view->setObjectName(QStringLiteral("pageView"));
    m_thumbnails = new PageView(this);
    m_thumbnails->setObjectName(QStringLiteral("thumbnailView"));
    m_thumbnails->setMinimumZoom(kThumbnailZoom);
    m_thumbnails->setZoom(kThumbnailZoom);
    m_thumbnails->setVisible(false);
    m_outline = new QTreeWidget(this);
    m_outline->setObjectName(QStringLiteral("outlineTree"));
    m_outline->setHeaderHidden(true);
    m_outline->setVisible(false);
    auto *splitter = new QSplitter(this);
    splitter->addWidget(m_outline);
    splitter->addWidget(m_thumbnails);
    splitter->addWidget(m_view);
    splitter->setStretchFactor(2, 1);
    splitter->setSizes({120, 160, 800});

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("statusBar"));
    m_statusBar->setSizeGripEnabled(false);
    m_pagePanel = new QLabel(this);
    m_pagePanel->setObjectName(QStringLiteral("pageStatus"));
    m_pagePanel->setFixedWidth(200);
    m_infoPanel = new QLabel(this);
    m_infoPanel->setObjectName(QStringLiteral("infoStatus"));
    m_thirdPanel = new QLabel(this);
    m_thirdPanel->setObjectName(QStringLiteral("thirdStatus"));
    m_statusBar->addWidget(m_pagePanel);
    m_statusBar->addWidget(m_infoPanel, 1);
    m_statusBar->addWidget(m_thirdPanel, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_statusBar);

    m_toolBar->showButtonsOf(report.previewOptions.buttons);
    connectToolBar();

    connect(m_view, &PageView::currentPageChanged, this, &PreviewWindow::updateStatus);
    // The thumbnails frame the page that is current in the page area.
    connect(m_view, &PageView::currentPageChanged, m_thumbnails, &PageView::goToPage);
    connect(m_view, &PageView::zoomChanged, this, &PreviewWindow::showZoom);
    // Ctrl+P, Ctrl+S, Ctrl+O and Ctrl+F act only when their buttons are shown.
    const auto whenShown = [this](QAction *action, void (PreviewWindow::*command)()) {
        return [this, action, command] {
            if (action->isVisible() && action->isEnabled())
                (this->*command)();
        };
    };
    connect(m_view, &PageView::printRequested, this,
            whenShown(m_toolBar->print, &PreviewWindow::print));
    connect(m_view, &PageView::saveRequested, this,
            whenShown(m_toolBar->save, &PreviewWindow::saveFile));
    connect(m_view, &PageView::openRequested, this,
            whenShown(m_toolBar->open, &PreviewWindow::openFile));
    connect(m_view, &PageView::findRequested, this,
            whenShown(m_toolBar->find, &PreviewWindow::find));
    connect(m_view, &PageView::pageClicked, this, &PreviewWindow::pickObject);
    connect(m_view, &PageView::findNextRequested, this, &PreviewWindow::findNext);
    connect(m_view, &PageView::fullScreenToggled, this, &PreviewWindow::toggleFullScreen);
    connect(m_thumbnails, &PageView::pageClicked, this,
            [this](int page, QPointF) { m_view->goToPage(page); });
    auto *fullScreenKey = new QShortcut(QKeySequence(Qt::Key_F11), this);
    connect(fullScreenKey, &QShortcut::activated, this, &PreviewWindow::toggleFullScreen);

    m_view->setReport(&m_empty, 0);
    m_view->setZoom(report.previewOptions.zoom);
    if (report.previewOptions.zoomMode == QLatin1String("zmWholePage"))
        m_view->setZoomMode(PageView::ZoomMode::WholePage);
    else if (report.previewOptions.zoomMode == QLatin1String("zmPageWidth"))
        m_view->setZoomMode(PageView::ZoomMode::PageWidth);
    updateStatus();
    resize(1000, 760);
}

PreviewWindow::~PreviewWindow() = default;

const zreport::PreparedReport &PreviewWindow::prepared() const
{
    return m_engine ? m_engine->prepared() : m_empty;
}

void PreviewWindow::connectToolBar()
{
    connect(m_toolBar, &PreviewToolBar::exportChosen, this, &PreviewWindow::exportWith);
    connect(m_toolBar->print, &QAction::triggered, this, &PreviewWindow::print);
    connect(m_toolBar->open, &QAction::triggered, this, &PreviewWindow::openFile);
    connect(m_toolBar->save, &QAction::triggered, this, &PreviewWindow::saveFile);
    connect(m_toolBar->pdf, &QAction::triggered, this, [this] { exportWith(0); });
    connect(m_toolBar->email, &QAction::triggered, this, &PreviewWindow::emailReport);
    connect(m_toolBar->find, &QAction::triggered, this, &PreviewWindow::find);
    connect(m_toolBar->zoomIn, &QAction::triggered, this,
            [this] { m_view->setZoom(m_view->zoom() + 0.25); });
    connect(m_toolBar->zoomOut, &QAction::triggered, this,
            [this] { m_view->setZoom(m_view->zoom() - 0.25); });
    connect(m_toolBar->zoomCombo, &QComboBox::textActivated, this, &PreviewWindow::zoomChosen);
    connect(m_toolBar->zoomCombo->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { zoomChosen(m_toolBar->zoomCombo->currentText()); });
    connect(m_toolBar->fullScreen, &QAction::triggered, this, &PreviewWindow::toggleFullScreen);
    connect(m_toolBar->outline, &QAction::toggled, m_outline, &QWidget::setVisible);
    connect(m_toolBar->thumbnails, &QAction::toggled, this, [this](bool on) {
        m_thumbnails->setVisible(on);
        if (on) {
            m_thumbnails->setReport(&prepared(), m_shown);
            m_thumbnails->goToPage(m_view->currentPage());
        }
    });
    connect(m_toolBar->pageSetup, &QAction::triggered, this, &PreviewWindow::pageSettings);
    connect(m_toolBar->edit, &QAction::triggered, this, &PreviewWindow::editPage);
    connect(m_toolBar->first, &QAction::triggered, this, [this] { m_view->goToPage(1); });
    connect(m_toolBar->prior, &QAction::triggered, this,
            [this] { m_view->goToPage(m_view->currentPage() - 1); });
    connect(m_toolBar->next, &QAction::triggered, this,
            [this] { m_view->goToPage(m_view->currentPage() + 1); });
    connect(m_toolBar->last, &QAction::triggered, this,
            [this] { m_view->goToPage(m_view->pageCount()); });
    connect(m_toolBar->pageEdit, &QLineEdit::returnPressed, this, [this] {
        m_view->goToPage(m_toolBar->pageEdit->text().toInt());
        updateStatus();
    });
    connect(m_toolBar->close, &QAction::triggered, this, &PreviewWindow::closeOrCancel);
}

void PreviewWindow::pickObject(int page, QPointF unitsInPage)
{
    m_pickedPage = page;
    m_pickedObject = -1;
    const zreport::PreparedPage &prepared = this->prepared().pages()[size_t(page - 1)];
    for (const zreport::PreparedBand &band : prepared.bands)
        for (quint32 i = 0; i < band.objectCount; ++i) {
            const zreport::PreparedObject &o = prepared.objects[band.firstObject + i];
            if (QRectF(band.left + o.left, band.top + o.top, o.width, o.height)
                    .contains(unitsInPage))
                m_pickedObject = int(band.firstObject + i); // the last drawn, on top, wins
        }
}

void PreviewWindow::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("previewContextMenu"));
    menu.addAction(QStringLiteral("Свернуть все"), m_outline, &QTreeWidget::collapseAll);
    menu.addAction(QStringLiteral("Раскрыть все"), m_outline, &QTreeWidget::expandAll);
    menu.addSeparator();
    const QList<QAction *> items{
        m_toolBar->print,  m_toolBar->open,    m_toolBar->save,      m_toolBar->exportAction,
        m_toolBar->pdf,    m_toolBar->email,   m_toolBar->find,      nullptr,
        m_toolBar->zoomIn, m_toolBar->zoomOut, m_toolBar->fullScreen};
    for (QAction *item : items) {
        if (!item) {
            menu.addSeparator();
            continue;
        }
        if (!item->isVisible())
            continue;
        if (item == m_toolBar->exportAction) {
            QMenu *sub = menu.addMenu(item->text());
            sub->setEnabled(item->isEnabled());
            for (QAction *filter : m_toolBar->exportMenu->actions())
                sub->addAction(filter);
            continue;
        }
        menu.addAction(item);
    }
    menu.exec(event->globalPos());
}

void PreviewWindow::setRunning(bool running)
{
    m_running = running;
    m_toolBar->setRunning(running);
    if (!running)
        m_infoPanel->clear();
}

void PreviewWindow::runReport()
{
    if (m_running)
        return;
    m_foundPage = 0;
    m_foundObject = -1;
    m_pickedPage = 0;
    m_view->setReport(&m_empty, 0);
    m_thumbnails->setReport(&m_empty, 0);
    m_engine = std::make_unique<zreport::ReportEngine>(m_report, m_sources);
    if (m_pageSettings)
        m_engine->overridePageSettings(*m_pageSettings);
    m_finished = 0;
    m_shown = 0;
    m_refreshEvery = 0;
    m_sinceFirstPage.invalidate();
    m_sinceEvents.start();
    m_engine->setProgressHandler([this](int pagesSoFar) { onProgress(pagesSoFar); });
    bool ok = false;
    {
        setRunning(true);
        // The window can be closed again however the run ends.
        const auto stopped = qScopeGuard([this] { setRunning(false); });
        ok = m_engine->run();
    }
    showPages(prepared().pageCount());
    if (m_view->currentPage() == 0)
        m_view->goToPage(1);
    updateStatus();
    if (!ok && !m_engine->errors().isEmpty()) {
        m_hooks.message(this, zreport::runErrorsText(m_engine->errors()),
                        zreport::runErrorsCaption());
        // A run that could not start leaves nothing to look at.
        if (prepared().pageCount() == 0 && !m_engine->isTerminated())
            QDialog::reject();
    }
}

void PreviewWindow::onProgress(int pagesSoFar)
{
    // The last page in the list is the one being filled; the ones before it are finished.
    const int finished = std::max(0, pagesSoFar - 1);
    bool pageDone = false;
    if (finished > m_finished) {
        pageDone = true;
        const int before = m_finished;
        m_finished = finished;
        if (before == 0) {
            showPages(m_finished);
            m_view->goToPage(1);
            m_toolBar->close->setText(QStringLiteral("Отмена"));
        } else if (m_refreshEvery == 0) {
            // How long the second page took decides how often the pages are shown.
            const qint64 ms = m_sinceFirstPage.elapsed();
            m_refreshEvery = ms <= 4 ? 50 : ms > 9 ? 5 : 20;
            showPages(m_finished);
        } else if (m_finished - m_shown >= m_refreshEvery) {
            showPages(m_finished);
        }
    }
    // Window messages between pages, and often enough within a long page, so that the user
    // can scroll, zoom and press "Отмена".
    if (pageDone || m_sinceEvents.elapsed() >= 20) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        m_sinceEvents.restart();
    }
    // The second page is timed from when the first one is on the screen, so that the time
    // measures building, not the first paint.
    if (m_finished >= 1 && !m_sinceFirstPage.isValid())
        m_sinceFirstPage.start();
}

void PreviewWindow::showPages(int count)
{
    m_shown = count;
    m_view->setReport(&prepared(), count);
    if (m_thumbnails->isVisible() || !m_running)
        m_thumbnails->setReport(&prepared(), count);
    updateStatus();
}

void PreviewWindow::updateStatus()
{
    const int current = m_view->currentPage();
    m_pagePanel->setText(QStringLiteral("Страница %1 из %2").arg(current).arg(m_view->pageCount()));
    m_toolBar->pageEdit->setText(QString::number(current));
}

void PreviewWindow::zoomChosen(const QString &text)
{
    if (text == QStringLiteral("По ширине")) {
        m_view->setZoomMode(PageView::ZoomMode::PageWidth);
    } else if (text == QStringLiteral("Страница целиком")) {
        m_view->setZoomMode(PageView::ZoomMode::WholePage);
    } else {
        QString number = text;
        number.remove(QLatin1Char('%')).remove(QLatin1Char(' '));
        bool ok = false;
        const double percent =
            QLocale::c().toDouble(number.replace(QLatin1Char(','), QLatin1Char('.')), &ok);
        if (ok)
            m_view->setZoom(percent / 100);
    }
    showZoom();
}

void PreviewWindow::showZoom()
{
    m_toolBar->zoomCombo->setEditText(QStringLiteral("%1%").arg(std::lround(m_view->zoom() * 100)));
}

void PreviewWindow::toggleFullScreen()
{
    // A change of window state, not of window flags: changing the flags would hide the window
    // for a moment, and a hidden dialog leaves its modal loop.
    m_fullScreenOn = !m_fullScreenOn;
    m_toolBar->setVisible(!m_fullScreenOn);
    m_statusBar->setVisible(!m_fullScreenOn);
    setWindowState(m_fullScreenOn ? (windowState() | Qt::WindowFullScreen)
                                  : (windowState() & ~Qt::WindowFullScreen) | Qt::WindowMaximized);
}

void PreviewWindow::closeOrCancel()
{
    if (m_running) {
        m_engine->terminate();
        return;
    }
    QDialog::reject();
}

void PreviewWindow::reject()
{
    // Esc acts as the close button: while the pages are built it stops the run instead.
    closeOrCancel();
}

void PreviewWindow::closeEvent(QCloseEvent *event)
{
    if (m_running) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

// --- commands on the pages -------------------------------------------------------------------

void PreviewWindow::print()
{
    if (m_running || prepared().pageCount() == 0)
        return;
    const QString jobName =
        m_report.documentTitle.isEmpty() ? windowTitle() : m_report.documentTitle;
    m_commands.print(prepared(), m_report.printOptions, m_view->currentPage(), jobName);
}

void PreviewWindow::saveFile()
{
    if (m_running || !m_engine)
        return;
    m_commands.save(prepared(), *m_infoPanel);
}

void PreviewWindow::openFile()
{
    if (m_running)
        return;
    std::optional<zreport::PreparedReport> loaded = m_commands.open(*m_infoPanel);
    if (!loaded)
        return; // the pages shown stay as they were
    if (!m_engine)
        m_engine = std::make_unique<zreport::ReportEngine>(m_report, m_sources);
    if (m_pageSettings)
        m_engine->overridePageSettings(*m_pageSettings);
    m_engine->prepared() = std::move(*loaded);
    m_pickedPage = 0;
    m_foundPage = 0;
    m_foundObject = -1;
    showPages(prepared().pageCount());
    m_view->goToPage(1);
    updateStatus();
}

void PreviewWindow::exportWith(int filterIndex)
{
    const auto &filters = zexport::exportFilters();
    if (m_running || filterIndex < 0 || filterIndex >= int(filters.size()) ||
        prepared().pageCount() == 0)
        return;
    const zexport::ExportFilter &filter = filters[size_t(filterIndex)];
    if (filter.kind == zexport::ExportKind::Email)
        emailReport();
    else
        m_commands.exportAs(filter, prepared(), m_view->currentPage());
}

void PreviewWindow::emailReport()
{
    if (m_running || prepared().pageCount() == 0)
        return;
    m_commands.email(prepared(),
                     m_report.documentTitle.isEmpty() ? windowTitle() : m_report.documentTitle);
}

// --- find ------------------------------------------------------------------------------------

void PreviewWindow::find()
{
    if (m_running || prepared().pageCount() == 0)
        return;
    FindDialog dialog(m_searchText, m_caseSensitive, this);
    if (m_hooks.runDialog(dialog) != QDialog::Accepted || dialog.text().isEmpty())
        return;
    m_searchText = dialog.text();
    m_caseSensitive = dialog.caseSensitive();
    const int start = dialog.fromStart() ? 1 : std::max(1, m_view->currentPage());
    if (!searchFrom(start, 0))
        m_hooks.message(this, QStringLiteral("Текст не найден"), windowTitle());
}

void PreviewWindow::findNext()
{
    if (m_running || m_searchText.isEmpty() || m_foundPage == 0)
        return;
    if (!searchFrom(m_foundPage, m_foundObject + 1))
        m_hooks.message(this, QStringLiteral("Текст не найден"), windowTitle());
}

bool PreviewWindow::searchFrom(int page, int object)
{
    const auto found =
        zreport::findText(prepared(), m_searchText,
                          m_caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive, page, object);
    if (!found)
        return false;
    m_foundPage = found->page;
    m_foundObject = found->object;
    m_view->showFound(found->page, found->rect);
    updateStatus();
    return true;
}

// --- page settings and editing ---------------------------------------------------------------

void PreviewWindow::pageSettings()
{
    if (m_running || prepared().pageCount() == 0)
        return;
    const int current = m_view->currentPage();
    zreport::PreparedPage &page = m_engine->prepared().pages()[size_t(current - 1)];
    PageSettingsDialog dialog(page.settings, this);
    if (m_hooks.runDialog(dialog) != QDialog::Accepted)
        return;
    const zreport::PageSettings chosen = dialog.settings();
    if (!dialog.applyToAllPages()) {
        page.settings = chosen;
        showPages(prepared().pageCount());
        m_view->goToPage(current);
        return;
    }
    // Every page of this window's runs is laid out on the chosen paper; the caller's template
    // stays as it is.
    m_pageSettings = chosen;
    runReport();
}

void PreviewWindow::editPage()
{
    if (m_running || !m_report.previewOptions.allowEdit)
        return;
    if (m_hooks.editTemplate) {
        m_hooks.editTemplate(this, m_report.name, m_report, m_sources);
        return;
    }
    if (prepared().pageCount() == 0)
        return;
    const int current = m_view->currentPage();
    PageEditorDialog dialog(m_engine->prepared(), current - 1, this,
                            m_pickedPage == current ? m_pickedObject : -1);
    if (m_hooks.runDialog(dialog) != QDialog::Accepted)
        return;
    dialog.apply();
    showPages(prepared().pageCount());
    m_view->goToPage(current);
}

} // namespace zpreview
