#include "database_service.h"

#include "backup/database_validation.h"
#include "core/work_session.h"
#include "tfrm_main.h"
#include "ui/prompt_service.h"

#include <QApplication>

void validateCommand(DatabaseService &service)
{
    service.session.refresh();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const zbackup::Validation validation =
        zbackup::validateDatabase(service.location, serviceCredentials(service));
    QApplication::restoreOverrideCursor();
    if (validation.checked && validation.findings.isEmpty())
        service.prompts.inform(&service.main,
                               QStringLiteral("Проверка базы данных: ") + validation.message);
    else
        service.prompts.error(&service.main, validation.message,
                              QStringLiteral("Проверка базы данных"));
}
