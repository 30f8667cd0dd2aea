#pragma once

#include "db_error.h"

// The connection to a database server broke in the middle of work: the server stopped, the
// network went, or the server shut the database down.
namespace connection_loss {

bool isLost(const DbError &error);

// The engine's words on a broken connection, translated into what happened and what to do.
DbError lost(const QString &engineText, std::vector<long> engineCodes, int systemError);

} // namespace connection_loss
