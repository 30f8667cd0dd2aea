#pragma once

#include "document_audit.h"

#include <QDate>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class FbStatement;
class FbTransaction;

// What was paid for each document, and by when it is due. A document's amount is the sum of
// its lines' STREALIZ, what its invoice prints as "Итого", whether or not a form was printed:
// the document's own total columns are filled only by printing. Amounts are rounded to tiyn as
// the documents' are. Everything is read from what is stored, at the moment it is asked.

enum class PaymentKind { Bank = 0, Cash = 1, Other = 2 };
enum class PaymentSource { Typed = 0, BankStatement = 1 };

struct Payment {
    int kod = 0; // 0 for one not stored yet
    int document = 0;
    QDate date;
    double amount = 0;
    PaymentKind kind = PaymentKind::Bank;
    QString note;
    PaymentSource source = PaymentSource::Typed;
    QString docNumber; // the paying document's: the payment order's or the cash receipt order's
    int operation = 0; // the bank statement's operation it came from (BANK_OPERATIONS), 0 none
    AuditRecord audit; // who recorded it and who changed it last, as read; written by the database
};

// "банк", "касса", "прочее".
QString paymentKindText(PaymentKind kind);

// Stores new payments one after another through statements prepared once, for the many payments
// of a bank statement; payments::add is the one-off form.
class PaymentInserter {
public:
    explicit PaymentInserter(FbTransaction &transaction);
    ~PaymentInserter();
    PaymentInserter(const PaymentInserter &) = delete;
    PaymentInserter &operator=(const PaymentInserter &) = delete;

    // Stores a new payment (its amount rounded to tiyn); its key.
    int add(const Payment &payment);

private:
    std::unique_ptr<FbStatement> m_key;
    std::unique_ptr<FbStatement> m_insert;
};

namespace payments {

// The payments of a document by date, then in the order they were recorded.
std::vector<Payment> of(FbTransaction &transaction, int document);
// Stores a new payment (its amount rounded to tiyn); its key.
int add(FbTransaction &transaction, const Payment &payment);
// Writes a stored payment's date, amount, kind and note.
void change(FbTransaction &transaction, const Payment &payment);
void remove(FbTransaction &transaction, int kod);
// Removes a document's payments and its due date; does nothing where the tables are missing.
void removeDocument(FbTransaction &transaction, int document);

// The sum of the document's lines' STREALIZ, to tiyn.
double documentAmount(FbTransaction &transaction, int document);
// The sum of the document's payments, to tiyn.
double paidAmount(FbTransaction &transaction, int document);

// What a printed cash receipt order attests: a cash payment of the document's whole amount at the
// order's date, noted with the order's number. Its key.
int addCashReceipt(FbTransaction &transaction, int document, QDate orderDate, int orderNumber);

std::optional<QDate> dueDate(FbTransaction &transaction, int document);
// An empty date removes the document's due date.
void setDueDate(FbTransaction &transaction, int document, std::optional<QDate> date);

// "Срок оплаты, дней" of the requisites: how many days after its invoice date a new document
// is due; 10 until set.
int termDays(FbTransaction &transaction);
void setTermDays(FbTransaction &transaction, int days);
inline constexpr int kDefaultTermDays = 10;

} // namespace payments
