#include "backup_progress_dialog.h"
#include "database_service.h"

#include "backup/auto_copies.h"
#include "backup/service_location.h"
#include "core/work_session.h"
#include "data/tdm.h"
#include "tfrm_main.h"
#include "ui/prompt_service.h"

#include <QFileInfo>

void restoreCommand(DatabaseService &service)
{
    const QString caption = QStringLiteral("Восстановить из копии");
    // On a server, who may not restore is told so before choosing a file.
    if (const QString refusal =
            zbackup::restoreRefusal(service.location, serviceCredentials(service));
        !refusal.isEmpty()) {
        service.prompts.error(&service.main, refusal, caption);
        return;
    }
    const QString backup = service.prompts.chooseFile(
        &service.main, caption, zbackup::autoCopySettings().folder, backupFileFilter());
    if (backup.isEmpty())
        return;
    const QDateTime now = service.now();
    // A server's database is kept as a copy on this computer, wherever that is.
    const QString kept = zbackup::keptPath(service.location, backup, now);
    const bool onServer = zbackup::serviceLocation(service.location).onServer;
    if (!service.prompts.confirm(
            &service.main,
            QStringLiteral("Заменить текущую базу данных данными из копии «%1»? Текущая база "
                           "данных будет сохранена как «%2».")
                .arg(QFileInfo(backup).fileName(), onServer ? kept : QFileInfo(kept).fileName())))
        return;
    // The engine swaps the file only when nobody has it open, this program included.
    service.dm.DataModuleDestroy();
    BackupProgressDialog progress(caption, &service.main);
    QString keptAs;
    const zbackup::Result result = zbackup::replaceDatabase(
        backup, service.location, now, progress.handler(), &keptAs, serviceCredentials(service));
    progress.hide();
    // The restored database, or the old one as it was.
    service.dm.DataModuleCreate(service.location, service.credentials);
    service.session.refresh();
    if (result.done())
        service.prompts.inform(&service.main,
                               QStringLiteral("База данных восстановлена из копии «%1». Прежняя "
                                              "база данных сохранена как «%2».")
                                   .arg(QFileInfo(backup).fileName(), keptAs));
    else if (result.outcome == zbackup::Outcome::Failed)
        service.prompts.error(&service.main, result.message, caption);
}
