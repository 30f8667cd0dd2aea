#pragma once

#include "matching.h"
#include "statement.h"

#include <vector>

class FbTransaction;

// Recording a statement's incoming money: each operation once, with the payments it makes.

// A part of an operation's amount that goes to a document.
struct DocumentShare {
    int document = 0;
    double amount = 0;
};

// What the user chose for an operation the matching left alone.
struct OperationChoice {
    enum class Kind {
        Leave,     // not recorded: the next load offers it again
        Documents, // split over documents; what the shares leave is the client's advance
        Advance,   // all of it on account of the client
        Ignore     // recorded, so that it is not offered again, and pays nothing
    };
    Kind kind = Kind::Leave;
    std::vector<DocumentShare> shares;
};

struct PlannedOperation {
    StatementOperation operation;
    bool alreadyImported = false; // same account, date, number and amount stored before
    DocumentMatch match;
    OperationChoice choice; // for one without a match
};

struct StatementPlan {
    std::vector<PlannedOperation> operations; // the incoming ones, in the statement's order
    DocumentMatcher matcher;                  // the payers' documents with what stays due
};

// The incoming operations of the statement, each marked when imported before or else matched
// to an open document of its payer.
StatementPlan planImport(FbTransaction &transaction, const Statement &statement);

// Why the choice cannot be recorded ("Сумма по документам больше суммы операции"); empty when
// it can.
QString choiceProblem(const PlannedOperation &planned);

struct ImportCounts {
    int recorded = 0;  // operations stored, with their payments
    int unmatched = 0; // left for the user
    int alreadyImported = 0;
};

// Stores each matched or decided operation not stored before (looked up again here) with its
// payments, all or nothing: on an error nothing of it stays and the error goes on to the
// caller, who commits the transaction.
ImportCounts recordImport(FbTransaction &transaction, const std::vector<PlannedOperation> &plan);
