#include "commands.h"
#include "import_command.h"

int runImportClients(const QStringList &args)
{
    return runImport(ImportTarget::Clients, args);
}
