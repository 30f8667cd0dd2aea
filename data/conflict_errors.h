#pragma once

#include "db_error.h"

// What a user is told when another user's change stands in the way of theirs. Every one of
// these errors carries an engine conflict code, so a caller tells them apart from other
// failures by `isConflict` alone.
namespace conflict {

// Another user's unfinished change holds the row, or the engine refused for a concurrent one.
bool isConflict(const DbError &error);

// The engine's conflict text, translated into what happened and what to do.
DbError busyElsewhere(const QString &engineText, std::vector<long> engineCodes);
// The row changed, or went, after this program read it.
DbError changedElsewhere();
DbError deletedElsewhere();

// `error` with the row it is about named on its second line ("Документ: счет № 5 …"), so a
// user knows which of their open windows it concerns.
DbError naming(const DbError &error, const QString &recordTitle);

} // namespace conflict
