#include "window_driver.h"

#include "data/dataset.h"
#include "ui/db_grid.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

void click(const QWidget &window, const char *buttonName)
{
    auto *button = child<QPushButton>(window, buttonName);
    ASSERT_TRUE(button);
    ASSERT_TRUE(button->isEnabled()) << buttonName << " is disabled";
    button->click();
}

void clickRow(DbGrid &grid, int row)
{
    // The grid fetches the rows it shows when it lays itself out, as on the screen.
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid.model()->rowCount() > row; }, 2000))
        << "row " << row << " never came";
    const QRect cell = grid.visualRect(grid.model()->index(row, 0));
    ASSERT_TRUE(cell.isValid()) << "row " << row << " is not on the screen";
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
}

void clickTitle(DbGrid &grid, int column)
{
    QHeaderView *titles = grid.horizontalHeader();
    const int x = titles->sectionViewportPosition(column) + titles->sectionSize(column) / 2;
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, QPoint(x, titles->height() / 2));
}

void typeInto(const QWidget &window, const char *boxName, const QString &text)
{
    auto *box = child<QLineEdit>(window, boxName);
    ASSERT_TRUE(box);
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    // One key per character, Cyrillic ones included (keyClicks knows only ASCII).
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
}

QStringList columnTexts(Dataset &dataset, const QString &field)
{
    QStringList texts;
    const int index = dataset.fieldIndex(field);
    const int rows = dataset.recordCount();
    for (int row = 0; row < rows; ++row)
        texts << dataset.displayTextAt(row, index);
    return texts;
}

QString rowToolTip(DbGrid &grid, int row)
{
    QToolTip::hideText();
    const QRect cell = grid.visualRect(grid.model()->index(row, 0));
    QHelpEvent event(QEvent::ToolTip, cell.center(), grid.viewport()->mapToGlobal(cell.center()));
    QCoreApplication::sendEvent(grid.viewport(), &event);
    return QToolTip::text();
}
