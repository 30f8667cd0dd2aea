#include "database_service.h"

#include "ui/command.h"
#include "data/tdm.h"
#include "tfrm_main.h"

#include <QFileDialog>
#include <QMenu>

DatabaseService withFileDialogs(DatabaseService service)
{
    const QString filter = QStringLiteral("Резервные копии (*.fbk);;Все файлы (*)");
    service.chooseSaveFile = [filter](QWidget *parent, const QString &caption,
                                      const QString &suggested) {
        return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
    };
    service.chooseOpenFile = [filter](QWidget *parent, const QString &caption,
                                      const QString &folder) {
        return QFileDialog::getOpenFileName(parent, caption, folder, filter);
    };
    return service;
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
