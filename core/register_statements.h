#pragma once

#include <QDate>
#include <QString>
#include <QVariantMap>

// The select statements of the document register. The client text and the dates are
// bound as parameters, never pasted: any text filters as typed, and none can change the
// statement.

// Which documents the register lists (the items of its view group).
enum class RegisterView { Current = 0, Archived = 1, All = 2 };

struct SelectStatement {
    QString sql;
    QVariantMap parameters;
};

// The documents of a view by invoice number.
SelectStatement viewStatement(RegisterView view);

// The documents of a view whose name contains client (case-sensitive; no filter when it
// is empty) and whose invoice date lies between from and to, both included, by invoice
// number. A document without an invoice date never matches.
SelectStatement queryStatement(RegisterView view, const QString &client, QDate from, QDate to);

// The documents of a view whose name contains client (no date filter) ordered by column.
SelectStatement sortStatement(RegisterView view, const QString &client, const QString &column);

// The KOD and invoice date of the first document sortStatement(view, client, "DATASCH") lists
// (one without a date, if any), sorting only those two columns.
SelectStatement earliestDocumentStatement(RegisterView view, const QString &client);

// The latest invoice date among the documents sortStatement(view, client, …) lists; empty when
// none has one. In invoice-date order the empty dates come first, so it is the date of the
// last row whenever that row has one.
SelectStatement latestInvoiceDateStatement(RegisterView view, const QString &client);
