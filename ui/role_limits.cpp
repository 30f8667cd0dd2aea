#include "role_limits.h"

#include <QAction>
#include <QEvent>
#include <QWidget>

namespace {

const char kLockName[] = "zarnikRoleLimit";

// Holds a control disabled: what its window asks meanwhile is kept for when the limit goes.
class RoleLock : public QObject {
public:
    RoleLock(QObject *control, bool enabled, const QString &toolTip)
        : QObject(control), wanted(enabled), ownToolTip(toolTip)
    {
        setObjectName(QLatin1String(kLockName));
    }

    bool wanted;
    QString ownToolTip;
};

template <typename Control> RoleLock *lockOf(Control *control)
{
    return control->template findChild<RoleLock *>(QLatin1String(kLockName),
                                                   Qt::FindDirectChildrenOnly);
}

class WidgetLock : public RoleLock {
public:
    using RoleLock::RoleLock;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::EnabledChange && widget->isEnabled()) {
            wanted = true;
            widget->setEnabled(false);
        }
        return false;
    }
};

} // namespace

QString roleRefusal(std::optional<roles::Role> role, RoleWork work)
{
    if (!role || *role == roles::Role::Accountant)
        return {};
    if (*role == roles::Role::Manager && work == RoleWork::Change)
        return {};
    return QStringLiteral("Недоступно для роли «%1»").arg(roles::title(*role));
}

namespace {

// Locks `control` with the lock `makeLock` gives, or lifts its lock for an empty reason.
template <typename Control, typename MakeLock>
void setLimit(Control *control, const QString &reason, MakeLock makeLock)
{
    RoleLock *lock = lockOf(control);
    if (reason.isEmpty()) {
        if (!lock)
            return;
        const bool enabled = lock->wanted;
        control->setToolTip(lock->ownToolTip);
        delete lock;
        control->setEnabled(enabled);
        return;
    }
    if (!lock) {
        makeLock(control->isEnabled(), control->toolTip());
        control->setEnabled(false);
    }
    control->setToolTip(reason);
}

} // namespace

void setRoleLimit(QWidget *widget, const QString &reason)
{
    setLimit(widget, reason, [widget](bool enabled, const QString &toolTip) {
        widget->installEventFilter(new WidgetLock(widget, enabled, toolTip));
    });
}

void setRoleLimit(QAction *action, const QString &reason)
{
    setLimit(action, reason, [action](bool enabled, const QString &toolTip) {
        auto *lock = new RoleLock(action, enabled, toolTip);
        QObject::connect(action, &QAction::enabledChanged, lock, [action, lock](bool on) {
            if (!on)
                return;
            lock->wanted = true;
            action->setEnabled(false);
        });
    });
}
