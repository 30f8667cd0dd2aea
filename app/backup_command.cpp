#include "backup_progress_dialog.h"
#include "database_service.h"

#include "backup/auto_copies.h"
#include "core/work_session.h"
#include "tfrm_main.h"
#include "ui/prompt_service.h"

#include <QDir>

void backupCommand(DatabaseService &service)
{
    const QString suggested =
        QDir::home().filePath(zbackup::backupFileName(businessName(service.dm), service.now()));
    const QString target = service.prompts.chooseSaveFile(
        &service.main, QStringLiteral("Резервная копия"), suggested, backupFileFilter());
    if (target.isEmpty())
        return;
    // What was posted belongs in the copy.
    service.session.refresh();
    BackupProgressDialog progress(QStringLiteral("Резервная копия"), &service.main);
    const zbackup::Result result = zbackup::backupDatabase(
        service.location, target, progress.handler(), serviceCredentials(service));
    progress.hide();
    if (result.done())
        service.prompts.inform(&service.main,
                               QStringLiteral("Резервная копия записана в файл «%1».").arg(target));
    else if (result.outcome == zbackup::Outcome::Failed)
        service.prompts.error(&service.main, result.message, QStringLiteral("Резервная копия"));
}
