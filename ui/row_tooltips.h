#pragma once

#include <QString>

#include <functional>

class QAbstractItemView;

// Shows over each row of `view` the tooltip `tip` gives for that row (none for an empty text).
// It is asked only for the row under the pointer, when the tooltip is due, so that a window may
// read it from the database then instead of for every row it lists; a database error there
// shows no tooltip.
void setRowToolTips(QAbstractItemView *view, std::function<QString(int row)> tip);
