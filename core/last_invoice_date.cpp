#include "last_invoice_date.h"

#include "data/fb_statement.h"
#include "data/field_values.h"

QDateTime lastInvoiceDate(FbTransaction &transaction, RegisterView view, const QString &client)
{
    const SelectStatement latest = latestInvoiceDateStatement(view, client);
    if (!transaction.isActive())
        transaction.start();
    FbStatement statement(transaction);
    statement.prepare(latest.sql);
    for (auto it = latest.parameters.cbegin(); it != latest.parameters.cend(); ++it)
        statement.setParameter(it.key(), it.value());
    statement.execute();
    const QVariant date = statement.fetch() ? statement.value(0) : QVariant();
    statement.closeCursor();
    return field_values::asDateTime(date, FieldType::DateTime);
}
