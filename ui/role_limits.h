#pragma once

#include "data/roles.h"

#include <QString>

#include <optional>

class QAction;
class QWidget;

// What the windows keep from the roles of an office's users; the server refuses it anyway, the
// windows only say so before it is tried.
enum class RoleWork {
    Change,           // anything stored: documents, clients, goods, payments
    DeleteDocuments,  // a document with its lines
    ChangeRequisites, // the business's requisites, its images and the payment term
    ChangeTemplates,  // the forms' templates
};

// Why `role` may not do `work`, as its disabled controls say: "Недоступно для роли
// «Просмотр»"; empty when it may, and without a role (a file of this computer, the database's
// owner or the server's administrator), who may do everything.
QString roleRefusal(std::optional<roles::Role> role, RoleWork work);

// Keeps `widget` disabled, with `reason` as its tooltip, however often its window enables it
// later; an empty reason lifts that (the control gets its tooltip back, and is enabled when it
// was before or its window enabled it meanwhile).
void setRoleLimit(QWidget *widget, const QString &reason);
void setRoleLimit(QAction *action, const QString &reason);
