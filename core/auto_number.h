#pragma once

#include <QString>

class TDM;

// The seven printed forms of a document, each with a number sequence of its own.
enum NumberKind {
    NumberInvoice = 1,
    NumberVatInvoice,
    NumberAct,
    NumberWaybill,
    NumberCashReceipt,
    NumberPowerOfAttorney,
    NumberPaymentOrder,
};

// The DOCS column that holds the number of a kind; empty for anything else.
QString numberColumn(int numberKind);

// The name of a kind's form as a sentence begins with it ("Счет на оплату").
QString formName(int numberKind);

// The next free number of one form: the largest stored in DOCS (archived documents included)
// plus 1, or the own requisites' start number when none is stored.
qint64 nextNumber(TDM &dm, int numberKind);

// Proposes the next number of one form for the current document: the largest number of
// that form stored in DOCS (archived documents included) plus 1, or the own requisites'
// start number when none is stored. The proposal is written into the document, which is
// put into editing for it; a kind outside 1..7 does nothing. A proposal that does not fit
// the column throws DbError and leaves the document's number as it was.
void AutoNumber(TDM &dm, int numberKind);
