#include "app/ui/error_reporting_application.h"
#include "app/ui/prompt_service.h"
#include "app/ui/qt_translations.h"
#include "data/database_file.h"
#include "startup.h"
#include "termination_signals.h"

#include <QLocale>

#include <cstdio>

int main(int argc, char **argv)
{
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
    const QtTranslations translations(QLocale::system());
    MessageBoxPrompts prompts;
    app.setPrompts(&prompts);

    StartupOptions options;
    options.databasePath = database::defaultPath();
    options.prompts = &prompts;
    return runZarnik(options);
}
