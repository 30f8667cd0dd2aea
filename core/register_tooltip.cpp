#include "register_tooltip.h"

#include "data/document_audit.h"
#include "data/fb_connection.h"
#include "data/mail_sendings.h"

QStringList documentToolTipLines(FbTransaction &transaction, qint64 document)
{
    if (!transaction.isActive())
        transaction.start();
    QStringList lines;
    if (const std::optional<AuditRecord> audit = document_audit::of(transaction, document))
        lines << auditLines(*audit);
    if (const QDateTime sent = mail_sendings::lastSent(transaction, int(document)); sent.isValid())
        lines << QStringLiteral("отправлен ") + sent.date().toString(u"dd.MM.yyyy");
    return lines;
}
