#pragma once

#include <QString>

class FbTransaction;

// The tooltip of a document's row in the register and in the debtors' documents: what is
// recorded about the document, a line each (who made and last changed it, and when).
QString documentTooltip(FbTransaction &transaction, qint64 kod);
