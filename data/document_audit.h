#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

class FbTransaction;

// Who made a record and when, and who changed it last, as the database's triggers record them
// with the connection's user: for a document in DOC_AUDIT (see program_tables.h), for a payment
// in its own columns.
struct AuditRecord {
    QString madeBy;
    QDateTime madeAt;
    QString changedBy;
    QDateTime changedAt;
};

// "создал ANNA, 01.12.2026 10:15", then "изменил PETR, 02.12.2026 09:30" when it was changed
// since; only the change for a record made before they were kept, nothing without either.
QStringList auditLines(const AuditRecord &audit);

namespace document_audit {

// The record of the document `kod`; none for a document made before the record was kept.
// Throws DbError, also where the database lacks the table.
std::optional<AuditRecord> of(FbTransaction &transaction, qint64 kod);

} // namespace document_audit
