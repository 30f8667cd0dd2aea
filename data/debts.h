#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

class FbTransaction;

// What the clients owe at a date. A document belongs to its client by BIN/IIN, or by name
// where the BIN/IIN is empty: documents hold copies of the client's details, not a key.
// Documents invoiced after the date and payments made after it do not count yet; archived
// documents count, since an archived invoice can still be owed.

// What is due by how long it is overdue at the date.
struct DebtAges {
    double notDue = 0; // "не наступил срок": no due date, or not passed
    double days1to30 = 0;
    double days31to60 = 0;
    double days61to90 = 0;
    double over90 = 0;

    double overdue() const { return days1to30 + days31to60 + days61to90 + over90; }
    void add(const DebtAges &other);
};

// A document with money due at the date.
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

struct ClientDebt {
    QString name;
    QString biniin;
    double invoiced = 0;
    double paid = 0;
    double due = 0; // the sum of what remains of each document; an overpaid one counts nothing
    DebtAges ages;
    // Paid on account (an advance): what the bank operations left on account of the client
    // brought by the date, less what of them went to documents. Not netted against `due`.
    double advance = 0;
    std::vector<int> documents; // the KOD of each document with money due, by invoice number
    std::vector<DocumentDebt> dueDocuments; // those documents, in the same order
};

struct Debts {
    std::vector<ClientDebt> clients; // those with money due or an advance, by name
    ClientDebt total;                // the sums of those clients
};

// Where an amount due `days` past its due date goes (0 or fewer: not due yet).
void addByAge(DebtAges &ages, int days, double amount);

Debts clientDebts(FbTransaction &transaction, QDate at);
