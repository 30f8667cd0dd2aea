#pragma once

#include "register_statements.h"

#include <QDateTime>

class FbTransaction;

// The documents of a view whose name contains client (and which the payment filter takes), in
// invoice-date order: the first one and its date, and the date of the last one, as the register
// would show them on its first and last rows (day zero for a document without a date; today for
// both when nothing is listed, so that a new database's register shows a period the user can
// start from). Asked of the database: sorting whole documents and reading the register to its
// last row would bring every document over the network.
struct InvoiceDateSpan {
    qint64 firstKod = 0; // 0 when nothing is listed
    QDateTime first;
    QDateTime last;
};

InvoiceDateSpan invoiceDateSpan(FbTransaction &transaction, RegisterView view,
                                const QString &client, PaymentFilter filter = PaymentFilter::All);
