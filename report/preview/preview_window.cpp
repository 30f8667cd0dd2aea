#include "preview_window.h"

#include "export_filters.h"
#include "export_options_dialog.h"
#include "find_dialog.h"
#include "page_editor_dialog.h"
#include "page_settings_dialog.h"
#include "print_dialog.h"
#include "print_job.h"
#include "print_progress.h"
#include "printers.h"

#include "report/prepared_io.h"
#include "report/report_units.h"
#include "report/text_search.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QScopeGuard>
#include <QShortcut>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace zpreview {

namespace {

constexpr double kThumbnailZoom = 0.1;

QIcon standardIcon(QStyle::StandardPixmap pixmap)
{
    return QApplication::style()->standardIcon(pixmap);
}

QIcon themeIcon(const char *name, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(name), standardIcon(fallback));
}

} // namespace

PreviewWindow::PreviewWindow(const zreport::TfrxReport &report, const zreport::DataSources &sources,
                             PreviewHooks hooks, QWidget *parent)
    : QDialog(parent), m_report(report), m_sources(sources), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("previewWindow"));
    setWindowTitle(QStringLiteral("Предварительный просмотр"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setModal(report.previewOptions.modal);

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);

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

    buildToolBar();

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
    connect(m_view, &PageView::printRequested, this, whenShown(m_print, &PreviewWindow::print));
    connect(m_view, &PageView::saveRequested, this, whenShown(m_save, &PreviewWindow::saveFile));
    connect(m_view, &PageView::openRequested, this, whenShown(m_open, &PreviewWindow::openFile));
    connect(m_view, &PageView::findRequested, this, whenShown(m_find, &PreviewWindow::find));
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

QAction *PreviewWindow::addButton(const char *name, const QString &hint, const QIcon &icon)
{
    auto *action = m_toolBar->addAction(icon, hint);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint);
    return action;
}

void PreviewWindow::buildToolBar()
{
    m_print = addButton("printAction", QStringLiteral("Печать"),
                        themeIcon("document-print", QStyle::SP_ComputerIcon));
    m_open = addButton("openAction", QStringLiteral("Открыть"),
                       standardIcon(QStyle::SP_DialogOpenButton));
    m_save = addButton("saveAction", QStringLiteral("Сохранить"),
                       standardIcon(QStyle::SP_DialogSaveButton));

    m_exportMenu = new QMenu(this);
    m_exportMenu->setObjectName(QStringLiteral("exportMenu"));
    const auto &filters = exportFilters();
    for (size_t i = 0; i < filters.size(); ++i) {
        QAction *item = m_exportMenu->addAction(filters[i].description + QStringLiteral("..."));
        item->setObjectName(QStringLiteral("export%1Action").arg(i));
        connect(item, &QAction::triggered, this, [this, i] { exportWith(int(i)); });
    }
    m_export = addButton("exportAction", QStringLiteral("Экспорт"),
                         themeIcon("document-export", QStyle::SP_DriveFDIcon));
    m_export->setMenu(m_exportMenu);
    if (auto *button = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(m_export)))
        button->setPopupMode(QToolButton::InstantPopup);
    m_pdf = addButton("pdfAction", QStringLiteral("Сохранить в PDF"),
                      standardIcon(QStyle::SP_FileIcon));
    m_email = addButton("emailAction", QStringLiteral("Отослать по E-mail"),
                        themeIcon("mail-send", QStyle::SP_MessageBoxInformation));
    m_find = addButton("findAction", QStringLiteral("Найти"),
                       themeIcon("edit-find", QStyle::SP_FileDialogContentsView));
    m_findSeparator = m_toolBar->addSeparator();
    m_findSeparator->setObjectName(QStringLiteral("findSeparator"));
    m_zoomIn = addButton("zoomInAction", QStringLiteral("Увеличить"),
                         themeIcon("zoom-in", QStyle::SP_ArrowUp));
    m_zoomCombo = new QComboBox(this);
    m_zoomCombo->setObjectName(QStringLiteral("zoomCombo"));
    m_zoomCombo->setToolTip(QStringLiteral("Масштаб"));
    m_zoomCombo->setEditable(true);
    m_zoomCombo->setInsertPolicy(QComboBox::NoInsert);
    m_zoomCombo->addItems({QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("75%"),
                           QStringLiteral("100%"), QStringLiteral("150%"), QStringLiteral("200%"),
                           QStringLiteral("По ширине"), QStringLiteral("Страница целиком")});
    m_zoomCombo->setMinimumContentsLength(14);
    m_zoomComboAction = m_toolBar->addWidget(m_zoomCombo);
    m_zoomComboAction->setToolTip(m_zoomCombo->toolTip());
    m_zoomOut = addButton("zoomOutAction", QStringLiteral("Уменьшить"),
                          themeIcon("zoom-out", QStyle::SP_ArrowDown));
    m_fullScreen = addButton("fullScreenAction", QStringLiteral("Во весь экран"),
                             standardIcon(QStyle::SP_TitleBarMaxButton));
    m_fullScreenSeparator = m_toolBar->addSeparator();
    m_fullScreenSeparator->setObjectName(QStringLiteral("fullScreenSeparator"));
    m_outlineAction = addButton("outlineAction", QStringLiteral("Дерево отчета"),
                                standardIcon(QStyle::SP_DirOpenIcon));
    m_outlineAction->setCheckable(true);
    m_thumbnailsAction = addButton("thumbnailsAction", QStringLiteral("Миниатюры"),
                                   standardIcon(QStyle::SP_FileDialogListView));
    m_thumbnailsAction->setCheckable(true);
    m_pageSetup = addButton("pageSettingsAction", QStringLiteral("Свойства страницы"),
                            standardIcon(QStyle::SP_FileDialogDetailedView));
    m_edit = addButton("editAction", QStringLiteral("Редактировать страницу"),
                       themeIcon("document-edit", QStyle::SP_FileDialogInfoView));
    m_edit->setEnabled(m_report.previewOptions.allowEdit);
    m_editSeparator = m_toolBar->addSeparator();
    m_editSeparator->setObjectName(QStringLiteral("editSeparator"));
    m_first = addButton("firstPageAction", QStringLiteral("На первую страницу"),
                        standardIcon(QStyle::SP_MediaSkipBackward));
    m_prior = addButton("priorPageAction", QStringLiteral("На предыдущую страницу"),
                        standardIcon(QStyle::SP_MediaSeekBackward));
    m_pageEdit = new QLineEdit(this);
    m_pageEdit->setObjectName(QStringLiteral("pageNumberEdit"));
    m_pageEdit->setToolTip(QStringLiteral("Номер страницы"));
    m_pageEdit->setValidator(new QIntValidator(0, 999999, m_pageEdit));
    m_pageEdit->setFixedWidth(60);
    m_pageEditAction = m_toolBar->addWidget(m_pageEdit);
    m_pageEditAction->setToolTip(m_pageEdit->toolTip());
    m_next = addButton("nextPageAction", QStringLiteral("На следующую страницу"),
                       standardIcon(QStyle::SP_MediaSeekForward));
    m_last = addButton("lastPageAction", QStringLiteral("На последнюю страницу"),
                       standardIcon(QStyle::SP_MediaSkipForward));
    m_close = m_toolBar->addAction(QStringLiteral("Закрыть"));
    m_close->setObjectName(QStringLiteral("closeAction"));
    if (auto *button = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(m_close)))
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);

    showButtonsOf(m_report.previewOptions.buttons);

    connect(m_print, &QAction::triggered, this, &PreviewWindow::print);
    connect(m_open, &QAction::triggered, this, &PreviewWindow::openFile);
    connect(m_save, &QAction::triggered, this, &PreviewWindow::saveFile);
    connect(m_export, &QAction::triggered, this, [this] {
        if (auto *button = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(m_export)))
            button->showMenu();
    });
    connect(m_pdf, &QAction::triggered, this, [this] { exportWith(0); });
    connect(m_email, &QAction::triggered, this, &PreviewWindow::emailReport);
    connect(m_find, &QAction::triggered, this, &PreviewWindow::find);
    connect(m_zoomIn, &QAction::triggered, this,
            [this] { m_view->setZoom(m_view->zoom() + 0.25); });
    connect(m_zoomOut, &QAction::triggered, this,
            [this] { m_view->setZoom(m_view->zoom() - 0.25); });
    connect(m_zoomCombo, &QComboBox::textActivated, this, &PreviewWindow::zoomChosen);
    connect(m_zoomCombo->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { zoomChosen(m_zoomCombo->currentText()); });
    connect(m_fullScreen, &QAction::triggered, this, &PreviewWindow::toggleFullScreen);
    connect(m_outlineAction, &QAction::toggled, m_outline, &QWidget::setVisible);
    connect(m_thumbnailsAction, &QAction::toggled, this, [this](bool on) {
        m_thumbnails->setVisible(on);
        if (on) {
            m_thumbnails->setReport(&prepared(), m_shown);
            m_thumbnails->goToPage(m_view->currentPage());
        }
    });
    connect(m_pageSetup, &QAction::triggered, this, &PreviewWindow::pageSettings);
    connect(m_edit, &QAction::triggered, this, &PreviewWindow::editPage);
    connect(m_first, &QAction::triggered, this, [this] { m_view->goToPage(1); });
    connect(m_prior, &QAction::triggered, this,
            [this] { m_view->goToPage(m_view->currentPage() - 1); });
    connect(m_next, &QAction::triggered, this,
            [this] { m_view->goToPage(m_view->currentPage() + 1); });
    connect(m_last, &QAction::triggered, this, [this] { m_view->goToPage(m_view->pageCount()); });
    connect(m_pageEdit, &QLineEdit::returnPressed, this, [this] {
        m_view->goToPage(m_pageEdit->text().toInt());
        updateStatus();
    });
    connect(m_close, &QAction::triggered, this, &PreviewWindow::closeOrCancel);
}

void PreviewWindow::showButtonsOf(const QStringList &buttons)
{
    const auto has = [&buttons](const char *name) {
        return buttons.contains(QString::fromLatin1(name));
    };
    const bool zoom = has("pbZoom"), navigator = has("pbNavigator");
    const bool quick = has("pbExportQuick") && !exportFilters().empty();
    m_print->setVisible(has("pbPrint"));
    m_open->setVisible(has("pbLoad"));
    m_save->setVisible(has("pbSave"));
    m_export->setVisible(has("pbExport") && !exportFilters().empty());
    m_pdf->setVisible(quick);
    m_email->setVisible(quick && !has("pbNoEmail"));
    m_find->setVisible(has("pbFind"));
    for (QAction *action : {m_zoomIn, m_zoomComboAction, m_zoomOut})
        action->setVisible(zoom);
    m_fullScreen->setVisible(zoom && !has("pbNoFullScreen"));
    m_outlineAction->setVisible(has("pbOutline"));
    m_thumbnailsAction->setVisible(has("pbOutline"));
    m_pageSetup->setVisible(has("pbPageSetup"));
    m_edit->setVisible(has("pbEdit"));
    for (QAction *action : {m_first, m_prior, m_pageEditAction, m_next, m_last})
        action->setVisible(navigator);
    m_close->setVisible(!has("pbNoClose"));
    m_findSeparator->setVisible(zoom);
    m_fullScreenSeparator->setVisible(m_pageSetup->isVisible() || m_edit->isVisible());
    m_editSeparator->setVisible(navigator);
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
    const QList<QAction *> items{m_print, m_open,  m_save,   m_export,  m_pdf,       m_email,
                                 m_find,  nullptr, m_zoomIn, m_zoomOut, m_fullScreen};
    for (QAction *item : items) {
        if (!item) {
            menu.addSeparator();
            continue;
        }
        if (!item->isVisible())
            continue;
        if (item == m_export) {
            QMenu *sub = menu.addMenu(item->text());
            sub->setEnabled(item->isEnabled());
            for (QAction *filter : m_exportMenu->actions())
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
    for (QAction *action : {m_print, m_open, m_save, m_export, m_pdf, m_email, m_find, m_pageSetup})
        action->setEnabled(!running);
    m_edit->setEnabled(!running && m_report.previewOptions.allowEdit);
    if (!running) {
        m_close->setText(QStringLiteral("Закрыть"));
        m_infoPanel->clear();
    }
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
            m_close->setText(QStringLiteral("Отмена"));
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
    m_pageEdit->setText(QString::number(current));
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
    m_zoomCombo->setEditText(QStringLiteral("%1%").arg(std::lround(m_view->zoom() * 100)));
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

// --- printing --------------------------------------------------------------------------------

void PreviewWindow::print()
{
    if (m_running || prepared().pageCount() == 0)
        return;
    Printers &printers = Printers::instance();
    if (printers.noneInstalled()) {
        m_hooks.message(this, QStringLiteral("В вашей системе не установлено принтеров"),
                        QStringLiteral("Ошибка"));
        return;
    }
    const zreport::PrintOptions &options = m_report.printOptions;
    const QString previous = printers.current();
    printers.chooseByOption(options.printer);
    PrintSettings settings;
    settings.printer = printers.current();
    settings.copies = options.copies;
    settings.collate = options.collate;
    settings.printOnSheet = options.printOnSheet;
    if (options.showDialog) {
        PrintDialog dialog(settings, m_hooks, this);
        if (m_hooks.runDialog(dialog) != QDialog::Accepted) {
            printers.setCurrent(previous);
            return;
        }
        settings = dialog.settings();
        if (settings.outputFile.isEmpty())
            printers.setCurrent(settings.printer);
    }

    PrintProgress progress(this);
    const QString jobName =
        m_report.documentTitle.isEmpty() ? windowTitle() : m_report.documentTitle;
    PrintJob job{prepared(), settings, m_view->currentPage(), jobName, {}, {}};
    job.planned = [&progress](int sheets) { progress.setSheetCount(sheets); };
    job.progress = [&progress](int page) { return progress.showPage(page); };
    QString error;
    progress.show();
    const PrintResult result = printReport(job, &error);
    progress.hide();
    if (result == PrintResult::InvalidPrinter)
        m_hooks.message(this, QStringLiteral("Printer selected is not valid"),
                        QStringLiteral("Ошибка"));
    else if (result == PrintResult::Failed)
        m_hooks.message(this, error, QStringLiteral("Ошибка"));
}

// --- save and open ---------------------------------------------------------------------------

void PreviewWindow::saveFile()
{
    if (m_running || !m_engine)
        return;
    QString path = m_hooks.saveFileName(this, QStringLiteral("Сохранить"),
                                        QStringLiteral("Готовый отчет (*.fp3)"), QString());
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().compare(QStringLiteral("fp3"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".fp3");
    m_infoPanel->setText(QStringLiteral("Сохраняется файл..."));
    m_infoPanel->repaint();
    QString error;
    const bool ok = zreport::savePreparedReport(prepared(), path, &error);
    m_infoPanel->clear();
    if (!ok)
        m_hooks.message(this, error, QStringLiteral("Ошибка"));
}

void PreviewWindow::openFile()
{
    if (m_running)
        return;
    const QString path = m_hooks.openFileName(this, QStringLiteral("Открыть"),
                                              QStringLiteral("Готовый отчет (*.fp3)"));
    if (path.isEmpty())
        return;
    m_infoPanel->setText(QStringLiteral("Загружается файл..."));
    m_infoPanel->repaint();
    zreport::PreparedReport loaded;
    QString error;
    const bool ok = zreport::loadPreparedReport(path, loaded, &error);
    m_infoPanel->clear();
    if (!ok) {
        // The pages shown stay as they were.
        m_hooks.message(this, error, QStringLiteral("Ошибка"));
        return;
    }
    if (!m_engine)
        m_engine = std::make_unique<zreport::ReportEngine>(m_report, m_sources);
    if (m_pageSettings)
        m_engine->overridePageSettings(*m_pageSettings);
    m_engine->prepared() = std::move(loaded);
    m_pickedPage = 0;
    m_foundPage = 0;
    m_foundObject = -1;
    showPages(prepared().pageCount());
    m_view->goToPage(1);
    updateStatus();
}

// --- export ----------------------------------------------------------------------------------

void PreviewWindow::exportWith(int filterIndex)
{
    const auto &filters = exportFilters();
    if (m_running || filterIndex < 0 || filterIndex >= int(filters.size()) ||
        prepared().pageCount() == 0)
        return;
    const ExportFilter &filter = filters[size_t(filterIndex)];
    if (filter.kind == ExportKind::Email) {
        emailReport();
        return;
    }
    ExportOptionsDialog optionsDialog(filter.description, filter.isImage(), this);
    if (m_hooks.runDialog(optionsDialog) != QDialog::Accepted)
        return;
    const auto pages = optionsDialog.pages(prepared().pageCount(), m_view->currentPage());
    if (!pages || pages->empty()) {
        m_hooks.message(this, QStringLiteral("Неверно указаны номера страниц"),
                        QStringLiteral("Ошибка"));
        return;
    }
    QString path = m_hooks.saveFileName(this, filter.description, filter.fileFilter, QString());
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + filter.suffix;
    ExportOptions options;
    for (int n : *pages)
        options.pages.push_back(n - 1);
    options.dpi = optionsDialog.dpi();
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = exportPages(filter.kind, prepared(), options, path, &error);
    QApplication::restoreOverrideCursor();
    if (!ok)
        m_hooks.message(this, error, QStringLiteral("Ошибка"));
}

void PreviewWindow::emailReport()
{
    if (m_running || prepared().pageCount() == 0)
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    const QString path = QDir(folder).filePath(
        QStringLiteral("Zarnik-%1.pdf")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
    ExportOptions options;
    for (int i = 0; i < prepared().pageCount(); ++i)
        options.pages.push_back(i);
    QString error;
    if (!exportPages(ExportKind::Pdf, prepared(), options, path, &error)) {
        m_hooks.message(this, error, QStringLiteral("Ошибка"));
        return;
    }
    const QString mailer = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (mailer.isEmpty() || !QProcess::startDetached(mailer, {QStringLiteral("--attach"), path})) {
        m_hooks.message(this,
                        QStringLiteral("Почтовая программа не найдена. Отчет сохранен в файл "
                                       "«%1»; приложите его к письму сами.")
                            .arg(path),
                        QStringLiteral("E-mail"));
    }
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
    if (m_running || prepared().pageCount() == 0 || !m_report.previewOptions.allowEdit)
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
