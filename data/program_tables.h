#pragma once

class FbConnection;
class FbTransaction;

// The tables this program keeps beside the business's eight: IMAGES (the images of the business
// the forms print), NUMBERING (one row per numbering lock, see core/number_check), PAYMENTS and
// DUEDATES (what was paid for each document and by when, see data/payments.h), BANK_OPERATIONS
// (the incoming operations of bank statements that were recorded), SETTINGS (the program's own
// values kept in the database, by name), EMAILS (the e-mail addresses of the clients and the
// business) and MAIL_SENDINGS (the documents sent by e-mail). They, and the columns added to them since, are
// added to a database of this program that lacks them (one made before they were kept) each
// time it is opened; a database of another program is left as it is. A user who may not add
// tables to a server's database opens it all the same: what needs the tables says so, or makes
// do without.
void ensureProgramTables(FbConnection &connection);

bool tableExists(FbTransaction &transaction, const char *name);
