#include "document_audit.h"

#include "fb_statement.h"

QStringList auditLines(const AuditRecord &audit)
{
    const auto line = [](const char *who, const QString &user, const QDateTime &at) {
        QString text = QString::fromUtf8(who);
        if (!user.isEmpty())
            text += u' ' + user + u',';
        return text + u' ' + at.toString(u"dd.MM.yyyy HH:mm");
    };
    QStringList lines;
    if (audit.madeAt.isValid())
        lines << line("создал", audit.madeBy, audit.madeAt);
    if (audit.changedAt.isValid() &&
        (audit.changedAt != audit.madeAt || audit.changedBy != audit.madeBy))
        lines << line("изменил", audit.changedBy, audit.changedAt);
    return lines;
}

namespace document_audit {

std::optional<AuditRecord> of(FbTransaction &transaction, qint64 kod)
{
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("SELECT MADE_BY, MADE_AT, CHANGED_BY, CHANGED_AT FROM "
                                     "DOC_AUDIT WHERE KODDOCS = :K"));
    statement.setParameter(0, kod);
    statement.execute();
    std::optional<AuditRecord> audit;
    if (statement.fetch())
        audit =
            AuditRecord{statement.value(0).toString().trimmed(), statement.value(1).toDateTime(),
                        statement.value(2).toString().trimmed(), statement.value(3).toDateTime()};
    statement.closeCursor();
    return audit;
}

} // namespace document_audit
