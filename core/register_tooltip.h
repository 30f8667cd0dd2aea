#pragma once

#include <QStringList>

class FbTransaction;

// The tooltip of a document's row in the register: one line per fact about the document that
// its columns do not show, such as "отправлен 12.03.2026" once it was sent by e-mail. Read for
// the one row the mouse rests on, never while the rows are painted. Empty when there is
// nothing to tell.
QStringList documentToolTipLines(FbTransaction &transaction, int document);
