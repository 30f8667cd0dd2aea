#include "row_tooltips.h"

#include "data/db_error.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

namespace {

class RowToolTips : public QObject {
public:
    RowToolTips(QAbstractItemView *view, std::function<QString(int)> tip)
        : QObject(view), m_view(view), m_tip(std::move(tip))
    {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::ToolTip)
            return false;
        const auto *help = static_cast<QHelpEvent *>(event);
        const QModelIndex index = m_view->indexAt(help->pos());
        QString text;
        if (index.isValid()) {
            try {
                text = m_tip(index.row());
            } catch (const DbError &) {
                // A tooltip is no place for an error: the next command reports it.
            }
        }
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, m_view->viewport(),
                               m_view->visualRect(index));
        return true;
    }

private:
    QAbstractItemView *m_view;
    std::function<QString(int)> m_tip;
};

} // namespace

void setRowToolTips(QAbstractItemView *view, std::function<QString(int row)> tip)
{
    view->viewport()->installEventFilter(new RowToolTips(view, std::move(tip)));
}
