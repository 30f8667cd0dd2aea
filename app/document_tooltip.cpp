#include "document_tooltip.h"

#include "data/document_audit.h"

#include <QStringList>

QString documentTooltip(FbTransaction &transaction, qint64 kod)
{
    QStringList lines;
    if (const std::optional<AuditRecord> audit = document_audit::of(transaction, kod))
        lines << auditLines(*audit);
    return lines.join(u'\n');
}
