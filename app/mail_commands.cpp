#include "mail_commands.h"

#include "mail_settings_dialog.h"
#include "password_store.h"
#include "send_mail_dialog.h"
#include "tfrm_main.h"

#include "data/database_location.h"
#include "data/tdm.h"
#include "mail/mail_settings.h"
#include "refbooks/reference_list.h"
#include "ui/command.h"
#include "ui/prompt_service.h"

#include <QMenu>
#include <QSettings>

namespace {

QSettings programSettings()
{
    return QSettings(database::settingsOrganisation(), database::settingsApplication());
}

// True once a server is set up, after the settings window when none was.
bool mailSetUp(TfrmMain &main, PromptService &prompts, PasswordStore &passwords,
               const DialogRunner &runDialog)
{
    QSettings settings = programSettings();
    if (mail::hasSettings(settings))
        return true;
    if (!prompts.confirm(&main, QStringLiteral("Почта еще не настроена. Открыть настройки почты?")))
        return false;
    MailSettingsDialog dialog(
        settings, passwords, prompts,
        [](const auto &server, const auto &message) { return mail::send(server, message); }, &main);
    runDialog(dialog);
    return mail::hasSettings(settings);
}

} // namespace

void addMailCommands(TfrmMain &main, TDM &dm, PromptService &prompts, PasswordStore &passwords,
                     DialogRunner runDialog)
{
    QMenu *menu = main.serviceMenu();
    menu->addSeparator();
    auto *send = menu->addAction(QStringLiteral("Отправить по почте..."));
    send->setObjectName(QStringLiteral("actSendMail"));
    auto *settings = menu->addAction(QStringLiteral("Настройки почты..."));
    settings->setObjectName(QStringLiteral("actMailSettings"));

    connectCommand(
        settings, &QAction::triggered, &main, prompts, [&main, &prompts, &passwords, runDialog] {
            QSettings file = programSettings();
            MailSettingsDialog dialog(
                file, passwords, prompts,
                [](const auto &server, const auto &message) { return mail::send(server, message); },
                &main);
            runDialog(dialog);
        });
    connectCommand(
        send, &QAction::triggered, &main, prompts, [&main, &dm, &prompts, &passwords, runDialog] {
            if (dm.DSetDocs->isEmpty()) {
                prompts.inform(&main, QStringLiteral("В реестре нет документа для отправки."));
                return;
            }
            if (!mailSetUp(main, prompts, passwords, runDialog))
                return;
            mail::MailServer server = mail::readSettings(programSettings());
            server.password = passwords.read(mail::passwordKey(server)).value_or(QString());
            SendMailDialog dialog(dm, prompts, server, main.refbookContext().readImages, mail::send,
                                  &main);
            runDialog(dialog);
        });
}
