#pragma once

#include "imports/import_fields.h"

#include <QStringList>

// import-goods and import-clients: one table file into the database, with the checks and
// the duplicate choice of the import window, all rows or none.
int runImport(ImportTarget target, const QStringList &args);
