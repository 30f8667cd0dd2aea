#include "ui/date_edit.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A date field between two text boxes, in a window that has the keyboard.
class DateField : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto *layout = new QHBoxLayout(&window);
        before = new QLineEdit(&window);
        date = new DateEdit(&window);
        after = new QLineEdit(&window);
        for (QWidget *w : {static_cast<QWidget *>(before), static_cast<QWidget *>(date),
                           static_cast<QWidget *>(after)})
            layout->addWidget(w);
        date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        date->setDate(QDate(2026, 3, 17));
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QLineEdit &text() { return *date->findChild<QLineEdit *>(); }

    // The middle of the character at position in the field's text, where a click lands on it.
    QPoint characterCentre(int position)
    {
        const QFontMetrics metrics(text().font());
        const QString shown = text().text();
        const int x = metrics.horizontalAdvance(shown.left(position)) +
                      metrics.horizontalAdvance(shown.at(position)) / 2;
        return {text().contentsRect().left() + text().textMargins().left() + 2 + x,
                text().height() / 2};
    }

    QWidget window;
    QLineEdit *before = nullptr;
    DateEdit *date = nullptr;
    QLineEdit *after = nullptr;
};

TEST_F(DateField, IsOneTabStopBothWays)
{
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    EXPECT_TRUE(date->hasFocus());
    QTest::keyClick(date, Qt::Key_Tab);
    EXPECT_TRUE(after->hasFocus()) << "Tab stayed in the date";
    QTest::keyClick(after, Qt::Key_Backtab);
    EXPECT_TRUE(date->hasFocus());
    QTest::keyClick(date, Qt::Key_Backtab);
    EXPECT_TRUE(before->hasFocus()) << "Shift+Tab stayed in the date";
}

struct ClickCase {
    int position; // of the character clicked
    QString marked;
    QString typed;
    QDate date;
};

void PrintTo(const ClickCase &c, std::ostream *os)
{
    *os << "click at " << c.position << " marks " << c.marked.toStdString();
}

class DateFieldClick : public DateField, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(DateFieldClick, MarksThePartItLandsOnForTypingOver)
{
    const ClickCase &c = GetParam();
    QTest::mouseClick(&text(), Qt::LeftButton, {}, characterCentre(c.position));
    EXPECT_EQ(text().selectedText(), c.marked);
    QTest::keyClicks(date, c.typed);
    EXPECT_EQ(date->date(), c.date);
}

INSTANTIATE_TEST_SUITE_P(
    Parts, DateFieldClick,
    ::testing::Values(ClickCase{0, QStringLiteral("17"), QStringLiteral("05"), QDate(2026, 3, 5)},
                      ClickCase{4, QStringLiteral("03"), QStringLiteral("05"), QDate(2026, 5, 17)},
                      ClickCase{7, QStringLiteral("2026"), QStringLiteral("2027"),
                                QDate(2027, 3, 17)}),
    [](const auto &info) { return "Character" + std::to_string(info.param.position); });

TEST_F(DateField, TheCalendarDropsDownFromTheKeyboard)
{
    date->setFocus();
    QTest::keyClick(date, Qt::Key_Down, Qt::AltModifier);
    QCalendarWidget *calendar = date->calendarWidget();
    ASSERT_TRUE(calendar);
    EXPECT_TRUE(calendar->isVisible());
    EXPECT_EQ(calendar->selectedDate(), QDate(2026, 3, 17));
}

} // namespace
