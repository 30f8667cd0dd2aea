#include "overdue_rows.h"

#include "data/dataset.h"
#include "data/dataset_model.h"
#include "data/payment_status.h"

#include <QColor>

void showOverdueRowsInRed(DatasetModel &model)
{
    Dataset *docs = model.dataset();
    const int status = docs->fieldIndex(QStringLiteral("STATUS"));
    if (status < 0)
        return;
    model.setRowRoleData([docs, status](int row, int role) -> QVariant {
        if (role != Qt::ForegroundRole)
            return {};
        const QVariant code = docs->valueAt(row, status);
        if (code.isNull() || code.toInt() != int(PaymentStatus::Overdue))
            return {};
        return QColor(Qt::red);
    });
}
