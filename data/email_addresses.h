#pragma once

#include <QString>

class FbTransaction;

// The e-mail addresses of the clients and of the business itself, kept in a table of the
// program's own (EMAILS, see program_tables.h) beside the original tables, which have no
// column for them: one row per client (its KOD) and one for the business ("own"). An address
// is stored as typed; whether it looks right is the windows' mark, not a refusal here.
namespace email_addresses {

QString ownerOfClient(int clientKod);
QString ownOwner(); // "own": the business's requisites

// Empty when none is kept, or the database has no such table yet.
QString of(FbTransaction &transaction, const QString &owner);
// The address of a document's client: the client of the reference book with the document's
// BIN/IIN, or its name where the BIN/IIN is empty (as the debts find it). Empty when none.
QString ofDocumentClient(FbTransaction &transaction, const QString &biniin, const QString &name);
// An empty address removes the row. Throws DbError, with the cure in words, when the database
// has no table of addresses.
void set(FbTransaction &transaction, const QString &owner, const QString &address);

} // namespace email_addresses
