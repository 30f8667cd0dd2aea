#include "dialog_centring.h"

#include <QEvent>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <QWindow>

namespace {

QMargins frameMargins(const QWidget &window)
{
    const QWindow *handle = window.windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

// Moves window so that its frame is centred on the frame of its parent's window. Until the
// window manager has framed the window its frame is not known; the parent's frame, drawn by
// the same window manager, stands in for it.
void centre(QWidget &window)
{
    const QWidget *opener = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    if (!opener || !opener->isVisible())
        return;
    QMargins frame = frameMargins(window);
    if (frame.isNull())
        frame = frameMargins(*opener);
    const QRect area = opener->frameGeometry();
    const QSize outer = window.size().grownBy(frame);
    QRect placed(QPoint(area.x() + (area.width() - outer.width()) / 2,
                        area.y() + (area.height() - outer.height()) / 2),
                 outer);
    // A window larger than its opener still starts on the opener's screen.
    if (const QScreen *screen = opener->screen()) {
        const QRect available = screen->availableGeometry();
        placed.moveRight(std::min(placed.right(), available.right()));
        placed.moveBottom(std::min(placed.bottom(), available.bottom()));
        placed.moveLeft(std::max(placed.left(), available.left()));
        placed.moveTop(std::max(placed.top(), available.top()));
    }
    // The client area goes where the frame leaves it; placing the client keeps the result
    // the same whether or not the window manager has told its frame yet.
    const QPoint client = placed.topLeft() + QPoint(frame.left(), frame.top());
    if (window.geometry().topLeft() != client)
        window.setGeometry(QRect(client, window.size()));
}

class Centring : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto &window = static_cast<QWidget &>(*watched);
        switch (event->type()) {
        case QEvent::Show:
            m_framed = false;
            centre(window);
            break;
        case QEvent::WindowActivate:
            // By the time the window is active its frame is known: correct the estimate once.
            if (!m_framed) {
                m_framed = true;
                centre(window);
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    bool m_framed = false;
};

} // namespace

void centreOnParentWindow(QWidget &window)
{
    static const char *const centred = "zarnikCentredOnParent";
    if (window.property(centred).toBool())
        return;
    window.setProperty(centred, true);
    window.installEventFilter(new Centring(&window));
}
