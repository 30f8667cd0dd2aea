#pragma once

#include <QDate>
#include <QString>

#include <optional>

// The state of a document's payment. The register computes it in SQL from what is stored
// (statusSql), the other places from the amounts (paymentStatus); both follow one rule:
// overpaid beats paid, paid beats overdue, and a document is overdue when its due date lies
// before the day looked at and it is not paid in full. Amounts within half a tiyn are equal.
enum class PaymentStatus { Unpaid = 0, Partial = 1, Paid = 2, Overpaid = 3, Overdue = 4 };

PaymentStatus paymentStatus(double amount, double paid, std::optional<QDate> due, QDate at);

// "не оплачен", "оплачен частично", "оплачен", "переплата", "просрочен".
QString paymentStatusText(PaymentStatus status);
// The text of a status code as statusSql gives it; empty for a null or unknown one.
QString paymentStatusText(const QVariant &code);

// SQL expressions over the documents of DOCS aliased D, for a select list or a condition:
// the document's amount, what was paid for it, its due date, and its status code, the last
// as of the date bound to the parameter :NA. The amount and the due date the status needs are
// those the database keeps beside each document (DOC_AMOUNTS, see data/program_tables.h).
namespace payment_sql {
QString amount();
QString paid();
QString dueDate();
QString status();
inline constexpr const char *kDateParameter = "NA";
// The start of the register's selects: every column of DOCS D, what was paid as OPLACHENO and
// the status as STATUS, computed whenever the statement runs; a condition and an order follow.
QString documentsSelect();
} // namespace payment_sql
