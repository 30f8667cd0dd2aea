#pragma once

#include <QStringList>

class FbConnection;
class FbTransaction;

// The tables this program keeps beside the business's eight: IMAGES (the images of the business
// the forms print), NUMBERING (one row per numbering lock, see core/number_check), PAYMENTS and
// DUEDATES (what was paid for each document and by when, see data/payments.h), BANK_OPERATIONS
// (the incoming operations of bank statements that were recorded), SETTINGS (the program's own
// values kept in the database, by name), EMAILS (the e-mail addresses of the clients and the
// business), MAIL_SENDINGS (the documents sent by e-mail), DOC_AUDIT (who made and last
// changed each document), DOC_AMOUNTS (each document's amount and due date, kept in step by
// triggers) and TEMPLATES (the business's own versions of the forms), with the triggers that
// fill the record of who changed what and the amounts, and the roles of the office's users with
// their grants. They, and the columns added to them since, are added to a database of this
// program that lacks them (one made before they were kept) each time it is opened by its owner,
// SYSDBA or an RDB$ADMIN; a database of another program is left as it is. Gives what is still
// missing: for anybody else, all of it (the database opens all the same, and what needs the
// tables says so, or makes do without).
QStringList ensureProgramTables(FbConnection &connection);

// What a user is told once when the database lacks `missing` and they may not make it.
QString missingProgramPartsText(const QStringList &missing);

bool tableExists(FbTransaction &transaction, const char *name);
