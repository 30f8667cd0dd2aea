#include "preview_tool_bar.h"

#include "report/export/export_filters.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QToolButton>

namespace zpreview {

namespace {

QIcon standardIcon(QStyle::StandardPixmap pixmap)
{
    return QApplication::style()->standardIcon(pixmap);
}

QIcon themeIcon(const char *name, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(name), standardIcon(fallback));
}

} // namespace

QAction *PreviewToolBar::addButton(const char *name, const QString &hint, const QIcon &icon)
{
    auto *action = addAction(icon, hint);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint);
    return action;
}

PreviewToolBar::PreviewToolBar(bool allowEdit, QWidget *parent)
    : QToolBar(parent), m_allowEdit(allowEdit)
{
    setObjectName(QStringLiteral("toolBar"));
    setToolButtonStyle(Qt::ToolButtonIconOnly);

    print = addButton("printAction", QStringLiteral("Печать"),
                      themeIcon("document-print", QStyle::SP_ComputerIcon));
    open = addButton("openAction", QStringLiteral("Открыть"),
                     standardIcon(QStyle::SP_DialogOpenButton));
    save = addButton("saveAction", QStringLiteral("Сохранить"),
                     standardIcon(QStyle::SP_DialogSaveButton));

    exportMenu = new QMenu(this);
    exportMenu->setObjectName(QStringLiteral("exportMenu"));
    const auto &filters = zexport::exportFilters();
    for (size_t i = 0; i < filters.size(); ++i) {
        QAction *item = exportMenu->addAction(filters[i].description + QStringLiteral("..."));
        item->setObjectName(QStringLiteral("export%1Action").arg(i));
        connect(item, &QAction::triggered, this, [this, i] { emit exportChosen(int(i)); });
    }
    exportAction = addButton("exportAction", QStringLiteral("Экспорт"),
                             themeIcon("document-export", QStyle::SP_DriveFDIcon));
    exportAction->setMenu(exportMenu);
    if (auto *button = qobject_cast<QToolButton *>(widgetForAction(exportAction)))
        button->setPopupMode(QToolButton::InstantPopup);
    pdf = addButton("pdfAction", QStringLiteral("Сохранить в PDF"),
                    standardIcon(QStyle::SP_FileIcon));
    email = addButton("emailAction", QStringLiteral("Отослать по E-mail"),
                      themeIcon("mail-send", QStyle::SP_MessageBoxInformation));
    find = addButton("findAction", QStringLiteral("Найти"),
                     themeIcon("edit-find", QStyle::SP_FileDialogContentsView));
    m_findSeparator = addSeparator();
    m_findSeparator->setObjectName(QStringLiteral("findSeparator"));
    zoomIn = addButton("zoomInAction", QStringLiteral("Увеличить"),
                       themeIcon("zoom-in", QStyle::SP_ArrowUp));
    zoomCombo = new QComboBox(this);
    zoomCombo->setObjectName(QStringLiteral("zoomCombo"));
    zoomCombo->setToolTip(QStringLiteral("Масштаб"));
    zoomCombo->setEditable(true);
    zoomCombo->setInsertPolicy(QComboBox::NoInsert);
    zoomCombo->addItems({QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("75%"),
                         QStringLiteral("100%"), QStringLiteral("150%"), QStringLiteral("200%"),
                         QStringLiteral("По ширине"), QStringLiteral("Страница целиком")});
    zoomCombo->setMinimumContentsLength(14);
    m_zoomComboAction = addWidget(zoomCombo);
    m_zoomComboAction->setToolTip(zoomCombo->toolTip());
    zoomOut = addButton("zoomOutAction", QStringLiteral("Уменьшить"),
                        themeIcon("zoom-out", QStyle::SP_ArrowDown));
    fullScreen = addButton("fullScreenAction", QStringLiteral("Во весь экран"),
                           standardIcon(QStyle::SP_TitleBarMaxButton));
    m_fullScreenSeparator = addSeparator();
    m_fullScreenSeparator->setObjectName(QStringLiteral("fullScreenSeparator"));
    outline = addButton("outlineAction", QStringLiteral("Дерево отчета"),
                        standardIcon(QStyle::SP_DirOpenIcon));
    outline->setCheckable(true);
    thumbnails = addButton("thumbnailsAction", QStringLiteral("Миниатюры"),
                           standardIcon(QStyle::SP_FileDialogListView));
    thumbnails->setCheckable(true);
    pageSetup = addButton("pageSettingsAction", QStringLiteral("Свойства страницы"),
                          standardIcon(QStyle::SP_FileDialogDetailedView));
    edit = addButton("editAction", QStringLiteral("Редактировать страницу"),
                     themeIcon("document-edit", QStyle::SP_FileDialogInfoView));
    edit->setEnabled(m_allowEdit);
    m_editSeparator = addSeparator();
    m_editSeparator->setObjectName(QStringLiteral("editSeparator"));
    first = addButton("firstPageAction", QStringLiteral("На первую страницу"),
                      standardIcon(QStyle::SP_MediaSkipBackward));
    prior = addButton("priorPageAction", QStringLiteral("На предыдущую страницу"),
                      standardIcon(QStyle::SP_MediaSeekBackward));
    pageEdit = new QLineEdit(this);
    pageEdit->setObjectName(QStringLiteral("pageNumberEdit"));
    pageEdit->setToolTip(QStringLiteral("Номер страницы"));
    pageEdit->setValidator(new QIntValidator(0, 999999, pageEdit));
    pageEdit->setFixedWidth(60);
    m_pageEditAction = addWidget(pageEdit);
    m_pageEditAction->setToolTip(pageEdit->toolTip());
    next = addButton("nextPageAction", QStringLiteral("На следующую страницу"),
                     standardIcon(QStyle::SP_MediaSeekForward));
    last = addButton("lastPageAction", QStringLiteral("На последнюю страницу"),
                     standardIcon(QStyle::SP_MediaSkipForward));
    close = addAction(QStringLiteral("Закрыть"));
    close->setObjectName(QStringLiteral("closeAction"));
    if (auto *button = qobject_cast<QToolButton *>(widgetForAction(close)))
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(exportAction, &QAction::triggered, this, [this] {
        if (auto *button = qobject_cast<QToolButton *>(widgetForAction(exportAction)))
            button->showMenu();
    });
}

void PreviewToolBar::showButtonsOf(const QStringList &buttons)
{
    const auto has = [&buttons](const char *name) {
        return buttons.contains(QString::fromLatin1(name));
    };
    const bool zoom = has("pbZoom"), navigator = has("pbNavigator");
    const bool quick = has("pbExportQuick") && !zexport::exportFilters().empty();
    print->setVisible(has("pbPrint"));
    open->setVisible(has("pbLoad"));
    save->setVisible(has("pbSave"));
    exportAction->setVisible(has("pbExport") && !zexport::exportFilters().empty());
    pdf->setVisible(quick);
    email->setVisible(quick && !has("pbNoEmail"));
    find->setVisible(has("pbFind"));
    for (QAction *action : {zoomIn, m_zoomComboAction, zoomOut})
        action->setVisible(zoom);
    fullScreen->setVisible(zoom && !has("pbNoFullScreen"));
    outline->setVisible(has("pbOutline"));
    thumbnails->setVisible(has("pbOutline"));
    pageSetup->setVisible(has("pbPageSetup"));
    edit->setVisible(has("pbEdit"));
    for (QAction *action : {first, prior, m_pageEditAction, next, last})
        action->setVisible(navigator);
    close->setVisible(!has("pbNoClose"));
    m_findSeparator->setVisible(zoom);
    m_fullScreenSeparator->setVisible(pageSetup->isVisible() || edit->isVisible());
    m_editSeparator->setVisible(navigator);
}

void PreviewToolBar::setRunning(bool running)
{
    for (QAction *action : {print, open, save, exportAction, pdf, email, find, pageSetup})
        action->setEnabled(!running);
    edit->setEnabled(!running && m_allowEdit);
    if (!running)
        close->setText(QStringLiteral("Закрыть"));
}

} // namespace zpreview
