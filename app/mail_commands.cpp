#include "mail_commands.h"

#include "mail_settings_dialog.h"
#include "password_store.h"
#include "send_mail_dialog.h"
#include "tfrm_main.h"

#include "data/database_location.h"
#include "data/tdm.h"
#include "mail/mail_settings.h"
#include "printing/document_mail.h"
#include "refbooks/reference_list.h"
#include "report/report_output.h"
#include "ui/command.h"
#include "ui/prompt_service.h"

#include <QBuffer>
#include <QMenu>
#include <QSettings>

#include <memory>

namespace {

QSettings programSettings()
{
    return QSettings(database::settingsOrganisation(), database::settingsApplication());
}

std::unique_ptr<QSettings> settingsIn(const QString &file)
{
    if (file.isEmpty())
        return std::make_unique<QSettings>(database::settingsOrganisation(),
                                           database::settingsApplication());
    return std::make_unique<QSettings>(file, QSettings::IniFormat);
}

// The settings' server with the password the keyring keeps for it (none when it keeps none:
// the send window asks).
mail::MailServer configuredServer(const QSettings &settings, PasswordStore &passwords)
{
    mail::MailServer server = mail::readSettings(settings);
    server.password = passwords.read(mail::passwordKey(server)).value_or(QString());
    return server;
}

// The previewed pages as the PDF the send window attaches, named as the register names the
// document's form; nothing when the PDF cannot be written.
std::optional<mail::Attachment> previewedPdf(const TDM &dm, const zreport::PreparedReport &pages,
                                             const QString &title,
                                             std::optional<PrintForm> documentForm)
{
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    if (!zreport::writePreparedPdf(pages, buffer, {}, title))
        return std::nullopt;
    QString fileName = title + QStringLiteral(".pdf");
    fileName.replace(u'/', u'-');
    return mail::Attachment{documentForm ? mailFileName(dm, *documentForm) : fileName, pdf};
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
            SendMailDialog dialog(dm, prompts, configuredServer(programSettings(), passwords),
                                  main.refbookContext().readImages, mail::send, &main);
            runDialog(dialog);
        });
}

decltype(zpreview::PreviewHooks::sendEmail) previewMailSender(TDM &dm, PromptService &prompts,
                                                              PasswordStore &passwords,
                                                              DialogRunner runDialog,
                                                              QString settingsFile)
{
    return [&dm, &prompts, &passwords, runDialog, settingsFile](
               QWidget *parent, const zreport::PreparedReport &pages, const QString &title) {
        const std::unique_ptr<QSettings> settings = settingsIn(settingsFile);
        if (!mail::hasSettings(*settings))
            return false;
        // The preview's own command runs this: what fails is told here, never thrown back.
        runCommand(prompts, parent, [&] {
            const std::optional<PrintForm> form = documentFormTitled(dm, title);
            const std::optional<mail::Attachment> pdf = previewedPdf(dm, pages, title, form);
            if (!pdf) {
                prompts.error(parent, QStringLiteral("Не удалось записать PDF для отправки."),
                              title);
                return;
            }
            SendMailDialog dialog(dm, prompts, configuredServer(*settings, passwords), {},
                                  mail::send, parent);
            dialog.sendPreviewed({*pdf, form ? mailFormTitle(*form) : QString()},
                                 form ? documentTitle(dm, *form, mailFormTitle(*form)) : title);
            runDialog(dialog);
        });
        return true;
    };
}
