#include "designer_window.h"

#include "arrange.h"
#include "design_view.h"
#include "form_fields.h"
#include "new_objects.h"
#include "property_panel.h"
#include "report_copy.h"

#include "report/report_units.h"
#include "templates/template_writer.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>

namespace zdesigner {

using namespace zreport;

DesignerServices DesignerServices::standard()
{
    DesignerServices services;
    services.ask = [](QWidget *parent, const QString &question) {
        return QMessageBox::question(parent, QStringLiteral("Дизайнер"), question,
                                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    };
    services.message = [](QWidget *parent, const QString &text) {
        QMessageBox::warning(parent, QStringLiteral("Дизайнер"), text);
    };
    return services;
}

DesignerWindow::DesignerWindow(const TfrxReport &report, DesignerServices services, QWidget *parent)
    : QDialog(parent), m_services(std::move(services))
{
    setObjectName(QStringLiteral("frmDesigner"));
    QString error;
    std::unique_ptr<TfrxReport> copy = copyOfReport(report, &error);
    if (!copy) {
        // A template in memory always writes what it reads; this only guards a broken one.
        copy = std::make_unique<TfrxReport>();
        copy->name = report.name;
    }
    m_document = std::make_unique<DesignDocument>(std::move(copy));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("designerToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(bar);
    auto *arrangeBar = new QToolBar(this);
    arrangeBar->setObjectName(QStringLiteral("arrangeToolBar"));
    arrangeBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(arrangeBar);

    auto *splitter = new QSplitter(this);
    auto *scroll = new QScrollArea(splitter);
    scroll->setObjectName(QStringLiteral("designScroll"));
    scroll->setBackgroundRole(QPalette::Dark);
    m_view = new DesignView(*m_document, scroll);
    scroll->setWidget(m_view);
    auto *panelScroll = new QScrollArea(splitter);
    panelScroll->setWidgetResizable(true);
    m_panel = new PropertyPanel(*m_document, formFields(m_document->report()), panelScroll);
    panelScroll->setWidget(m_panel);
    panelScroll->setMinimumWidth(330);
    splitter->addWidget(scroll);
    splitter->addWidget(panelScroll);
    splitter->setStretchFactor(0, 1);
    layout->addWidget(splitter, 1);

    buildActions(bar, arrangeBar);
    connect(m_document.get(), &DesignDocument::selectionChanged, this,
            &DesignerWindow::updateActions);
    connect(&m_document->undoStack(), &QUndoStack::cleanChanged, this,
            &DesignerWindow::updateTitle);
    updateActions();
    updateTitle();
    resize(1200, 850);
    if (!m_document->page())
        m_services.message(this,
                           QStringLiteral("В шаблоне %1 нет страницы отчета").arg(report.name));
}

DesignerWindow::~DesignerWindow()
{
    // The document goes before the window's widgets: its undo stack, emptied as it goes, must
    // not call back into a window half taken down.
    m_document->undoStack().disconnect();
}

QAction *DesignerWindow::addAction(QToolBar *bar, const char *objectName, const QString &text,
                                   const QKeySequence &shortcut)
{
    auto *action = new QAction(text, this);
    action->setObjectName(QLatin1String(objectName));
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setToolTip(QStringLiteral("%1 (%2)").arg(text, shortcut.toString()));
    }
    QWidget::addAction(action);
    if (bar)
        bar->addAction(action);
    return action;
}

void DesignerWindow::buildActions(QToolBar *bar, QToolBar *arrangeBar)
{
    connect(addAction(bar, "actSave", QStringLiteral("Сохранить"), QKeySequence::Save),
            &QAction::triggered, this, &DesignerWindow::save);
    connect(addAction(bar, "actPreview", QStringLiteral("Просмотр"), Qt::Key_F5),
            &QAction::triggered, this, &DesignerWindow::showPreview);
    bar->addSeparator();

    QUndoStack &undo = m_document->undoStack();
    m_undo = addAction(bar, "actUndo", QStringLiteral("Отменить"), QKeySequence::Undo);
    m_redo =
        addAction(bar, "actRedo", QStringLiteral("Повторить"), QKeySequence(Qt::CTRL | Qt::Key_Y));
    connect(m_undo, &QAction::triggered, &undo, &QUndoStack::undo);
    connect(m_redo, &QAction::triggered, &undo, &QUndoStack::redo);
    connect(&undo, &QUndoStack::canUndoChanged, m_undo, &QAction::setEnabled);
    connect(&undo, &QUndoStack::canRedoChanged, m_redo, &QAction::setEnabled);
    m_undo->setEnabled(false);
    m_redo->setEnabled(false);
    bar->addSeparator();

    m_copy = addAction(bar, "actCopy", QStringLiteral("Копировать"), QKeySequence::Copy);
    m_paste = addAction(bar, "actPaste", QStringLiteral("Вставить"), QKeySequence::Paste);
    m_delete = addAction(bar, "actDelete", QStringLiteral("Удалить"), QKeySequence::Delete);
    connect(m_copy, &QAction::triggered, this, &DesignerWindow::copySelected);
    connect(m_paste, &QAction::triggered, this, &DesignerWindow::paste);
    connect(m_delete, &QAction::triggered, this, &DesignerWindow::deleteSelected);
    bar->addSeparator();

    const std::pair<const char *, std::unique_ptr<TfrxView> (*)()> adds[] = {
        {"actAddMemo", newMemo},
        {"actAddPicture", newPicture},
        {"actAddLine", newLine},
        {"actAddRectangle", newRectangle}};
    const QString addTexts[] = {QStringLiteral("Текст"), QStringLiteral("Рисунок"),
                                QStringLiteral("Линия"), QStringLiteral("Прямоугольник")};
    for (size_t i = 0; i < std::size(adds); ++i) {
        const auto make = adds[i].second;
        connect(addAction(bar, adds[i].first, addTexts[i]), &QAction::triggered, this,
                [this, make] { addObject(make()); });
    }

    const std::pair<const char *, Arrangement> arrangements[] = {
        {"actAlignLeft", Arrangement::AlignLeft}, {"actAlignRight", Arrangement::AlignRight},
        {"actAlignTop", Arrangement::AlignTop},   {"actAlignBottom", Arrangement::AlignBottom},
        {"actSameWidth", Arrangement::SameWidth}, {"actSameHeight", Arrangement::SameHeight}};
    const QString arrangeTexts[] = {
        QStringLiteral("По левому краю"), QStringLiteral("По правому краю"),
        QStringLiteral("По верху"),       QStringLiteral("По низу"),
        QStringLiteral("Одной ширины"),   QStringLiteral("Одной высоты")};
    for (size_t i = 0; i < std::size(arrangements); ++i) {
        QAction *action = addAction(arrangeBar, arrangements[i].first, arrangeTexts[i]);
        const Arrangement arrangement = arrangements[i].second;
        connect(action, &QAction::triggered, this, [this, arrangement] { arrange(arrangement); });
        m_arrangeActions.push_back(action);
    }
    arrangeBar->addSeparator();

    QAction *zoomIn = addAction(arrangeBar, "actZoomIn", QStringLiteral("+"), QKeySequence::ZoomIn);
    QAction *zoomOut =
        addAction(arrangeBar, "actZoomOut", QStringLiteral("−"), QKeySequence::ZoomOut);
    connect(zoomIn, &QAction::triggered, this, [this] { m_view->setZoom(m_view->zoom() * 1.25); });
    connect(zoomOut, &QAction::triggered, this, [this] { m_view->setZoom(m_view->zoom() * 0.8); });
    m_zoom = new QComboBox(arrangeBar);
    m_zoom->setObjectName(QStringLiteral("cmbZoom"));
    m_zoom->setEditable(true);
    m_zoom->addItems({"50%", "75%", "100%", "150%", "200%"});
    m_zoom->setCurrentText(QStringLiteral("100%"));
    arrangeBar->addWidget(m_zoom);
    connect(m_zoom, &QComboBox::textActivated, this, [this](const QString &text) {
        bool ok = false;
        const int percent = QString(text).remove(QLatin1Char('%')).trimmed().toInt(&ok);
        if (ok && percent > 0)
            m_view->setZoom(percent / 100.0);
    });
    connect(m_view, &DesignView::zoomChanged, this, [this](double zoom) {
        m_zoom->setCurrentText(QStringLiteral("%1%").arg(std::lround(zoom * 100)));
    });

    QAction *snap = addAction(arrangeBar, "actSnap", QStringLiteral("Сетка"));
    snap->setCheckable(true);
    snap->setChecked(m_view->snapping());
    snap->setToolTip(QStringLiteral("Привязка к сетке"));
    connect(snap, &QAction::toggled, m_view, &DesignView::setSnapping);
    auto *grid = new QComboBox(arrangeBar);
    grid->setObjectName(QStringLiteral("cmbGrid"));
    const double steps[] = {0.5, 1, 2, 5};
    for (double step : steps)
        grid->addItem(QStringLiteral("%1 мм").arg(QString::number(step).replace('.', ',')), step);
    grid->setCurrentIndex(1);
    arrangeBar->addWidget(grid);
    connect(grid, &QComboBox::activated, this,
            [this, grid](int index) { m_view->setGridStepMm(grid->itemData(index).toDouble()); });
}

bool DesignerWindow::isModified() const
{
    return !m_document->undoStack().isClean();
}

void DesignerWindow::updateTitle()
{
    setWindowTitle(QStringLiteral("Дизайнер шаблона: %1[*]").arg(m_document->report().name));
    setWindowModified(isModified());
}

void DesignerWindow::updateActions()
{
    const size_t chosen = m_document->selection().size();
    m_delete->setEnabled(chosen > 0);
    m_copy->setEnabled(chosen > 0);
    m_paste->setEnabled(!m_clipboard.empty());
    for (QAction *action : m_arrangeActions)
        action->setEnabled(chosen > 1);
}

bool DesignerWindow::save()
{
    if (!m_services.save) {
        m_services.message(this, QStringLiteral("Сохранение шаблонов недоступно"));
        return false;
    }
    QString error;
    if (!m_services.save(ztemplates::writeTemplate(m_document->report()), &error)) {
        m_services.message(this, QStringLiteral("Шаблон не сохранен:\n") + error);
        return false;
    }
    m_document->undoStack().setClean();
    return true;
}

void DesignerWindow::showPreview()
{
    if (m_services.preview)
        m_services.preview(m_document->report());
}

void DesignerWindow::addObject(std::unique_ptr<TfrxView> view)
{
    TfrxBand *band = m_document->currentBand();
    if (!band)
        return;
    const QString prefix = dynamic_cast<TfrxPictureView *>(view.get()) ? QStringLiteral("Picture")
                                                                       : QStringLiteral("Memo");
    view->name = m_document->uniqueName(prefix);
    view->parent = band;
    if (view->parentFont)
        view->font = band->font;
    // Under the object chosen first, else at the band's corner; inside the band.
    if (!m_document->selection().empty()) {
        const TfrxView *under = m_document->selection().front();
        view->left = under->left;
        view->top = under->top + under->height;
    }
    view->top = std::max(0.0, std::min(view->top, band->height - view->height));
    std::vector<std::unique_ptr<TfrxView>> views;
    views.push_back(std::move(view));
    m_document->addObjects(band, std::move(views), QStringLiteral("Добавление"));
}

void DesignerWindow::deleteSelected()
{
    m_document->deleteObjects(m_document->selection());
}

void DesignerWindow::copySelected()
{
    m_clipboard.clear();
    for (const TfrxView *view : m_document->selection())
        m_clipboard.push_back(cloneView(*view));
    updateActions();
}

void DesignerWindow::paste()
{
    TfrxBand *band = m_document->currentBand();
    if (!band || m_clipboard.empty())
        return;
    std::vector<std::unique_ptr<TfrxView>> views;
    QStringList pastedNames;
    for (const auto &copied : m_clipboard) {
        std::unique_ptr<TfrxView> view = cloneView(*copied);
        const QString prefix = dynamic_cast<TfrxPictureView *>(view.get())
                                   ? QStringLiteral("Picture")
                                   : QStringLiteral("Memo");
        view->name = m_document->uniqueName(prefix, pastedNames);
        pastedNames << view->name;
        view->parent = band;
        // Beside the original, so the copy is seen as one.
        view->left += mmToUnits(2);
        view->top += mmToUnits(2);
        views.push_back(std::move(view));
    }
    m_document->addObjects(band, std::move(views), QStringLiteral("Вставка"));
}

void DesignerWindow::arrange(Arrangement arrangement)
{
    const std::vector<TfrxView *> chosen = m_document->selection();
    std::vector<QRectF> boxes;
    for (const TfrxView *view : chosen)
        boxes.push_back(m_document->rectOnPage(view));
    const std::vector<QRectF> result = arranged(boxes, arrangement);
    if (result == boxes)
        return;
    // Each object's box in its own band's terms.
    std::vector<std::unique_ptr<TfrxView>> before;
    for (const TfrxView *view : chosen)
        before.push_back(cloneView(*view));
    for (size_t i = 0; i < chosen.size(); ++i)
        m_document->setRectOnPage(chosen[i], result[i]);
    m_document->recordChange(chosen, std::move(before), QStringLiteral("Выравнивание"));
}

void DesignerWindow::reject()
{
    if (mayClose())
        QDialog::reject();
}

bool DesignerWindow::mayClose()
{
    if (!isModified())
        return true;
    const QMessageBox::StandardButton answer = m_services.ask(
        this, QStringLiteral("Сохранить изменения в шаблоне %1?").arg(m_document->report().name));
    if (answer == QMessageBox::Yes)
        return save();
    return answer == QMessageBox::No;
}

} // namespace zdesigner
