#include "commands.h"
#include "import_command.h"

int runImportGoods(const QStringList &args)
{
    return runImport(ImportTarget::Goods, args);
}
