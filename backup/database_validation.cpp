#include "database_validation.h"

#include "service_connection.h"
#include "service_location.h"
#include "validation_report.h"

#include "data/db_error.h"
#include "data/fb_connection.h"

namespace zbackup {

Validation validateDatabase(const QString &location, const Credentials &credentials)
{
    Validation validation;
    QStringList output;
    try {
        const ServiceLocation where = serviceLocation(location);
        ServiceRequest request(isc_action_svc_validate);
        request.text(isc_spb_dbname, where.database);
        // The embedded engine's validation service, when its attachment is the database's
        // last, closes the database in a thread of its own that may still run after the
        // service has ended; a program that then exits at once unloads the engine under it
        // (a crash at exit, signal 11). Held open here, the database is closed by this
        // thread, which waits for it. (The window holds it open anyway; a database too
        // damaged to open is validated without.)
        FbConnection heldOpen;
        try {
            if (!where.onServer)
                heldOpen.attach(location, credentials.user, credentials.password);
        } catch (const DbError &) {
        }
        {
            ServiceConnection service;
            service.attach(where.serviceManager, credentials.user, credentials.password);
            service.run(request, [&output](const QString &line) {
                output << line;
                return true;
            });
        }
        if (heldOpen.isAttached())
            heldOpen.detach();
    } catch (const DbError &e) {
        validation.message =
            QStringLiteral("Проверить базу данных не удалось:\n%1").arg(e.message());
        return validation;
    }
    validation.checked = true;
    validation.findings = validationFaults(output);
    validation.message = validationReport(validation.findings);
    return validation;
}

} // namespace zbackup
