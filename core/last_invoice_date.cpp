#include "last_invoice_date.h"

#include "data/fb_statement.h"
#include "data/field_values.h"

QDateTime lastInvoiceDate(FbTransaction &transaction, const SelectStatement &listed)
{
    // Empty dates come first in an ascending order, so the last row bears the latest date
    // whenever any row has one.
    if (!transaction.isActive())
        transaction.start();
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("select max(DATASCH) from (") + listed.sql +
                      QStringLiteral(")"));
    for (auto it = listed.parameters.cbegin(); it != listed.parameters.cend(); ++it)
        statement.setParameter(it.key(), it.value());
    statement.execute();
    const QVariant latest = statement.fetch() ? statement.value(0) : QVariant();
    statement.closeCursor();
    return field_values::asDateTime(latest, FieldType::DateTime);
}
