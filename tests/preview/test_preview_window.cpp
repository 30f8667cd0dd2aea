#include "preview_fixture.h"
#include "qt_printing.h"

#include "report/preview/find_dialog.h"
#include "report/preview/page_editor_dialog.h"
#include "report/preview/page_settings_dialog.h"
#include "report/preview/show_report.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <functional>

using zpreview::PageView;
using zpreview::PreviewWindow;

namespace {

struct Preview {
    explicit Preview(const QString &xml, int rowCount = 40)
        : report(reportFromXml(xml)), source(rows(rowCount)),
          window(*report, {{"src", source.get()}}, user.hooks())
    {
        window.resize(1000, 800);
    }
    QString status() { return child<QLabel>(&window, "pageStatus")->text(); }
    void trigger(const char *action) { child<QAction>(&window, action)->trigger(); }

    ScriptedUser user;
    std::unique_ptr<zreport::TfrxReport> report;
    std::unique_ptr<zreport::MemoryRows> source;
    PreviewWindow window;
};

TEST(ShowReport, OpensTheMaximisedModalPreviewAndBuildsThePagesInIt)
{
    auto report = reportFromXml(rowsReportXml());
    auto source = rows(60);
    ScriptedUser user;
    bool sawPages = false;
    QString title;
    bool maximised = false, modal = false;
    // Watches the modal window from inside its own loop, then closes it as the user would.
    std::function<void()> watch = [&] {
        auto *window = qobject_cast<PreviewWindow *>(QApplication::activeModalWidget());
        if (!window || window->isRunning() || window->prepared().pageCount() == 0) {
            QTimer::singleShot(10, watch);
            return;
        }
        title = window->windowTitle();
        maximised = window->windowState() & Qt::WindowMaximized;
        modal = window->isModal();
        sawPages = window->prepared().pageCount() > 2;
        QTest::keyClick(window, Qt::Key_Escape);
    };
    QTimer::singleShot(0, watch);
    zpreview::showReport(*report, {{"src", source.get()}}, user.hooks());
    EXPECT_EQ(title, "Предварительный просмотр");
    EXPECT_TRUE(maximised);
    EXPECT_TRUE(modal);
    EXPECT_TRUE(sawPages);
    EXPECT_TRUE(user.messages.isEmpty());
}

TEST(PreviewWindow, ShowsPagesAndGoesToTypedPageWithinRange)
{
    Preview one(rowsReportXml(), 1);
    one.window.runReport();
    EXPECT_EQ(one.status(), "Страница 1 из 1");

    Preview many(rowsReportXml(), 60);
    many.window.runReport();
    const int count = many.window.prepared().pageCount();
    ASSERT_GT(count, 2);
    auto *pageEdit = child<QLineEdit>(&many.window, "pageNumberEdit");
    for (const auto &[typed, expected] : {std::pair{"2", 2}, {"999", count}, {"0", 1}}) {
        pageEdit->setText(QString::fromLatin1(typed));
        emit pageEdit->returnPressed();
        EXPECT_EQ(many.window.currentPage(), expected) << typed;
        EXPECT_EQ(many.status(), QStringLiteral("Страница %1 из %2").arg(expected).arg(count));
        EXPECT_EQ(pageEdit->text(), QString::number(expected));
    }
    many.trigger("lastPageAction");
    many.trigger("nextPageAction");
    EXPECT_EQ(many.window.currentPage(), count);
    many.trigger("firstPageAction");
    many.trigger("priorPageAction");
    EXPECT_EQ(many.window.currentPage(), 1);
}

TEST(PreviewWindow, EscapeStopsTheRunThenClosesTheWindow)
{
    Preview preview(rowsReportXml(), 4000);
    preview.window.show();
    bool closedWhileRunning = true;
    // The run lets events through within a long first page too (on a busy machine it may be
    // the first thing that happens), but "Отмена" appears with the first finished page.
    std::function<void()> pressEscape = [&] {
        ASSERT_TRUE(preview.window.isRunning());
        QAction *close = child<QAction>(&preview.window, "closeAction");
        if (close->text() != "Отмена") {
            QTimer::singleShot(0, &preview.window, pressEscape);
            return;
        }
        closedWhileRunning = preview.window.close();
        QTest::keyClick(&preview.window, Qt::Key_Escape);
    };
    QTimer::singleShot(0, &preview.window, pressEscape);
    preview.window.runReport();
    EXPECT_FALSE(closedWhileRunning);
    EXPECT_FALSE(preview.window.isRunning());
    EXPECT_TRUE(preview.window.isVisible());
    const int pages = preview.window.prepared().pageCount();
    EXPECT_GT(pages, 0);
    EXPECT_LT(pages, 200); // 4000 rows would make several hundred pages
    EXPECT_EQ(child<QAction>(&preview.window, "closeAction")->text(), "Закрыть");
    EXPECT_TRUE(child<QAction>(&preview.window, "printAction")->isEnabled());

    QTest::keyClick(&preview.window, Qt::Key_Escape);
    EXPECT_FALSE(preview.window.isVisible());
}

// Rows whose source goes away in the middle of a run, as a database whose server stops.
class RowsLostAt : public zreport::MemoryRows {
public:
    RowsLostAt(int count, int lostAt)
        : MemoryRows({{"N", zreport::FieldKind::Numeric}, {"S", zreport::FieldKind::String}}),
          m_lostAt(lostAt)
    {
        for (int i = 1; i <= count; ++i)
            addRow({i, QStringLiteral("row %1").arg(i)});
    }
    void next() override
    {
        if (currentRow() + 1 == m_lostAt)
            throw zreport::RowsError{QStringLiteral("Соединение с базой данных потеряно")};
        MemoryRows::next();
    }

private:
    int m_lostAt;
};

TEST(PreviewWindow, RowsLostInTheMiddleOfARunAreReportedAndTheWindowStillCloses)
{
    auto report = reportFromXml(rowsReportXml());
    RowsLostAt source(400, 150);
    ScriptedUser user;
    PreviewWindow window(*report, {{"src", &source}}, user.hooks());
    window.show();
    window.runReport();
    EXPECT_FALSE(window.isRunning());
    ASSERT_EQ(user.messages.size(), 1);
    EXPECT_TRUE(user.messages[0].contains("Соединение с базой данных потеряно"))
        << user.messages[0].toStdString();
    EXPECT_GT(window.prepared().pageCount(), 0) << "the pages made before stay to look at";
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST(PreviewWindow, ZoomKeepsItsFloors)
{
    Preview preview(rowsReportXml());
    preview.window.show();
    preview.window.runReport();
    PageView *view = preview.window.pageView();
    auto *combo = child<QComboBox>(&preview.window, "zoomCombo");

    view->setZoom(0.25);
    preview.trigger("zoomOutAction");
    EXPECT_DOUBLE_EQ(view->zoom(), 0.25);
    EXPECT_EQ(combo->currentText(), "25%");
    preview.trigger("zoomInAction");
    EXPECT_DOUBLE_EQ(view->zoom(), 0.5);

    view->setZoom(0.35);
    const auto wheel = [&](int notches) {
        QWheelEvent event(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), QPoint(),
                          QPoint(0, 120 * notches), Qt::NoButton, Qt::ControlModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view->viewport(), &event);
    };
    wheel(-1);
    EXPECT_NEAR(view->zoom(), 0.3, 1e-9);
    wheel(-1);
    EXPECT_NEAR(view->zoom(), 0.3, 1e-9);
    wheel(+1);
    EXPECT_NEAR(view->zoom(), 0.4, 1e-9);

    for (const char *text : {"150%", " 75 % "}) {
        combo->setEditText(QString::fromLatin1(text));
        emit combo->textActivated(combo->currentText());
    }
    EXPECT_DOUBLE_EQ(view->zoom(), 0.75);
    EXPECT_EQ(view->zoomMode(), PageView::ZoomMode::Default);

    // 100 mm wide pages: page width fills the area less the scroll bar and 26 pixels.
    const int scrollBar = view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
    const double pageWidth = 100 * 3.77953;
    emit combo->textActivated(QStringLiteral("По ширине"));
    EXPECT_NEAR(view->zoom(), (view->width() - scrollBar - 26) / pageWidth, 1e-9);
    emit combo->textActivated(QStringLiteral("Страница целиком"));
    EXPECT_NEAR(
        view->zoom(),
        std::min((view->width() - scrollBar - 26) / pageWidth, (view->height() - 26) / pageWidth),
        1e-9);
    EXPECT_EQ(combo->currentText(), QStringLiteral("%1%").arg(std::lround(view->zoom() * 100)));
}

TEST(PreviewWindow, FullScreenHidesTheBarsAndComesBack)
{
    Preview preview(rowsReportXml());
    preview.window.show();
    preview.window.runReport();
    auto *toolBar = child<QToolBar>(&preview.window, "toolBar");
    QTest::keyClick(&preview.window, Qt::Key_F11);
    EXPECT_TRUE(preview.window.isVisible());
    EXPECT_TRUE(preview.window.windowState() & Qt::WindowFullScreen);
    EXPECT_FALSE(toolBar->isVisible());
    EXPECT_FALSE(child<QWidget>(&preview.window, "statusBar")->isVisible());
    QTest::mouseDClick(preview.window.pageView()->viewport(), Qt::LeftButton);
    EXPECT_TRUE(toolBar->isVisible());
    EXPECT_FALSE(preview.window.windowState() & Qt::WindowFullScreen);
    preview.trigger("fullScreenAction");
    EXPECT_FALSE(toolBar->isVisible());
}

TEST(PreviewWindow, PagesStandInRowsAsWideAsFit)
{
    Preview preview(rowsReportXml(), 60);
    preview.window.show();
    preview.window.runReport();
    PageView *view = preview.window.pageView();
    view->setZoom(1.0);
    const auto &rects = view->pageRects();
    ASSERT_GE(rects.size(), 3u);
    // A page is 378 px wide: two fit side by side in a 1000 px window, centred, 10 px apart.
    EXPECT_EQ(rects[0].top(), 10);
    EXPECT_EQ(rects[1].top(), rects[0].top());
    EXPECT_EQ(rects[1].left() - rects[0].right() - 1, 10);
    EXPECT_EQ(rects[2].top(), rects[0].bottom() + 1 + 10);
    const int rowWidth = rects[1].right() + 1 - rects[0].left();
    EXPECT_LE(std::abs(rects[0].left() - (view->viewport()->width() - rowWidth) / 2), 1);

    view->setZoom(3.0);
    EXPECT_GT(view->pageRects()[1].top(), view->pageRects()[0].bottom());
}

TEST(PreviewWindow, ToolbarHasItsControlsInOrder)
{
    Preview preview(rowsReportXml());
    QStringList hints;
    for (QAction *action : child<QToolBar>(&preview.window, "toolBar")->actions())
        hints << (action->isSeparator() ? QStringLiteral("|") : action->toolTip());
    EXPECT_EQ(hints, (QStringList{"Печать",
                                  "Открыть",
                                  "Сохранить",
                                  "Экспорт",
                                  "Сохранить в PDF",
                                  "Отослать по E-mail",
                                  "Найти",
                                  "|",
                                  "Увеличить",
                                  "Масштаб",
                                  "Уменьшить",
                                  "Во весь экран",
                                  "|",
                                  "Дерево отчета",
                                  "Миниатюры",
                                  "Свойства страницы",
                                  "Редактировать страницу",
                                  "|",
                                  "На первую страницу",
                                  "На предыдущую страницу",
                                  "Номер страницы",
                                  "На следующую страницу",
                                  "На последнюю страницу",
                                  "Закрыть"}));
    EXPECT_EQ(preview.window.windowTitle(), "Предварительный просмотр");
}

TEST(PreviewWindow, ButtonsAndSeparatorsFollowThePreviewOptions)
{
    struct Case {
        QStringList removed;
        bool findSeparator, fullScreenSeparator, editSeparator;
    };
    const Case cases[] = {
        {{}, true, true, true},
        {{"pbZoom"}, false, true, true},
        {{"pbPageSetup", "pbEdit"}, true, false, true},
        {{"pbNavigator"}, true, true, false},
    };
    for (const Case &c : cases) {
        auto report = reportFromXml(rowsReportXml());
        for (const QString &button : c.removed)
            report->previewOptions.buttons.removeAll(button);
        ScriptedUser user;
        PreviewWindow window(*report, {}, user.hooks());
        const auto visible = [&](const char *name) {
            return child<QAction>(&window, name)->isVisible();
        };
        SCOPED_TRACE(c.removed.join(',').toStdString());
        EXPECT_EQ(visible("findSeparator"), c.findSeparator);
        EXPECT_EQ(visible("fullScreenSeparator"), c.fullScreenSeparator);
        EXPECT_EQ(visible("editSeparator"), c.editSeparator);
        EXPECT_EQ(visible("zoomInAction"), !c.removed.contains("pbZoom"));
        EXPECT_EQ(visible("nextPageAction"), !c.removed.contains("pbNavigator"));
    }
}

TEST(PreviewWindow, FindsTextPageByPageAndContinuesWithF3)
{
    Preview preview(rowsReportXml(), 60);
    preview.window.runReport();
    const auto find = [&](const QString &text, bool fromStart, bool caseSensitive) {
        preview.user.dialogs.push_back([=](QDialog &dialog) {
            child<QLineEdit>(&dialog, "findTextEdit")->setText(text);
            child<QCheckBox>(&dialog, "fromStartCheck")->setChecked(fromStart);
            child<QCheckBox>(&dialog, "caseSensitiveCheck")->setChecked(caseSensitive);
            return int(QDialog::Accepted);
        });
        preview.trigger("findAction");
    };
    const auto pageOfRow = [&](int row) {
        const auto &pages = preview.window.prepared().pages();
        for (size_t p = 0; p < pages.size(); ++p)
            for (const auto &object : pages[p].objects)
                if (object.text == QStringLiteral("Строка %1").arg(row))
                    return int(p) + 1;
        return 0;
    };

    find(QStringLiteral("строка 6"), true, false);
    EXPECT_EQ(preview.window.currentPage(), pageOfRow(6));
    QTest::keyClick(preview.window.pageView(), Qt::Key_F3);
    EXPECT_EQ(preview.window.currentPage(), pageOfRow(60));
    EXPECT_NE(pageOfRow(6), pageOfRow(60));
    EXPECT_TRUE(preview.user.messages.isEmpty());
    QTest::keyClick(preview.window.pageView(), Qt::Key_F3);
    EXPECT_EQ(preview.user.messages, QStringList{"Текст не найден"});

    find(QStringLiteral("строка 6"), true, true);
    EXPECT_EQ(preview.user.messages.size(), 2);
    EXPECT_EQ(preview.user.messages.last(), "Текст не найден");
}

TEST(PreviewWindow, PageSettingsApplyToAllPagesOrToTheCurrentOne)
{
    Preview preview(rowsReportXml(100), 60);
    preview.window.runReport();
    const int before = preview.window.prepared().pageCount();
    const auto choose = [&](double heightCm, const char *scope) {
        preview.user.dialogs.push_back([=](QDialog &dialog) {
            child<QDoubleSpinBox>(&dialog, "paperHeightSpin")->setValue(heightCm);
            child<QRadioButton>(&dialog, scope)->setChecked(true);
            return int(QDialog::Accepted);
        });
        preview.trigger("pageSettingsAction");
    };

    preview.window.pageView()->goToPage(2);
    choose(15, "applyToCurrentRadio");
    const auto &pages = preview.window.prepared().pages();
    EXPECT_EQ(preview.window.prepared().pageCount(), before);
    EXPECT_DOUBLE_EQ(pages[1].settings.paperHeight, 150);
    EXPECT_DOUBLE_EQ(pages[0].settings.paperHeight, 100);
    EXPECT_DOUBLE_EQ(pages[2].settings.paperHeight, 100);

    choose(20, "applyToAllRadio");
    const auto &relaid = preview.window.prepared().pages();
    EXPECT_LE(preview.window.prepared().pageCount(), (before + 1) / 2);
    for (const auto &page : relaid)
        EXPECT_DOUBLE_EQ(page.settings.paperHeight, 200);
    EXPECT_EQ(preview.user.dialogTitles.last(), "Настройки страницы");
}

TEST(PreviewWindow, PageSettingsForAllPagesLeaveTheTemplateAsItIs)
{
    auto report = reportFromXml(rowsReportXml(100));
    auto source = rows(20);
    {
        ScriptedUser user;
        PreviewWindow window(*report, {{"src", source.get()}}, user.hooks());
        window.runReport();
        user.dialogs.push_back([](QDialog &dialog) {
            child<QDoubleSpinBox>(&dialog, "paperHeightSpin")->setValue(20);
            child<QRadioButton>(&dialog, "applyToAllRadio")->setChecked(true);
            return int(QDialog::Accepted);
        });
        child<QAction>(&window, "pageSettingsAction")->trigger();
        EXPECT_DOUBLE_EQ(window.prepared().pages().front().settings.paperHeight, 200)
            << "every page laid out on the chosen paper";
        EXPECT_DOUBLE_EQ(report->reportPages().front()->settings.paperHeight, 100)
            << "the caller's template is never changed";
    }
    EXPECT_DOUBLE_EQ(report->reportPages().front()->settings.paperHeight, 100);
}

TEST(PreviewWindow, PageEditorChangesThePreparedPageOnly)
{
    Preview preview(rowsReportXml(), 5);
    preview.window.show();
    preview.window.runReport();
    // A click on "Строка 3" picks it for the editor.
    PageView *view = preview.window.pageView();
    view->setZoom(1.0);
    view->goToPage(1);
    const auto &first = preview.window.prepared().pages().front();
    const auto &band = first.bands.at(3); // title, rows 1, 2, 3
    ASSERT_EQ(first.objects[band.firstObject].text, "Строка 3");
    const QPointF inPage(band.left + first.objects[band.firstObject].left + 20, band.top + 5);
    QTest::mouseClick(
        view->viewport(), Qt::LeftButton, {},
        view->pageRects()[0].topLeft() + inPage.toPoint() -
            QPoint(view->horizontalScrollBar()->value(), view->verticalScrollBar()->value()));
    preview.user.dialogs.push_back([](QDialog &dialog) {
        auto *list = child<QListWidget>(&dialog, "objectList");
        EXPECT_TRUE(list->currentItem() && list->currentItem()->text().endsWith("Строка 3"));
        child<QPlainTextEdit>(&dialog, "objectTextEdit")
            ->setPlainText(QStringLiteral("Исправлено вручную, длинный текст в две строки и даже "
                                          "больше, чтобы перенести"));
        return int(QDialog::Accepted);
    });
    preview.trigger("editAction");
    const auto &page = preview.window.prepared().pages().front();
    const auto edited = std::find_if(page.objects.begin(), page.objects.end(), [](const auto &o) {
        return o.text.startsWith(QStringLiteral("Исправлено"));
    });
    ASSERT_NE(edited, page.objects.end());
    EXPECT_GT(edited->lineCount, 1u);
    EXPECT_EQ(page.lineText(*edited, page.lines[edited->firstLine]).left(10).toString(),
              QStringLiteral("Исправлено"));

    // Building again gives the template's text back.
    preview.window.runReport();
    EXPECT_EQ(preview.window.prepared().pages().front().objects[3].text, "Строка 3");
}

TEST(PreviewWindow, EditCommandOpensTheTemplateOfTheFormWhenADesignerIsGiven)
{
    auto report = reportFromXml(rowsReportXml());
    auto source = rows(5);
    ScriptedUser user;
    zpreview::PreviewHooks hooks = user.hooks();
    QString edited;
    const zreport::TfrxReport *editedReport = nullptr;
    zreport::ReportRows *editedRows = nullptr;
    hooks.editTemplate = [&](QWidget *, const QString &name, const zreport::TfrxReport &form,
                             const zreport::DataSources &sources) {
        edited = name;
        editedReport = &form;
        editedRows = sources.value(QStringLiteral("src"));
    };
    PreviewWindow window(*report, {{"src", source.get()}}, hooks);
    window.show();
    window.runReport();
    child<QAction>(&window, "editAction")->trigger();
    EXPECT_EQ(edited, report->name);
    EXPECT_EQ(editedReport, report.get());
    EXPECT_EQ(editedRows, source.get()); // so the designer's "Просмотр" shows the same document
    EXPECT_TRUE(user.dialogTitles.isEmpty()) << "no page editor";
}

} // namespace
