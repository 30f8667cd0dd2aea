#include "connection_settings.h"
#include "database_service.h"

#include "core/work_session.h"
#include "data/database_location.h"
#include "data/db_error.h"
#include "data/open_failure.h"
#include "data/program_tables.h"
#include "data/tdm.h"
#include "tfrm_main.h"
#include "ui/prompt_service.h"

#include <QSettings>

namespace {

void openDatabase(DatabaseService &service, const QString &location,
                  const database::Credentials &credentials)
{
    service.dm.DataModuleCreate(location, credentials);
    service.session.refresh();
}

} // namespace

void connectionCommand(DatabaseService &service)
{
    ConnectionDialog dialog(
        service.prompts,
        currentConnection(service.location, service.credentials, *service.passwords),
        &service.main);
    if (service.runDialog(dialog) != QDialog::Accepted)
        return;
    const ConnectionChoice choice = dialog.choice();
    // What was posted is committed first, as when the program closes.
    service.dm.DataModuleDestroy();
    try {
        openDatabase(service, choice.location, choice.credentials);
    } catch (const DbError &e) {
        // The database the user was working in, as it was.
        openDatabase(service, service.location, service.credentials);
        service.prompts.error(&service.main,
                              QStringLiteral("Не удалось перейти на другую базу данных, открыта "
                                             "прежняя.\n") +
                                  database::openFailureLine(choice.location, e),
                              QStringLiteral("Подключение к базе данных"));
        return;
    }
    if (!service.dm.missingProgramParts().isEmpty())
        service.prompts.inform(&service.main,
                               missingProgramPartsText(service.dm.missingProgramParts()));
    service.location = choice.location;
    service.credentials = choice.credentials;
    QSettings settings(database::settingsOrganisation(), database::settingsApplication());
    rememberConnection(choice, settings, *service.passwords, service.prompts, &service.main);
}
