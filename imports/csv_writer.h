#pragma once

#include "import_fields.h"

#include <QByteArray>

class FbTransaction;

// The rows of one kind as a CSV file that spreadsheets open and the import reads back:
// UTF-8 with a byte order mark, ";" between fields, the header of the list's column titles,
// decimal commas, fields quoted when they need it.
QByteArray exportCsv(FbTransaction &transaction, ImportTarget target, int kind);

// One record of such a file, ending with CR LF.
QByteArray csvRecord(const QStringList &fields);
