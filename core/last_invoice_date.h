#pragma once

#include "register_statements.h"

#include <QDateTime>

class FbTransaction;

// The invoice date of the last document of a view whose name contains client, in invoice-date
// order, as the register would show on its last row (day zero when that document has none or
// nothing is listed), asked of the database: reading the register to its last row would bring
// every document over the network.
QDateTime lastInvoiceDate(FbTransaction &transaction, RegisterView view, const QString &client);
