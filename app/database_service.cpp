#include "database_service.h"

#include "data/tdm.h"
#include "tfrm_main.h"
#include "ui/command.h"

#include <QMenu>

QString backupFileFilter()
{
    return QStringLiteral("Резервные копии (*.fbk);;Все файлы (*)");
}

void addDatabaseServiceCommands(DatabaseService &service)
{
    QMenu *menu = service.main.serviceMenu();
    const auto add = [&](const char *name, const QString &caption,
                         void (*command)(DatabaseService &)) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connectCommand(action, &QAction::triggered, &service.main, service.prompts,
                       [&service, command] { command(service); });
    };
    add("actConnection", QStringLiteral("Подключение к базе данных..."), connectionCommand);
    add("actBackup", QStringLiteral("Резервная копия..."), backupCommand);
    add("actRestore", QStringLiteral("Восстановить из копии..."), restoreCommand);
    add("actValidate", QStringLiteral("Проверить базу данных"), validateCommand);
    add("actUsers", QStringLiteral("Пользователи..."), usersCommand);
}

zbackup::Credentials serviceCredentials(const DatabaseService &service)
{
    if (!database::isServerLocation(service.location))
        return zbackup::embeddedCredentials();
    return {service.credentials.user, service.credentials.password};
}

QString businessName(TDM &dm)
{
    return dm.DSetRekvizity->isActive() ? dm.DSetRekvizity->asString(QStringLiteral("NAMEORG"))
                                        : QString();
}
