#include "startup.h"

#include "app/ui/application_title.h"
#include "app/ui/prompt_service.h"
#include "backup/auto_copies.h"
#include "data/db_error.h"
#include "data/open_failure.h"
#include "data/tdm.h"
#include "database_service.h"
#include "editor/document_editor.h"
#include "printing/report_shower.h"
#include "program_version.h"
#include "reference_book_pickers.h"
#include "report/preview/show_report.h"
#include "termination_signals.h"
#include "tfrm_about.h"
#include "tfrm_main.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFont>
#include <QPointer>

#include <memory>

const QString kConnectionErrorText = QStringLiteral(
    "Ошибка связи с Базой Данных. Проверьте наличие файла ZNDB.GDB или функциональность "
    "Interbase. За дополнительной справкой обращайтесь к изготовителю.");

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

// What the windows print is shown in the report preview.
ReportShower previewShower(QWidget *parent)
{
    return [parent](const zreport::TfrxReport &report, const zreport::DataSources &sources) {
        zpreview::showReport(report, sources, parent);
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
    try {
        dm.DataModuleCreate(options.databasePath);
    } catch (const DbError &e) {
        prompts.error(nullptr,
                      kConnectionErrorText + u'\n' +
                          database::openFailureLine(options.databasePath, e),
                      QStringLiteral("Error"));
        return 0;
    }
    splash.reset();

    std::unique_ptr<TfrmMain> main;
    try {
        main = std::make_unique<TfrmMain>(dm, prompts);
    } catch (const DbError &e) {
        // The file opened but its data cannot be read: not a database of this program.
        prompts.error(nullptr, e.message(), applicationTitle());
        return 1;
    }
    runningMainWindow = main.get();
    const ReportShower shower = previewShower(main.get());
    main->setReportShower(shower);
    main->setDocumentEditor([&dm, &prompts, shower](QWidget *parent) {
        return openDocumentEditor(dm, prompts,
                                  referenceBookPickers({dm, prompts, execDialog, shower}), parent);
    });
    main->showMaximized();
    auto about = std::make_unique<TfrmAbout>(main.get());
    main->setAboutWindow(about.get());
    DatabaseService databaseService = withFileDialogs({*main, dm, prompts, options.databasePath});
    addDatabaseServiceCommands(databaseService);

    QEventLoop loop;
    QObject::connect(main.get(), &TfrmMain::closed, &loop, &QEventLoop::quit);
    if (options.running)
        options.running(*main, dm);
    if (terminationRequested)
        main->close();
    if (main->isVisible())
        loop.exec();

    // Shutdown in the reverse order: the About window, the main window (which commits),
    // then the connection.
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
    // A session that is ending may not wait for a copy.
    if (closedCleanly && !closingOnSignal)
        makeDailyCopy(prompts, options.databasePath, business);
    return 0;
}
