#pragma once

#include "column_mapping.h"
#include "import_fields.h"
#include "import_table.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <optional>
#include <vector>

// What is done with rows whose name is already in the database in that kind, chosen once for
// all rows: "Обновить", "Пропустить" or "Добавить как новые".
enum class DuplicateChoice { Update, Skip, AddNew };
QString duplicateChoiceCaption(DuplicateChoice choice);

// The key of the row of that kind and name already in the database, if there is one.
using ExistingRow = std::function<std::optional<int>(int kind, const QString &name)>;

struct PlannedRow {
    enum Action { Add, Update };
    Action action = Add;
    int existingKod = 0; // the row an update changes
    int kind = 0;
    QVariantMap values; // database column → value; a mapped empty cell is a null
};

// The rows to write and what was refused, before anything is written.
struct ImportPlan {
    std::vector<PlannedRow> rows;
    int added = 0, updated = 0, skipped = 0, failed = 0;
    // "Строка 5, «Стоимость»: «12а» — не число": one line per refused value.
    QStringList errors;
    // Values written all the same but worth a look, one line each: an address that does not
    // look like one.
    QStringList warnings;
};

struct PlanRequest {
    ImportTarget target = ImportTarget::Goods;
    ColumnMapping mapping;
    int kind = 0; // of rows without a mapped kind column
    DuplicateChoice duplicates = DuplicateChoice::Skip;
};

// Checks every value of every row and decides each row's fate. The file's row numbers count
// the header as row 1, as a spreadsheet shows them.
ImportPlan planImport(const ImportTable &table, const PlanRequest &request,
                      const ExistingRow &existing);

// "будет добавлено N, обновлено M, пропущено K, с ошибками L"
QString planSummary(const ImportPlan &plan);
