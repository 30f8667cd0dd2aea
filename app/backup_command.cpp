#include "backup_progress_dialog.h"
#include "database_service.h"

#include "app/ui/prompt_service.h"
#include "backup/auto_copies.h"
#include "backup/service_location.h"
#include "tfrm_main.h"

#include <QDir>

void backupCommand(DatabaseService &service)
{
    // The engine writes a server's copy into the server's own folders, not this computer's.
    if (zbackup::serviceLocation(service.location).onServer) {
        service.prompts.error(&service.main,
                              QStringLiteral("Резервная копия базы данных на сервере делается на "
                                             "самом сервере (zarnik-cli backup)."),
                              QStringLiteral("Резервная копия"));
        return;
    }
    const QString suggested =
        QDir::home().filePath(zbackup::backupFileName(businessName(service.dm), service.now()));
    const QString target =
        service.chooseSaveFile(&service.main, QStringLiteral("Резервная копия"), suggested);
    if (target.isEmpty())
        return;
    // What was posted belongs in the copy.
    service.main.RefreshMain();
    BackupProgressDialog progress(QStringLiteral("Резервная копия"), &service.main);
    const zbackup::Result result =
        zbackup::backupDatabase(service.location, target, progress.handler());
    progress.hide();
    if (result.done())
        service.prompts.inform(&service.main,
                               QStringLiteral("Резервная копия записана в файл «%1».").arg(target));
    else if (result.outcome == zbackup::Outcome::Failed)
        service.prompts.error(&service.main, result.message, QStringLiteral("Резервная копия"));
}
