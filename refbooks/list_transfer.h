#pragma once

#include "reference_list.h"

#include "imports/import_fields.h"

// "Импорт..." and "Экспорт..." of the goods and the clients lists: a table file brought into
// the kind shown, and the kind shown written to a CSV file that imports back.
void importIntoList(const RefbookContext &context, QWidget *parent, ImportTarget target, int kind);
void exportList(const RefbookContext &context, QWidget *parent, ImportTarget target, int kind);
