#include "report/designer/design_view.h"
#include "report/designer/designer_window.h"
#include "report/report_units.h"
#include "templates/template_loader.h"
#include "templates/template_writer.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

using namespace zreport;
using namespace zdesigner;

namespace {

std::unique_ptr<TfrxReport> readXml(const QByteArray &xml)
{
    QByteArray bytes = xml;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QString error;
    auto report = ztemplates::loadTemplate(buffer, QStringLiteral("saved.xml"), &error);
    EXPECT_TRUE(report) << error.toStdString();
    return report;
}

template <typename T = TfrxView> T *objectNamed(const TfrxReport &report, const QString &name)
{
    for (const TfrxReportPage *page : report.reportPages()) {
        for (const auto &band : page->bands) {
            for (const auto &view : band->objects) {
                if (view->name == name)
                    return dynamic_cast<T *>(view.get());
            }
        }
    }
    return nullptr;
}

// The designer on the invoice, answering its questions and keeping what it saved.
class Designer : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString error;
        original = ztemplates::loadBuiltinTemplate(QStringLiteral("repSchet"), &error);
        ASSERT_TRUE(original) << error.toStdString();
        DesignerServices services;
        services.save = [this](const QByteArray &xml, QString *error) {
            if (!saveError.isEmpty()) {
                *error = saveError;
                return false;
            }
            saved = xml;
            return true;
        };
        services.preview = [this](const TfrxReport &report) { previewed = report.name; };
        services.ask = [this](QWidget *, const QString &question) {
            asked << question;
            return answer;
        };
        services.message = [this](QWidget *, const QString &text) { messages << text; };
        window = std::make_unique<DesignerWindow>(*original, services);
        window->show();
        view = window->view();
    }

    void trigger(const char *action)
    {
        auto *found = window->findChild<QAction *>(QLatin1String(action));
        ASSERT_TRUE(found) << action;
        ASSERT_TRUE(found->isEnabled()) << action;
        found->trigger();
    }

    TfrxView *object(const QString &name) { return objectNamed(window->document().report(), name); }

    QPoint at(const TfrxView *view, QPointF offsetUnits = {}) const
    {
        const QRectF box = window->document().rectOnPage(view);
        return window->view()->toWidget(box.topLeft() + offsetUnits).toPoint();
    }

    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mousePress(view, Qt::LeftButton, modifiers, from);
        QTest::mouseMove(view, (from + to) / 2);
        QTest::mouseMove(view, to);
        QTest::mouseRelease(view, Qt::LeftButton, modifiers, to);
    }

    // The template as "Сохранить" wrote it, read back.
    std::unique_ptr<TfrxReport> saveAndRead()
    {
        EXPECT_TRUE(window->save());
        return readXml(saved);
    }

    std::unique_ptr<TfrxReport> original;
    std::unique_ptr<DesignerWindow> window;
    DesignView *view = nullptr;
    QByteArray saved;
    QString saveError;
    QString previewed;
    QStringList asked, messages;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
};

TEST_F(Designer, DraggingMovesOnTheGridAndUndoRedoAndSaveFollow)
{
    TfrxView *logo = object(QStringLiteral("PicLogo"));
    ASSERT_TRUE(logo);
    const double left = logo->left, top = logo->top;
    // 20 mm right and 3 mm down at 100 %, from inside the picture; the grid is 1 mm.
    const QPoint from = at(logo, {10, 10});
    drag(from, from + QPoint(int(mmToUnits(20) + 1.4), int(mmToUnits(3) - 1.2)));
    EXPECT_DOUBLE_EQ(logo->left, mmToUnits(13 + 20));
    EXPECT_DOUBLE_EQ(logo->top, mmToUnits(10)); // 7.5 mm and a bit under 3 mm, on the grid
    EXPECT_TRUE(window->isModified());

    trigger("actUndo");
    EXPECT_EQ(logo->left, left);
    EXPECT_EQ(logo->top, top);
    EXPECT_FALSE(window->isModified());
    trigger("actRedo");
    EXPECT_DOUBLE_EQ(logo->left, mmToUnits(33));

    const auto back = saveAndRead();
    ASSERT_TRUE(back);
    EXPECT_DOUBLE_EQ(objectNamed(*back, "PicLogo")->left, mmToUnits(33));
    EXPECT_DOUBLE_EQ(objectNamed(*back, "PicLogo")->top, logo->top);
    EXPECT_FALSE(window->isModified());
    // The window designs a copy: the template it was given is as it was.
    EXPECT_EQ(objectNamed(*original, "PicLogo")->left, left);
}

TEST_F(Designer, AnObjectDroppedOverAnotherBandGoesIntoItWhereItWasDropped)
{
    TfrxView *logo = object(QStringLiteral("PicLogo"));
    auto *header = static_cast<TfrxBand *>(logo->parent);
    const double top = logo->top;
    // From the header's logo down into the footer, 40 mm under the footer's top.
    const double footerTop = window->document().bandTop(
        static_cast<TfrxBand *>(object(QStringLiteral("Memo35"))->parent));
    const QPoint from = at(logo, {2, 2});
    const QPoint to = view->toWidget({logo->left + 2, footerTop + mmToUnits(40) + 2}).toPoint();
    drag(from, to);
    ASSERT_EQ(static_cast<TfrxBand *>(logo->parent)->name, QStringLiteral("Footer1"));
    EXPECT_NEAR(logo->top, mmToUnits(40), mmToUnits(1));
    EXPECT_DOUBLE_EQ(window->document().rectOnPage(logo).top(),
                     footerTop + logo->top); // where it was dropped
    const auto back = saveAndRead();
    EXPECT_EQ(static_cast<TfrxBand *>(objectNamed(*back, "PicLogo")->parent)->name,
              QStringLiteral("Footer1"));

    trigger("actUndo"); // the move and the change of band at once
    EXPECT_EQ(logo->parent, header);
    EXPECT_EQ(logo->top, top);
    trigger("actRedo");
    EXPECT_EQ(static_cast<TfrxBand *>(logo->parent)->name, QStringLiteral("Footer1"));
}

TEST_F(Designer, AHandleResizesAndTheArrowKeysMoveAndSizeAsOneStep)
{
    TfrxView *memo = object(QStringLiteral("Memo8"));
    ASSERT_TRUE(memo);
    const QRectF before(memo->left, memo->top, memo->width, memo->height);
    QTest::mouseClick(view, Qt::LeftButton, {}, at(memo, {5, 5}));
    ASSERT_EQ(window->document().selection(), std::vector<TfrxView *>{memo});
    // The bottom-right handle, 10 mm to the left and 2 mm down: the edges land on the grid of
    // the band, the bottom from 27.327 mm + 2 mm at 29 mm.
    const QPoint corner = at(memo, {memo->width, memo->height});
    drag(corner, corner + QPoint(-int(mmToUnits(10)), int(mmToUnits(2))));
    EXPECT_DOUBLE_EQ(memo->width, mmToUnits(185 - 10));
    EXPECT_DOUBLE_EQ(memo->top + memo->height, mmToUnits(29));
    EXPECT_EQ(memo->left, before.left());
    EXPECT_EQ(memo->top, before.top());

    for (int i = 0; i < 3; ++i)
        QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(memo->left, mmToUnits(13 + 3));
    EXPECT_DOUBLE_EQ(memo->top + memo->height, mmToUnits(30));
    trigger("actUndo"); // the size by key
    trigger("actUndo"); // the three moves at once
    EXPECT_EQ(memo->left, before.left());
    EXPECT_DOUBLE_EQ(memo->top + memo->height, mmToUnits(29));
    trigger("actUndo"); // the resize with the mouse
    EXPECT_EQ(QRectF(memo->left, memo->top, memo->width, memo->height), before);
}

TEST_F(Designer, RubberBandAndShiftChooseObjectsThatAlignAndSizeAlike)
{
    TfrxView *a = object(QStringLiteral("Memo36")); // 13 mm, 58 mm wide
    TfrxView *b = object(QStringLiteral("Memo41")); // 69 mm, 128 mm wide
    TfrxView *c = object(QStringLiteral("Memo31")); // 137 mm
    QTest::mouseClick(view, Qt::LeftButton, {}, at(a, {3, 3}));
    QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, at(b, {3, 3}));
    QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, at(c, {3, 3}));
    EXPECT_EQ(window->document().selection(), (std::vector<TfrxView *>{a, b, c}));
    trigger("actAlignLeft");
    EXPECT_EQ(b->left, a->left);
    EXPECT_EQ(c->left, a->left);
    trigger("actSameWidth");
    EXPECT_EQ(b->width, a->width);
    trigger("actUndo");
    trigger("actUndo");
    EXPECT_DOUBLE_EQ(b->left, mmToUnits(69));
    EXPECT_DOUBLE_EQ(c->left, mmToUnits(137));

    // A rubber band from an empty place of the footer over the two memos of its first line.
    TfrxView *d = object(QStringLiteral("Memo33"));
    TfrxView *e = object(QStringLiteral("Memo34"));
    QTest::mouseClick(view, Qt::LeftButton, {}, view->toWidget({2, 2}).toPoint());
    drag(at(d, {-mmToUnits(5), -mmToUnits(0.5)}), at(e, {mmToUnits(10), mmToUnits(2)}));
    const std::vector<TfrxView *> &chosen = window->document().selection();
    EXPECT_NE(std::find(chosen.begin(), chosen.end(), d), chosen.end());
    EXPECT_NE(std::find(chosen.begin(), chosen.end(), e), chosen.end());
    trigger("actAlignTop");
    EXPECT_EQ(d->top, chosen.front()->top);
    EXPECT_EQ(e->top, chosen.front()->top);
}

TEST_F(Designer, AddedMemoWithTypedTextIsSavedInItsBandAndUndoRemovesIt)
{
    TfrxView *total = object(QStringLiteral("Memo35"));
    QTest::mouseClick(view, Qt::LeftButton, {}, at(total, {3, 3}));
    trigger("actAddMemo");
    ASSERT_EQ(window->document().selection().size(), 1u);
    auto *added = dynamic_cast<TfrxMemoView *>(window->document().selection().front());
    ASSERT_TRUE(added);
    EXPECT_EQ(added->parent, total->parent);
    EXPECT_EQ(added->top, total->top + total->height); // under the memo chosen
    auto *text = window->findChild<QPlainTextEdit *>(QStringLiteral("edtMemoText"));
    text->selectAll();
    for (const QChar c : QStringLiteral("Товар получен в полном объеме, претензий не имею")) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(text, &key);
    }
    EXPECT_EQ(added->memo, QStringList{"Товар получен в полном объеме, претензий не имею"});
    // Enter in another box of the panel inserts no field into the text.
    auto *format = window->findChild<QLineEdit *>(QStringLiteral("edtFormatStr"));
    format->setFocus();
    QTest::keyClick(format, Qt::Key_Return);
    EXPECT_EQ(added->memo, QStringList{"Товар получен в полном объеме, претензий не имею"});

    const auto back = saveAndRead();
    auto *stored = objectNamed<TfrxMemoView>(*back, added->name);
    ASSERT_TRUE(stored);
    EXPECT_EQ(static_cast<TfrxBand *>(stored->parent)->name, QStringLiteral("Footer1"));
    EXPECT_EQ(stored->memo, added->memo);
    EXPECT_EQ(stored->font, total->font); // the band's font, as the engine gives it

    // The typing is one step, the adding another.
    const QString name = added->name;
    trigger("actUndo");
    trigger("actUndo");
    EXPECT_FALSE(object(name));
    trigger("actRedo");
    EXPECT_TRUE(object(name));
}

TEST_F(Designer, PanelChangesGoToEveryChosenObjectEachAsAStepOfItsOwn)
{
    const QByteArray untouched = ztemplates::writeTemplate(window->document().report());
    auto *a = dynamic_cast<TfrxMemoView *>(object(QStringLiteral("Memo36")));
    auto *b = dynamic_cast<TfrxMemoView *>(object(QStringLiteral("Memo38")));
    QTest::mouseClick(view, Qt::LeftButton, {}, at(a, {3, 3}));
    QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, at(b, {3, 3}));
    window->findChild<QCheckBox *>(QStringLiteral("chkBold"))->click();
    window->findChild<QSpinBox *>(QStringLiteral("spnFontSize"))->setValue(14);
    window->findChild<QCheckBox *>(QStringLiteral("chkFrameLeft"))->click();
    auto *hAlign = window->findChild<QComboBox *>(QStringLiteral("cmbHAlign"));
    hAlign->setCurrentIndex(2);
    emit hAlign->activated(2);
    const auto back = saveAndRead();
    for (const char *name : {"Memo36", "Memo38"}) {
        SCOPED_TRACE(name);
        const auto *memo = objectNamed<TfrxMemoView>(*back, name);
        EXPECT_TRUE(memo->font.bold);
        EXPECT_EQ(memo->font.pointSize(), 14);
        EXPECT_TRUE(memo->frame.typ & ftLeft);
        EXPECT_EQ(memo->hAlign, HAlign::haCenter);
    }
    for (int i = 0; i < 4; ++i)
        trigger("actUndo");
    EXPECT_FALSE(window->findChild<QAction *>(QStringLiteral("actUndo"))->isEnabled());
    EXPECT_EQ(ztemplates::writeTemplate(window->document().report()), untouched);
}

TEST_F(Designer, AFieldOfTheFormIsInsertedIntoTheTextAtTheCursor)
{
    auto *memo = dynamic_cast<TfrxMemoView *>(object(QStringLiteral("Memo8")));
    QTest::mouseClick(view, Qt::LeftButton, {}, at(memo, {3, 3}));
    auto *fields = window->findChild<QComboBox *>(QStringLiteral("cmbFields"));
    // The fields the form's objects use, then the engine's variables.
    const int number = fields->findText(QStringLiteral("[DSetDocs.\"NUMSCH\"]"));
    ASSERT_GE(number, 0);
    EXPECT_GE(fields->findText(QStringLiteral("[Page#]")), 0);
    fields->setCurrentIndex(number);
    auto *text = window->findChild<QPlainTextEdit *>(QStringLiteral("edtMemoText"));
    text->moveCursor(QTextCursor::End);
    text->insertPlainText(QStringLiteral(" № "));
    window->findChild<QPushButton *>(QStringLiteral("btnInsertField"))->click();
    EXPECT_EQ(memo->memo, QStringList{"Образец платежного поручения № [DSetDocs.\"NUMSCH\"]"});
}

TEST_F(Designer, AddCommandsMakeEachKindWithANameOfItsOwn)
{
    QTest::mouseClick(view, Qt::LeftButton, {}, view->toWidget({2, 2}).toPoint());
    QStringList names;
    for (const char *action : {"actAddMemo", "actAddPicture", "actAddLine", "actAddRectangle"}) {
        trigger(action);
        names << window->document().selection().front()->name;
    }
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 4);
    const auto back = saveAndRead();
    EXPECT_TRUE(objectNamed<TfrxPictureView>(*back, names[1]));
    EXPECT_EQ(objectNamed(*back, names[2])->frame.typ, unsigned(ftTop));
    EXPECT_EQ(objectNamed(*back, names[3])->frame.typ,
              unsigned(ftLeft | ftRight | ftTop | ftBottom));
}

TEST_F(Designer, DeleteAndUndoGiveBackTheSameTemplate)
{
    const QByteArray untouched = ztemplates::writeTemplate(window->document().report());
    TfrxView *a = object(QStringLiteral("Memo26"));
    TfrxView *b = object(QStringLiteral("Memo29"));
    QTest::mouseClick(view, Qt::LeftButton, {}, at(a, {3, 3}));
    QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, at(b, {3, 3}));
    trigger("actDelete");
    EXPECT_FALSE(object(QStringLiteral("Memo26")));
    EXPECT_FALSE(object(QStringLiteral("Memo29")));
    EXPECT_TRUE(window->document().selection().empty());
    trigger("actUndo");
    // In their places among the band's objects: the written template is byte for byte the same.
    EXPECT_EQ(ztemplates::writeTemplate(window->document().report()), untouched);
}

TEST_F(Designer, CopyAndPastePutNewlyNamedCopiesBesideTheOriginals)
{
    TfrxView *a = object(QStringLiteral("Memo38"));
    QTest::mouseClick(view, Qt::LeftButton, {}, at(a, {3, 3}));
    trigger("actCopy");
    trigger("actPaste");
    trigger("actPaste");
    const auto back = saveAndRead();
    int copies = 0;
    for (const auto &band : back->reportPages().front()->bands) {
        for (const auto &v : band->objects) {
            const auto *memo = dynamic_cast<const TfrxMemoView *>(v.get());
            if (memo && v->name != "Memo38" && memo->memo == dynamic_cast<TfrxMemoView *>(a)->memo)
                ++copies;
        }
    }
    EXPECT_EQ(copies, 2); // and the loader refused no name as taken twice
}

TEST_F(Designer, BandHeightAndPageOrientationAreUndoable)
{
    TfrxView *memo = object(QStringLiteral("Memo25"));
    QTest::mouseClick(view, Qt::LeftButton, {}, at(memo, {3, 3}));
    auto *height = window->findChild<QDoubleSpinBox *>(QStringLiteral("spnBandHeight"));
    height->setValue(8);
    EXPECT_DOUBLE_EQ(static_cast<TfrxBand *>(memo->parent)->height, mmToUnits(8));

    auto *orientation = window->findChild<QComboBox *>(QStringLiteral("cmbOrientation"));
    orientation->setCurrentIndex(1);
    emit orientation->activated(1);
    const PageSettings &page = window->document().page()->settings;
    EXPECT_EQ(page.orientation, PageOrientation::poLandscape);
    EXPECT_EQ(page.paperWidth, 297);
    const auto back = saveAndRead();
    EXPECT_EQ(back->reportPages().front()->settings, page);

    trigger("actUndo");
    trigger("actUndo");
    EXPECT_EQ(page.orientation, PageOrientation::poPortrait);
    EXPECT_DOUBLE_EQ(static_cast<TfrxBand *>(memo->parent)->height, mmToUnits(5));
}

struct CloseCase {
    const char *name;
    QMessageBox::StandardButton answer;
    QString saveError;
    bool closed;
    bool saved;
};

class ClosingWithChanges : public Designer, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingWithChanges, AsksAndDoesWhatWasAnswered)
{
    answer = GetParam().answer;
    saveError = GetParam().saveError;
    QTest::mouseClick(view, Qt::LeftButton, {}, at(object("Memo3"), {3, 3}));
    trigger("actDelete");
    window->reject();
    EXPECT_EQ(asked, QStringList{"Сохранить изменения в шаблоне repSchet?"});
    EXPECT_EQ(window->isVisible(), !GetParam().closed);
    EXPECT_EQ(!saved.isEmpty(), GetParam().saved);
    if (!saveError.isEmpty()) {
        EXPECT_EQ(messages, QStringList{"Шаблон не сохранен:\n" + saveError});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ClosingWithChanges,
    ::testing::Values(CloseCase{"cancel", QMessageBox::Cancel, {}, false, false},
                      CloseCase{"no", QMessageBox::No, {}, true, false},
                      CloseCase{"yes", QMessageBox::Yes, {}, true, true},
                      CloseCase{"yesButSaveFails", QMessageBox::Yes, "нет связи", false, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Designer, ClosingUnchangedAsksNothingAndPreviewShowsTheChangedForm)
{
    trigger("actPreview");
    EXPECT_EQ(previewed, QStringLiteral("repSchet"));
    window->reject();
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_FALSE(window->isVisible());
}

} // namespace
