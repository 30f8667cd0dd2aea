#include "database_service.h"
#include "users_dialog.h"

#include "data/office_users.h"
#include "data/tdm.h"
#include "tfrm_main.h"
#include "ui/prompt_service.h"

void usersCommand(DatabaseService &service)
{
    if (!database::isServerLocation(service.location)) {
        service.prompts.inform(&service.main,
                               QStringLiteral("Пользователи и роли есть только у базы данных на "
                                              "сервере; файл на этом компьютере открывает один "
                                              "человек, и ему доступно всё."));
        return;
    }
    if (!office_users::mayManage(service.dm.ZNDB)) {
        service.prompts.inform(&service.main,
                               QStringLiteral("Пользователей этой базы данных назначает её "
                                              "владелец, SYSDBA или администратор (RDB$ADMIN)."));
        return;
    }
    UsersDialog dialog(service.dm.ZNDB, service.prompts, &service.main);
    service.runDialog(dialog);
}
