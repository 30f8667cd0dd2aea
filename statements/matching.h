#pragma once

#include <QHash>
#include <QString>

#include <vector>

// Which open document an incoming payment pays. Pure: the documents are given.

// A document of the payer with money still due.
struct OpenDocument {
    int kod = 0;
    int invoiceNumber = 0;    // NUMSCH
    int vatInvoiceNumber = 0; // NUMSCHF
    double due = 0;           // its amount less what was paid
};

enum class MatchRule {
    None,            // left for the user
    NumberInPurpose, // the purpose names the document and its due covers the payment
    ExactAmount      // the one open document whose due is the payment's amount
};

struct DocumentMatch {
    int document = 0; // KOD; 0 when none
    MatchRule rule = MatchRule::None;
    int invoiceNumber = 0; // the document's NUMSCH, to name it
};

// A document whose invoice or VAT invoice number the purpose names and whose due is not less
// than the amount (an invoice number before a VAT invoice number, then in the given order);
// else the one document whose due is exactly the amount; else none.
DocumentMatch matchDocument(const std::vector<OpenDocument> &documents, const QString &purpose,
                            double amount);

// The open documents of the payers by BIN/IIN, matched against a statement's payments in turn:
// what a matched payment pays is off its document's due for the payments after it.
class DocumentMatcher {
public:
    explicit DocumentMatcher(QHash<QString, std::vector<OpenDocument>> byBin);

    DocumentMatch match(const QString &payerBin, const QString &purpose, double amount);
    // The payer's documents with what is still due after the matches so far.
    std::vector<OpenDocument> documentsOf(const QString &payerBin) const;

private:
    QHash<QString, std::vector<OpenDocument>> m_byBin;
};
