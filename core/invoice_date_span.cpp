#include "invoice_date_span.h"

#include "data/fb_statement.h"
#include "data/field_values.h"

#include <vector>

namespace {

// The first row of a statement, its columns in order; empty when it has none.
std::vector<QVariant> firstRow(FbTransaction &transaction, const SelectStatement &select)
{
    FbStatement statement(transaction);
    statement.prepare(select.sql);
    for (auto it = select.parameters.cbegin(); it != select.parameters.cend(); ++it)
        statement.setParameter(it.key(), it.value());
    statement.execute();
    std::vector<QVariant> row;
    if (statement.fetch()) {
        for (int c = 0; c < statement.columnCount(); ++c)
            row.push_back(statement.value(c));
    }
    statement.closeCursor();
    return row;
}

} // namespace

InvoiceDateSpan invoiceDateSpan(FbTransaction &transaction, RegisterView view,
                                const QString &client, PaymentFilter filter)
{
    if (!transaction.isActive())
        transaction.start();
    const auto earliest = firstRow(transaction, earliestDocumentStatement(view, client, filter));
    const auto latest = firstRow(transaction, latestInvoiceDateStatement(view, client, filter));
    InvoiceDateSpan span;
    if (earliest.empty()) {
        span.first = span.last = QDateTime(QDate::currentDate(), QTime(0, 0));
        return span;
    }
    span.firstKod = earliest[0].toLongLong();
    span.first = field_values::asDateTime(earliest[1], FieldType::DateTime);
    span.last =
        field_values::asDateTime(latest.empty() ? QVariant() : latest[0], FieldType::DateTime);
    return span;
}
