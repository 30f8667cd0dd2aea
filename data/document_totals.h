#pragma once

#include <QStringList>

// The columns of DOCS that printing fills with the document's totals: its VAT rate, the sums, the
// count of lines and the sum in words. They follow from the lines, so writing them alone is no
// change of the document: a user who may only read prints all the same, and the record of who
// changed the document leaves such a write out.
const QStringList &documentTotalsColumns();
