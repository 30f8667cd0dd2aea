#include "business_templates.h"

#include "db_error.h"
#include "fb_statement.h"
#include "program_tables.h"

#include <ibase.h>

#include <QVariant>

namespace business_templates {

namespace {

void requireTable(FbTransaction &transaction)
{
    if (!tableExists(transaction, "TEMPLATES"))
        throw DbError(QStringLiteral(
            "В базе данных нет таблицы бланков документов: откройте базу данных один раз от "
            "имени ее владельца, и таблица будет добавлена."));
}

} // namespace

std::optional<QByteArray> body(FbTransaction &transaction, const QString &name)
{
    FbStatement statement(transaction);
    try {
        statement.prepare(QStringLiteral("SELECT BODY FROM TEMPLATES WHERE NAME = :NAME"));
    } catch (const DbError &e) {
        // Read at every print, where asking first whether the table is there would cost a
        // server two more round trips; only a database that lacks the table refuses this.
        if (e.hasEngineCode(isc_dsql_relation_err))
            return std::nullopt;
        throw;
    }
    statement.setParameter(0, name);
    statement.execute();
    std::optional<QByteArray> stored;
    if (statement.fetch()) {
        // A row always holds a body; a null one reads as empty, which the reader refuses.
        stored = statement.blob(0, kMaxBytes);
        if (stored->isNull())
            stored = QByteArray("");
    }
    statement.closeCursor();
    return stored;
}

std::vector<StoredTemplate> list(FbTransaction &transaction)
{
    std::vector<StoredTemplate> stored;
    if (!tableExists(transaction, "TEMPLATES"))
        return stored;
    FbStatement statement(transaction);
    statement.prepare(
        QStringLiteral("SELECT NAME, CHANGED_BY, CHANGED_AT FROM TEMPLATES ORDER BY NAME"));
    statement.execute();
    while (statement.fetch())
        stored.push_back({statement.value(0).toString().trimmed(),
                          statement.value(1).toString().trimmed(),
                          statement.value(2).toDateTime()});
    return stored;
}

void store(FbTransaction &transaction, const QString &name, const QByteArray &body)
{
    requireTable(transaction);
    FbStatement statement(transaction);
    // Who and when come from the server, as the record of documents' changes does.
    statement.prepare(
        QStringLiteral("UPDATE OR INSERT INTO TEMPLATES (NAME, BODY, CHANGED_BY, CHANGED_AT) "
                       "VALUES (:NAME, :BODY, CURRENT_USER, CURRENT_TIMESTAMP) MATCHING (NAME)"));
    statement.setParameter(QStringLiteral("NAME"), name);
    statement.setParameter(QStringLiteral("BODY"), body);
    statement.execute();
}

void remove(FbTransaction &transaction, const QString &name)
{
    requireTable(transaction);
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("DELETE FROM TEMPLATES WHERE NAME = :NAME"));
    statement.setParameter(0, name);
    statement.execute();
}

} // namespace business_templates
