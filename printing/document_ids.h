#pragma once

#include <QStringList>

class TDM;

// The identifiers on the current document's forms that fail their checks: the client's,
// as copied into the document, then the business's own, each line saying whose it is.
QStringList documentIdProblems(TDM &dm);
