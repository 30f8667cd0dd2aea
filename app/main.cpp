#include "database_file.h"
#include "error_reporting_application.h"
#include "prompt_service.h"
#include "startup.h"
#include "termination_signals.h"

int main(int argc, char **argv)
{
    blockTerminationSignals();
    ErrorReportingApplication app(argc, argv);
    MessageBoxPrompts prompts;
    app.setPrompts(&prompts);

    StartupOptions options;
    options.databasePath = database::defaultPath();
    options.prompts = &prompts;
    return runZarnik(options);
}
