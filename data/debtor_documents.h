#pragma once

#include <QDate>

#include <optional>
#include <vector>

class FbTransaction;

// The documents of a debtor with what each still comes to at a date, as the debtors' window
// lists a client's invoices.
struct DocumentDebt {
    int kod = 0;
    int number = 0; // NUMSCH
    QDate date;     // DATASCH
    double amount = 0;
    double paid = 0; // by the date
    double due = 0;
    std::optional<QDate> dueDate;
    int daysOverdue = 0; // 0 when not due yet or without a due date
};

// The documents `kods` (as clientDebts lists them), in that order, at the date `at`.
std::vector<DocumentDebt> documentDebts(FbTransaction &transaction, const std::vector<int> &kods,
                                        QDate at);
