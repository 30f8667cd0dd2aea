#include "dataset_cursor.h"

#include "db_error.h"
#include "fb_statement.h"
#include "row_layout.h"

#include <algorithm>

DatasetCursor::DatasetCursor(FbTransaction &transaction, const RowLayout &layout,
                             const QString &owner)
    : m_transaction(transaction), m_layout(layout), m_owner(owner)
{}

DatasetCursor::~DatasetCursor() = default;

void DatasetCursor::execute(const QString &sql, const QVariantMap &parameters,
                            const std::optional<QVariant> &masterKey)
{
    if (!m_transaction.isActive())
        m_transaction.start();
    FbStatement &select = preparedSelect(sql);
    const QStringList &names = select.parameterNames();
    for (int i = 0; i < names.size(); ++i) {
        QVariant value;
        if (masterKey && names[i].compare(QStringLiteral("KOD"), Qt::CaseInsensitive) == 0) {
            value = *masterKey;
        } else {
            bool found = false;
            for (auto it = parameters.cbegin(); it != parameters.cend(); ++it) {
                if (it.key().compare(names[i], Qt::CaseInsensitive) == 0) {
                    value = it.value();
                    found = true;
                }
            }
            if (!found)
                throw DbError(
                    QStringLiteral("%1: нет значения параметра %2").arg(m_owner, names[i]));
        }
        select.setParameter(i, value);
    }
    try {
        select.execute();
    } catch (...) {
        // Prepared afresh next time, in case the statement went with the connection.
        m_select.reset();
        throw;
    }
    m_done = false;
    m_postedKeys.clear();
}

FbStatement &DatasetCursor::preparedSelect(const QString &sql)
{
    if (m_select && m_preparedSql == sql)
        return *m_select;
    m_select.reset();
    auto select = std::make_unique<FbStatement>(m_transaction);
    select->prepare(sql);
    m_resultTarget = m_layout.rowColumns(*select);
    // A selected field that a select leaves out stays empty: a listing that needs no payments
    // does not compute them.
    for (size_t i = 0; i < m_layout.fields.size(); ++i) {
        const int column = m_layout.column[i];
        if (column >= 0 && m_layout.fields[i].source == FieldSource::Data &&
            std::find(m_resultTarget.begin(), m_resultTarget.end(), column) == m_resultTarget.end())
            throw DbError(QStringLiteral("%1: поле '%2' не найдено в результате запроса")
                              .arg(m_owner, m_layout.fields[i].name));
    }
    m_select = std::move(select);
    m_preparedSql = sql;
    return *m_select;
}

std::vector<Row> DatasetCursor::fetch(int count)
{
    std::vector<Row> batch;
    if (m_done || !m_select)
        return batch;
    const int keyColumn = m_layout.keyField >= 0 ? m_layout.column[size_t(m_layout.keyField)] : -1;
    while (int(batch.size()) < count) {
        if (!m_select->fetch()) {
            close();
            break;
        }
        Row row(m_layout.storedCount);
        m_select->readInto(row, m_resultTarget);
        if (!m_postedKeys.empty() && keyColumn >= 0 && !row.isNull(keyColumn) &&
            m_postedKeys.count(row.integer(keyColumn)))
            continue;
        batch.push_back(std::move(row));
    }
    return batch;
}

void DatasetCursor::close()
{
    if (m_select)
        m_select->closeCursor();
    m_done = true;
}

void DatasetCursor::notePosted(qint64 key)
{
    if (!m_done)
        m_postedKeys.insert(key);
}

void DatasetCursor::release()
{
    m_select.reset();
}
