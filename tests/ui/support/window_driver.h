#pragma once

#include <QStringList>
#include <QWidget>

#include <gtest/gtest.h>

class Dataset;
class DbGrid;

// Drives windows the way a user does: finds controls by their names and clicks them.

template <class T> T *child(const QWidget &window, const char *name)
{
    T *found = window.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        ADD_FAILURE() << "no control " << name;
    return found;
}

void click(const QWidget &window, const char *buttonName);
// Clicks a row of a grid, as the user selects a record.
void clickRow(DbGrid &grid, int row);
// Clicks a column title of a grid.
void clickTitle(DbGrid &grid, int column);
// The tooltip the grid shows with the pointer resting on the row (its first cell).
QString rowToolTip(DbGrid &grid, int row);
// Replaces the text of an edit box by typing.
void typeInto(const QWidget &window, const char *boxName, const QString &text);

// The display texts of one field over every row of a dataset.
QStringList columnTexts(Dataset &dataset, const QString &field);
