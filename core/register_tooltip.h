#pragma once

#include <QStringList>

class FbTransaction;

// The tooltip of a document's row in the register and in the debtors' documents: one line per
// fact about the document that the columns do not show: who made and last changed it, and
// "отправлен 12.03.2026" once it was sent by e-mail. Read for the one row the pointer rests on,
// never while the rows are painted. Empty when there is nothing to tell; throws DbError.
QStringList documentToolTipLines(FbTransaction &transaction, qint64 document);
