#pragma once

#include <QDate>
#include <QString>
#include <QVariantMap>

// The select statements of the document register. The client text and the dates are
// bound as parameters, never pasted: any text filters as typed, and none can change the
// statement.

// Which documents the register lists (the items of its view group).
enum class RegisterView { Current = 0, Archived = 1, All = 2 };

// Which documents by their payment (the items beside "Показывать документы"): all, those not
// paid in full, those overdue today.
enum class PaymentFilter { All = 0, Unpaid = 1, Overdue = 2 };

struct SelectStatement {
    QString sql;
    QVariantMap parameters;
};

// Every statement that lists documents gives, besides the columns of DOCS, OPLACHENO (the sum
// of their payments) and STATUS (the code of their PaymentStatus today, data/payment_status.h),
// both computed from what is stored whenever the statement runs.

// The documents of a view by invoice number.
SelectStatement viewStatement(RegisterView view, PaymentFilter filter = PaymentFilter::All);

// The documents of a view whose name contains client (case-sensitive; no filter when it
// is empty) and whose invoice date lies between from and to, both included, by invoice
// number. A document without an invoice date never matches.
SelectStatement queryStatement(RegisterView view, const QString &client, QDate from, QDate to,
                               PaymentFilter filter = PaymentFilter::All);

// The documents of a view whose name contains client (no date filter) ordered by column.
SelectStatement sortStatement(RegisterView view, const QString &client, const QString &column,
                              PaymentFilter filter = PaymentFilter::All);

// The KOD and invoice date of the first document sortStatement(view, client, "DATASCH") lists
// (one without a date, if any), sorting only those two columns.
SelectStatement earliestDocumentStatement(RegisterView view, const QString &client,
                                          PaymentFilter filter = PaymentFilter::All);

// The latest invoice date among the documents sortStatement(view, client, …) lists; empty when
// none has one. In invoice-date order the empty dates come first, so it is the date of the
// last row whenever that row has one.
SelectStatement latestInvoiceDateStatement(RegisterView view, const QString &client,
                                           PaymentFilter filter = PaymentFilter::All);
