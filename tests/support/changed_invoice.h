#pragma once

#include "templates/template_loader.h"

#include <QByteArray>
#include <QString>

// The invoice as a business changes it: a line of its own under the total.
inline const QString kReceivedLine =
    QStringLiteral("Товар получен в полном объеме, претензий не имею");

inline QByteArray changedInvoice()
{
    QByteArray body = ztemplates::builtinTemplateBody(QStringLiteral("repSchet"));
    const QByteArray line = "<TfrxMemoView Name=\"MemoReceived\" Left=\"13mm\" Top=\"40mm\" "
                            "Width=\"184mm\" Height=\"5mm\" Memo=\"" +
                            kReceivedLine.toUtf8() + "\"/>\n    </TfrxFooter>";
    body.replace("</TfrxFooter>", line);
    return body;
}
