#pragma once

#include "db_error.h"

// The server refused an action that the role of the connection may not take ("no permission
// for DELETE access to TABLE DOCS"): told as what was refused on which data, and who can
// change that.
namespace access_refusal {

bool isRefused(const DbError &error);

DbError refused(const QString &engineText, std::vector<long> engineCodes);

} // namespace access_refusal
