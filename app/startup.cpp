#include "startup.h"

#include "backup/auto_copies.h"
#include "connection_settings.h"
#include "core/work_session.h"
#include "data/database_location.h"
#include "data/db_error.h"
#include "data/debts.h"
#include "data/open_failure.h"
#include "data/program_tables.h"
#include "data/tdm.h"
#include "database_service.h"
#include "debtors_command.h"
#include "editor/document_editor.h"
#include "form_templates_command.h"
#include "mail_commands.h"
#include "printing/report_shower.h"
#include "program_version.h"
#include "refbooks/tfrm_akt_sverki.h"
#include "reference_book_pickers.h"
#include "report/preview/preview_hooks.h"
#include "report/preview/show_report.h"
#include "template_designer_command.h"
#include "termination_signals.h"
#include "tfrm_about.h"
#include "tfrm_main.h"
#include "tfrm_vypiska.h"
#include "ui/application_title.h"
#include "ui/prompt_service.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFont>
#include <QPointer>
#include <QSettings>

#include <memory>

const QString kConnectionErrorText = QStringLiteral(
    "Ошибка связи с Базой Данных. Проверьте наличие файла ZNDB.GDB или функциональность "
    "Interbase. За дополнительной справкой обращайтесь к изготовителю.");
const QString kChooseAnotherDatabaseText = QStringLiteral("Выбрать другую базу данных?");

namespace {

QPointer<TfrmMain> runningMainWindow;
bool terminationRequested = false; // before the main window existed
bool closingOnSignal = false;

// A termination signal (logging out, kill) closes the program as its "Выход" does, so that
// the posted work is committed.
void closeOnTerminationSignal()
{
    closingOnSignal = true;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QDialog *>(window); dialog && dialog->isVisible())
            dialog->reject();
    }
    if (runningMainWindow)
        runningMainWindow->close();
    else
        terminationRequested = true;
}

// The preview's file windows and mail window are the program's own.
zpreview::PreviewHooks programPreviewHooks(PromptService &prompts,
                                           decltype(zpreview::PreviewHooks::sendEmail) sendEmail)
{
    zpreview::PreviewHooks hooks = zpreview::PreviewHooks::standard();
    hooks.sendEmail = std::move(sendEmail);
    hooks.saveFileName = [&prompts](QWidget *parent, const QString &caption, const QString &filter,
                                    const QString &suggested) {
        return prompts.chooseSaveFile(parent, caption, suggested, filter);
    };
    hooks.openFileName = [&prompts](QWidget *parent, const QString &caption,
                                    const QString &filter) {
        return prompts.chooseFile(parent, caption, QString(), filter);
    };
    return hooks;
}

// What the windows print is shown in the report preview, whose edit command opens the
// designer on the form; the preview of the designer's "Просмотр" edits only the text of its
// pages.
ReportShower previewShower(QWidget *parent, TDM &dm, PromptService &prompts,
                           const zpreview::PreviewHooks &designerPreview)
{
    zpreview::PreviewHooks hooks = designerPreview;
    hooks.editTemplate = [&dm, &prompts, designerPreview](QWidget *parent,
                                                          const QString &templateName,
                                                          const zreport::TfrxReport &report,
                                                          const zreport::DataSources &sources) {
        openTemplateDesigner(parent, dm, prompts, templateName, report, sources, designerPreview);
    };
    return [parent, hooks](const zreport::TfrxReport &report, const zreport::DataSources &sources) {
        zpreview::showReport(report, sources, hooks, parent);
    };
}

// The day's automatic copy, made once the database is closed with everything committed. A
// failure is told once and never keeps the program open.
void makeDailyCopy(PromptService &prompts, const QString &location, const QString &business)
{
    const zbackup::Result result = zbackup::makeAutoCopy(
        location, business, zbackup::autoCopySettings(), QDateTime::currentDateTime());
    if (result.outcome == zbackup::Outcome::Failed)
        prompts.error(nullptr,
                      QStringLiteral("Автоматическая резервная копия не создана:\n") +
                          result.message,
                      applicationTitle());
}

// Opens the database of the start, or another the user chooses after the message that it
// cannot be opened. False when the user chose none, and the program ends.
bool openStartDatabase(const StartupOptions &options, QWidget &splash, TDM &dm, QString &location,
                       database::Credentials &credentials)
{
    PromptService &prompts = *options.prompts;
    QSettings settings(database::settingsOrganisation(), database::settingsApplication());
    credentials = startupCredentials(location, settings, *options.passwords, prompts);
    for (;;) {
        try {
            dm.DataModuleCreate(location, credentials);
            if (credentials.isEmpty() && database::isServerLocation(location))
                credentials = database::environmentCredentials();
            return true;
        } catch (const DbError &e) {
            prompts.error(nullptr,
                          kConnectionErrorText + u'\n' + database::openFailureLine(location, e),
                          QStringLiteral("Error"));
        }
        if (!prompts.confirm(nullptr, kChooseAnotherDatabaseText))
            return false;
        // A splash may stay above other windows and hide the one the user must fill in.
        splash.hide();
        ConnectionDialog dialog(prompts,
                                currentConnection(location, credentials, *options.passwords));
        if (options.runDialog(dialog) != QDialog::Accepted)
            return false;
        const ConnectionChoice choice = dialog.choice();
        location = choice.location;
        credentials = choice.credentials;
        rememberConnection(choice, settings, *options.passwords, prompts, nullptr);
    }
}

} // namespace

int runZarnik(const StartupOptions &options)
{
    PromptService &prompts = *options.prompts;
    setApplicationTitle(zarnik::programTitle());
    handleTerminationSignals(closeOnTerminationSignal);
    // The windows' pixel sizes were laid out for these faces; the installed face with the
    // nearest widths keeps dates and captions inside their columns and buttons.
    for (const QString &face : {QStringLiteral("MS Sans Serif"), QStringLiteral("Tahoma")})
        QFont::insertSubstitution(face, QStringLiteral("Liberation Sans"));

    // The About window doubles as the splash while the database opens. The event loop is
    // not running yet, so the splash is painted once, here.
    auto splash = std::make_unique<TfrmAbout>();
    splash->turnIntoSplash();
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    TDM dm;
    QString location = options.databasePath;
    database::Credentials credentials;
    if (!openStartDatabase(options, *splash, dm, location, credentials))
        return 0;
    splash.reset();

    WorkSession session(dm);
    std::unique_ptr<TfrmMain> main;
    try {
        main = std::make_unique<TfrmMain>(session, prompts);
    } catch (const DbError &e) {
        // The file opened but its data cannot be read: not a database of this program.
        prompts.error(nullptr, e.message(), applicationTitle());
        return 1;
    }
    runningMainWindow = main.get();
    const zpreview::PreviewHooks previewHooks = programPreviewHooks(
        prompts, previewMailSender(dm, prompts, *options.passwords, execDialog));
    const ReportShower shower = previewShower(main.get(), dm, prompts, previewHooks);
    main->setReportShower(shower);
    main->setDocumentEditor([&dm, &prompts, shower](QWidget *parent, EditorMode mode) {
        return openDocumentEditor(
            dm, prompts, referenceBookPickers({dm, prompts, execDialog, shower}), mode, parent);
    });
    main->showMaximized();
    if (!dm.missingProgramParts().isEmpty())
        prompts.inform(main.get(), missingProgramPartsText(dm.missingProgramParts()));
    auto about = std::make_unique<TfrmAbout>(main.get());
    main->setAboutWindow(about.get());
    DatabaseService databaseService{*main,       session,          dm, prompts, location,
                                    credentials, options.passwords};
    addDatabaseServiceCommands(databaseService);
    addDebtorsCommand(*main, dm, prompts, shower, execDialog,
                      [window = main.get()](QWidget *parent, const ClientDebt &client, QDate) {
                          openReconciliationAct(parent, window->refbookContext(),
                                                ActClient{client.name, client.biniin});
                      });
    addBankStatementCommand(*main->serviceMenu(), session, prompts, main.get());
    addMailCommands(*main, dm, prompts, *options.passwords, execDialog);
    addFormTemplatesCommand(
        *main, dm, prompts, execDialog,
        [&dm, &prompts, &previewHooks, window = main.get()](const QString &name) {
            openFormDesigner(window, dm, prompts, name, previewHooks);
        });

    QEventLoop loop;
    QObject::connect(main.get(), &TfrmMain::closed, &loop, &QEventLoop::quit);
    if (options.running)
        options.running(*main, dm);
    if (terminationRequested)
        main->close();
    if (main->isVisible())
        loop.exec();

    // Shutdown in the reverse order: the About window, the main window (which committed as it
    // closed), then the connection.
    const QString business = businessName(dm);
    about.reset();
    main.reset();
    bool closedCleanly = false;
    try {
        dm.DataModuleDestroy();
        closedCleanly = true;
    } catch (const DbError &e) {
        prompts.error(nullptr, e.message(), applicationTitle());
    }
    // A session that is ending may not wait for a copy. A server's database is copied by its
    // administrator, not by each of the office's computers whenever it closes.
    if (closedCleanly && !closingOnSignal && !database::isServerLocation(databaseService.location))
        makeDailyCopy(prompts, databaseService.location, business);
    return 0;
}
