#pragma once

#include <QString>

// A database location as the user gives it: a file path for the embedded engine, or a server's
// connection string ("host:/path/file.gdb", "host/port:alias", "inet://host/alias"). The
// services API is reached at the same place as the database.
namespace zbackup {

struct ServiceLocation {
    QString serviceManager; // "service_mgr", or "host:service_mgr" on a server
    QString database;       // the database as the service manager names it
    bool onServer = false;
};

ServiceLocation serviceLocation(const QString &location);

} // namespace zbackup
