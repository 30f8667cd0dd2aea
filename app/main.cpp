#include "backup/auto_copies.h"
#include "data/database_file.h"
#include "data/database_location.h"
#include "data/db_error.h"
#include "installation_check.h"
#include "password_store.h"
#include "program_options.h"
#include "program_version.h"
#include "startup.h"
#include "termination_signals.h"
#include "tfrm_main.h"
#include "ui/error_reporting_application.h"
#include "ui/prompt_service.h"
#include "ui/qt_translations.h"

#include <QLocale>
#include <QSettings>

#include <cstdio>

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const ProgramOptions programOptions = readProgramOptions(arguments);
    if (programOptions.exitCode)
        return *programOptions.exitCode;
    // Without a display the toolkit would abort with a message few users could read.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fputs("Zarnik is a desktop program and needs a display: start it from a desktop "
                   "session (DISPLAY is not set).\n",
                   stderr);
        return 1;
    }
    blockTerminationSignals();
    ErrorReportingApplication app(argc, argv);
    // The desktop groups the windows under the menu entry's icon by this name.
    QApplication::setOrganizationName(database::settingsOrganisation());
    QApplication::setApplicationName(database::settingsApplication());
    QApplication::setApplicationVersion(QString::fromLatin1(zarnik::kProgramVersion));
    QApplication::setDesktopFileName(QStringLiteral("kz.zarnik.Zarnik"));
    const QtTranslations translations(QLocale::system());
    MessageBoxPrompts boxes;
    StandardErrorPrompts printed;
    PromptService &prompts =
        programOptions.exitWhenShown ? static_cast<PromptService &>(printed) : boxes;
    app.setPrompts(&prompts);

    const database::Location location =
        database::chooseLocation(database::currentInputs(programOptions.database));
    StartupOptions options;
    options.databasePath = location.path;
    options.prompts = &prompts;
    KeyringPasswordStore keyring;
    options.passwords = &keyring;
    QSettings settings(database::settingsOrganisation(), database::settingsApplication());
    if (location.source == database::LocationSource::DataFolder) {
        try {
            database::ensureDataFolderDatabase(location.path);
        } catch (const DbError &e) {
            prompts.error(nullptr, kConnectionErrorText + u'\n' + e.message(),
                          QStringLiteral("Error"));
            return 0;
        }
        if (!database::dataFolderNoticeShown(settings)) {
            options.running = [&](TfrmMain &window, TDM &) {
                prompts.inform(&window, database::dataFolderNotice(
                                            location.path, zbackup::autoCopySettings().folder));
                database::rememberDataFolderNoticeShown(settings);
            };
        }
    }
    if (programOptions.exitWhenShown)
        options.running = reportRegisterAndClose(std::move(options.running));
    return runZarnik(options);
}
