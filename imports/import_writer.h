#pragma once

#include "import_plan.h"

#include <functional>
#include <map>
#include <utility>

class FbTransaction;

// The rows of one table already in the database, by kind and name (letter case ignored).
class ExistingRows {
public:
    ExistingRows(FbTransaction &transaction, ImportTarget target);
    std::optional<int> find(int kind, const QString &name) const;
    ExistingRow lookup() const;

private:
    std::map<std::pair<int, QString>, int> m_kods;
};

enum class WriteOutcome { Written, Cancelled };

// Told before each row is written; false cancels the import.
using WriteProgress = std::function<bool(int done, int total)>;

// Writes every planned row inside a savepoint of the transaction: all of them, or, when
// progress cancels or the database refuses a row (DbError, rethrown), none. The transaction
// itself is left to its owner to commit.
WriteOutcome writePlan(FbTransaction &transaction, ImportTarget target, const ImportPlan &plan,
                       const WriteProgress &progress = {});
