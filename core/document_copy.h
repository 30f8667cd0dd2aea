#pragma once

#include <QtGlobal>

class TDM;

// Makes a copy of the current document and its lines, as the user sees them, and leaves
// it as the current document: stored, with every number empty and every date today, and
// lines without a VAT rate. Returns the copy's KOD.
qint64 copyCurrentDocument(TDM &dm);
