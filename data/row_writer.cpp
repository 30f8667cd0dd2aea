#include "row_writer.h"

#include "conflict_errors.h"
#include "db_error.h"
#include "fb_statement.h"
#include "row_layout.h"
#include "update_sql.h"

RowWriter::RowWriter(FbTransaction &transaction, const RowLayout &layout, const QString &owner)
    : m_transaction(transaction), m_layout(layout), m_owner(owner)
{}

RowWriter::~RowWriter() = default;

FbStatement &RowWriter::prepared(std::unique_ptr<FbStatement> &slot, const QString &sql)
{
    if (!m_transaction.isActive())
        m_transaction.start();
    if (!slot) {
        auto statement = std::make_unique<FbStatement>(m_transaction);
        statement->prepare(sql);
        slot = std::move(statement);
    }
    return *slot;
}

QVariant RowWriter::nextKey(const QString &generator)
{
    FbStatement &next =
        prepared(m_keyStatement, QString::asprintf("SELECT GEN_ID(%s, %d) FROM RDB$DATABASE",
                                                   qPrintable(generator), 1));
    next.execute();
    const QVariant key = next.fetch() ? next.value(0) : QVariant();
    next.closeCursor();
    return key;
}

void RowWriter::write(std::unique_ptr<FbStatement> &slot, const QString &sql, const Row &current,
                      const Row &old)
{
    if (!m_updateSql || sql.isEmpty())
        throw DbError(QStringLiteral("Набор данных %1 только для чтения").arg(m_owner));
    FbStatement &statement = prepared(slot, sql);
    const QStringList &names = statement.parameterNames();
    for (int i = 0; i < names.size(); ++i) {
        const bool isOld = names[i].startsWith(QStringLiteral("OLD_"), Qt::CaseInsensitive);
        const QString name = isOld ? names[i].mid(4) : names[i];
        const int index = m_layout.fieldIndex(name);
        if (index < 0 || m_layout.column[size_t(index)] < 0 ||
            m_layout.fields[size_t(index)].source != FieldSource::Data)
            throw DbError(QStringLiteral("%1: поле '%2' не найдено").arg(m_owner, name));
        statement.setParameter(i, m_layout.storedValue(isOld ? old : current, index));
    }
    statement.execute();
}

void RowWriter::insert(const Row &row)
{
    write(m_insertStatement, m_updateSql ? m_updateSql->insertSql : QString(), row, row);
}

void RowWriter::modify(const Row &changed, const Row &read)
{
    if (canReadStored()) {
        Row stored(read);
        if (!readStoredThrough(m_lockStatement,
                               m_updateSql->refreshSql + QStringLiteral("\nwith lock"), read,
                               stored))
            throw conflict::deletedElsewhere();
        if (!m_layout.sameStoredValues(read, stored))
            throw conflict::changedElsewhere();
    }
    if (changesOnlyNarrowColumns(changed, read))
        write(m_narrowModifyStatement, m_updateSql->narrowModifySql, changed, read);
    else
        write(m_modifyStatement, m_updateSql ? m_updateSql->modifySql : QString(), changed, read);
}

bool RowWriter::changesOnlyNarrowColumns(const Row &changed, const Row &read) const
{
    if (!m_updateSql || m_updateSql->narrowModifySql.isEmpty())
        return false;
    for (size_t i = 0; i < m_layout.fields.size(); ++i) {
        if (!m_updateSql->narrowColumns.contains(m_layout.fields[i].name, Qt::CaseInsensitive) &&
            !m_layout.sameStoredValue(changed, read, int(i)))
            return false;
    }
    return true;
}

void RowWriter::remove(const Row &row)
{
    write(m_deleteStatement, m_updateSql ? m_updateSql->deleteSql : QString(), row, row);
}

bool RowWriter::canReadStored() const
{
    return m_updateSql && !m_updateSql->refreshSql.isEmpty() && m_layout.keyField >= 0;
}

bool RowWriter::readStored(const Row &row, Row &stored)
{
    return readStoredThrough(m_refreshStatement, m_updateSql->refreshSql, row, stored);
}

bool RowWriter::readStoredThrough(std::unique_ptr<FbStatement> &slot, const QString &sql,
                                  const Row &row, Row &stored)
{
    FbStatement &statement = prepared(slot, sql);
    statement.setParameter(0, m_layout.storedValue(row, m_layout.keyField));
    statement.execute();
    const bool found = statement.fetch();
    if (found)
        statement.readInto(stored, m_layout.rowColumns(statement));
    statement.closeCursor();
    return found;
}

void RowWriter::release()
{
    m_keyStatement.reset();
    m_insertStatement.reset();
    m_modifyStatement.reset();
    m_narrowModifyStatement.reset();
    m_deleteStatement.reset();
    m_lockStatement.reset();
    m_refreshStatement.reset();
}
