#include "dataset.h"

#include "conflict_errors.h"
#include "db_error.h"
#include "display_format.h"
#include "fb_statement.h"
#include "field_values.h"

#include <algorithm>

namespace {

// Rows fetched at a time when more are needed for navigation or a grid.
constexpr int kFetchBatch = 64;

} // namespace

Dataset::Dataset(FbTransaction &transaction, const QString &name, QObject *parent)
    : QObject(parent), m_transaction(transaction)
{
    setObjectName(name);
}

Dataset::~Dataset() = default;

// ---- configuration ----

void Dataset::setFields(std::vector<FieldDef> fields)
{
    m_fields = std::move(fields);
    m_column.assign(m_fields.size(), -1);
    m_calcSlot.assign(m_fields.size(), -1);
    m_storedCount = 0;
    m_calcCount = 0;
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].source == FieldSource::Data)
            m_column[i] = m_storedCount++;
        else if (m_fields[i].source == FieldSource::Calculated)
            m_calcSlot[i] = m_calcCount++;
    }
    Q_ASSERT(m_storedCount <= 64);
    m_keyField = fieldIndex(QStringLiteral("KOD"));
}

void Dataset::setMaster(Dataset *master)
{
    m_master = master;
    if (master)
        master->m_details.push_back(this);
}

void Dataset::setFieldChangeHandler(const QString &field, Handler handler)
{
    m_onFieldChange[fieldIndex(field)] = std::move(handler);
}

void Dataset::setLookupResolver(const QString &field, const QString &keyField,
                                LookupResolver resolver)
{
    m_lookups[fieldIndex(field)] = Lookup{fieldIndex(keyField), std::move(resolver)};
}

void Dataset::setSelectSql(const QString &sql, const QVariantMap &parameters)
{
    if (isActive())
        throw DbError(
            QStringLiteral("Нельзя изменить запрос открытого набора данных %1").arg(objectName()));
    m_selectSql = sql;
    m_selectParameters = parameters;
}

const FieldDef &Dataset::field(const QString &name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw DbError(QStringLiteral("%1: поле '%2' не найдено").arg(objectName(), name));
    return m_fields[size_t(index)];
}

int Dataset::fieldIndex(const QString &name) const
{
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

void Dataset::setFieldVisible(const QString &name, bool visible)
{
    const int index = fieldIndex(name);
    if (index < 0 || m_fields[size_t(index)].visible == visible)
        return;
    m_fields[size_t(index)].visible = visible;
    Q_EMIT fieldsChanged();
}

// ---- opening and fetching ----

void Dataset::open()
{
    if (isActive())
        return;
    requery(State::Inactive);
}

void Dataset::close()
{
    if (!isActive())
        return;
    m_resetting = true;
    Q_EMIT aboutToReset();
    m_buffer.reset();
    m_modified = false;
    m_records.clear();
    closeCursor();
    m_current = -1;
    m_bof = m_eof = true;
    m_state = State::Inactive;
    m_resetting = false;
    Q_EMIT reset();
    Q_EMIT stateChanged();
    Q_EMIT currentChanged(-1);
}

void Dataset::execute()
{
    if (!m_transaction.isActive())
        m_transaction.start();
    FbStatement &select = preparedSelect();
    const QStringList &names = select.parameterNames();
    for (int i = 0; i < names.size(); ++i) {
        QVariant value;
        if (m_master && names[i].compare(QStringLiteral("KOD"), Qt::CaseInsensitive) == 0) {
            if (m_master->isActive())
                value = m_master->value(QStringLiteral("KOD"));
        } else {
            bool found = false;
            for (auto it = m_selectParameters.cbegin(); it != m_selectParameters.cend(); ++it) {
                if (it.key().compare(names[i], Qt::CaseInsensitive) == 0) {
                    value = it.value();
                    found = true;
                }
            }
            if (!found)
                throw DbError(
                    QStringLiteral("%1: нет значения параметра %2").arg(objectName(), names[i]));
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
    m_cursorDone = false;
    m_postedKeys.clear();
}

FbStatement &Dataset::preparedSelect()
{
    // On a server each prepare is a round trip: the statement is kept for as long as the
    // select stays the same, across reopening and committing.
    if (m_select && m_preparedSql == m_selectSql)
        return *m_select;
    m_select.reset();
    auto select = std::make_unique<FbStatement>(m_transaction);
    select->prepare(m_selectSql);
    m_resultTarget = rowColumns(*select);
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (m_column[i] >= 0 && std::find(m_resultTarget.begin(), m_resultTarget.end(),
                                          m_column[i]) == m_resultTarget.end())
            throw DbError(QStringLiteral("%1: поле '%2' не найдено в результате запроса")
                              .arg(objectName(), m_fields[i].name));
    }
    m_select = std::move(select);
    m_preparedSql = m_selectSql;
    return *m_select;
}

std::vector<int> Dataset::rowColumns(const FbStatement &statement) const
{
    std::vector<int> target(size_t(statement.columnCount()), -1);
    for (int c = 0; c < statement.columnCount(); ++c) {
        const int index = fieldIndex(statement.columnName(c));
        if (index >= 0)
            target[size_t(c)] = m_column[size_t(index)];
    }
    return target;
}

void Dataset::releaseStatements()
{
    close();
    m_select.reset();
    m_keyStatement.reset();
    m_insertStatement.reset();
    m_modifyStatement.reset();
    m_deleteStatement.reset();
    m_lockStatement.reset();
    m_refreshStatement.reset();
}

int Dataset::fetchRows(int count)
{
    if (m_cursorDone || !m_select)
        return 0;
    std::vector<Record> batch;
    while (int(batch.size()) < count) {
        if (!m_select->fetch()) {
            m_cursorDone = true;
            break;
        }
        Record record(m_storedCount);
        m_select->readInto(record.data, m_resultTarget);
        if (!m_postedKeys.empty() && m_keyField >= 0) {
            const int keyColumn = m_column[size_t(m_keyField)];
            if (!record.data.isNull(keyColumn) &&
                m_postedKeys.count(record.data.integer(keyColumn)))
                continue;
        }
        batch.push_back(std::move(record));
    }
    if (m_cursorDone)
        closeCursor();
    if (batch.empty())
        return 0;
    const int first = int(m_records.size());
    const int last = first + int(batch.size()) - 1;
    if (!m_resetting)
        Q_EMIT rowsAboutToBeInserted(first, last);
    for (Record &record : batch)
        m_records.push_back(std::move(record));
    if (!m_resetting)
        Q_EMIT rowsInserted();
    return int(batch.size());
}

bool Dataset::ensureRow(int index)
{
    while (index >= int(m_records.size()) && !m_cursorDone)
        fetchRows(kFetchBatch);
    return index >= 0 && index < int(m_records.size());
}

void Dataset::fetchAll()
{
    while (!m_cursorDone)
        fetchRows(4096);
}

void Dataset::closeCursor()
{
    if (m_select)
        m_select->closeCursor();
    m_cursorDone = true;
}

bool Dataset::canFetchMore() const
{
    return isActive() && !m_cursorDone && !m_resetting;
}

void Dataset::fetchMore(int count)
{
    // While the rows are being replaced, views asking for more must wait for the reset.
    if (!m_resetting)
        fetchRows(count);
}

int Dataset::recordCount()
{
    fetchAll();
    return rowCount();
}

bool Dataset::isEmpty() const
{
    return m_records.empty();
}

// ---- navigation ----

void Dataset::moveTo(int index)
{
    if (index == m_current)
        return;
    m_current = index;
    currentRowChanged();
}

void Dataset::first()
{
    requireActive();
    checkBrowseMode();
    if (isEmpty()) {
        m_bof = m_eof = true;
        return;
    }
    moveTo(0);
    m_bof = true;
    m_eof = false;
}

void Dataset::last()
{
    requireActive();
    checkBrowseMode();
    fetchAll();
    if (isEmpty()) {
        m_bof = m_eof = true;
        return;
    }
    moveTo(rowCount() - 1);
    m_bof = false;
    m_eof = true;
}

void Dataset::next()
{
    requireActive();
    checkBrowseMode();
    if (ensureRow(m_current + 1)) {
        moveTo(m_current + 1);
        m_bof = m_eof = false;
    } else {
        m_eof = true;
    }
}

void Dataset::prior()
{
    requireActive();
    checkBrowseMode();
    if (m_current > 0) {
        moveTo(m_current - 1);
        m_bof = m_eof = false;
    } else {
        m_bof = true;
    }
}

void Dataset::setCurrentIndex(int index)
{
    requireActive();
    if (index == m_current)
        return;
    checkBrowseMode();
    if (!ensureRow(index))
        return;
    moveTo(index);
    m_bof = index == 0;
    m_eof = false;
}

bool Dataset::locate(qint64 kod)
{
    requireActive();
    checkBrowseMode();
    if (m_keyField < 0)
        return false;
    const int keyColumn = m_column[size_t(m_keyField)];
    for (int i = 0;; ++i) {
        if (!ensureRow(i))
            return false;
        const Row &row = m_records[size_t(i)].data;
        if (!row.isNull(keyColumn) && row.integer(keyColumn) == kod) {
            moveTo(i);
            m_bof = m_eof = false;
            return true;
        }
    }
}

// ---- reading values ----

const Dataset::Record *Dataset::currentRecord() const
{
    if (m_calcRecord)
        return m_calcRecord;
    if (m_buffer)
        return m_buffer.get();
    if (m_current >= 0 && m_current < int(m_records.size()))
        return &m_records[size_t(m_current)];
    return nullptr;
}

const Dataset::Record &Dataset::recordAt(int row) const
{
    if (m_buffer && row == m_current)
        return *m_buffer;
    return m_records[size_t(row)];
}

QVariant Dataset::storedValue(const Record &record, int index) const
{
    return field_values::read(record.data, m_column[size_t(index)], m_fields[size_t(index)].type);
}

void Dataset::computeCalculated(const Record &record) const
{
    record.calculated = std::make_unique<std::vector<QVariant>>(size_t(m_calcCount));
    if (!m_onCalcFields)
        return;
    const Record *saved = m_calcRecord;
    m_calcRecord = &record;
    try {
        m_onCalcFields();
    } catch (...) {
        m_calcRecord = saved;
        throw;
    }
    m_calcRecord = saved;
}

QVariant Dataset::calculatedValue(const Record &record, int index) const
{
    if (!record.calculated)
        computeCalculated(record);
    return (*record.calculated)[size_t(m_calcSlot[size_t(index)])];
}

QVariant Dataset::recordValue(const Record &record, int index) const
{
    switch (m_fields[size_t(index)].source) {
    case FieldSource::Data:
        return storedValue(record, index);
    case FieldSource::Calculated:
        return calculatedValue(record, index);
    case FieldSource::Lookup: {
        const auto it = m_lookups.find(index);
        if (it == m_lookups.end())
            return {};
        return it->second.resolve(recordValue(record, it->second.keyField));
    }
    }
    return {};
}

QVariant Dataset::value(const QString &name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        field(name); // throws the missing-field error
    const Record *record = currentRecord();
    return record ? recordValue(*record, index) : QVariant();
}

QVariant Dataset::valueAt(int row, int index) const
{
    if (row < 0 || row >= rowCount() || index < 0 || index >= fieldCount())
        return {};
    return recordValue(recordAt(row), index);
}

QString Dataset::displayTextAt(int row, int index) const
{
    return display::text(valueAt(row, index), m_fields[size_t(index)].type);
}

qint64 Dataset::asInteger(const QString &name) const
{
    return field_values::asInteger(value(name), field(name).type);
}

double Dataset::asFloat(const QString &name) const
{
    return field_values::asFloat(value(name), field(name).type);
}

QString Dataset::asString(const QString &name) const
{
    return displayText(name);
}

QDateTime Dataset::asDateTime(const QString &name) const
{
    return field_values::asDateTime(value(name), field(name).type);
}

QString Dataset::displayText(const QString &name) const
{
    return display::text(value(name), field(name).type);
}

// ---- assigning values ----

void Dataset::storeValue(Record &record, int index, const QVariant &value)
{
    field_values::write(record.data, m_column[size_t(index)], m_fields[size_t(index)], value);
}

void Dataset::requireActive() const
{
    if (!isActive())
        throw DbError(QStringLiteral("Набор данных %1 закрыт").arg(objectName()));
}

void Dataset::requireEditing(const QString &field) const
{
    if (!isEditing())
        throw DbError(QStringLiteral("%1: поле '%2' нельзя изменить: набор данных не в режиме "
                                     "редактирования")
                          .arg(objectName(), field));
}

void Dataset::setValue(const QString &name, const QVariant &value)
{
    const int index = fieldIndex(name);
    const FieldDef &def = field(name);
    if (m_calcRecord) {
        // Inside the calculation handler only calculated fields are written.
        if (def.source == FieldSource::Calculated)
            (*m_calcRecord->calculated)[size_t(m_calcSlot[size_t(index)])] =
                field_values::converted(value, def);
        return;
    }
    requireEditing(name);
    switch (def.source) {
    case FieldSource::Lookup:
        throw DbError(QStringLiteral("Поле '%1' только для чтения").arg(name));
    case FieldSource::Calculated:
        if (!m_buffer->calculated)
            computeCalculated(*m_buffer);
        (*m_buffer->calculated)[size_t(m_calcSlot[size_t(index)])] =
            field_values::converted(value, def);
        Q_EMIT rowChanged(m_current);
        return;
    case FieldSource::Data:
        break;
    }
    storeValue(*m_buffer, index, field_values::converted(value, def));
    m_buffer->calculated.reset();
    m_modified = true;
    Q_EMIT rowChanged(m_current);
    if (const auto it = m_onFieldChange.find(index); it != m_onFieldChange.end())
        it->second();
}

void Dataset::setAsString(const QString &name, const QString &text)
{
    setValue(name, text);
}

// ---- editing ----

void Dataset::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    Q_EMIT stateChanged();
}

void Dataset::insert()
{
    requireActive();
    checkBrowseMode();
    prepareNewRecord(m_current < 0 ? 0 : m_current);
}

void Dataset::append()
{
    requireActive();
    checkBrowseMode();
    fetchAll();
    prepareNewRecord(rowCount());
}

void Dataset::prepareNewRecord(int position)
{
    Q_EMIT rowsAboutToBeInserted(position, position);
    m_records.insert(m_records.begin() + position, Record(m_storedCount));
    Q_EMIT rowsInserted();
    m_buffer = std::make_unique<Record>(m_storedCount);
    m_current = position;
    m_bof = m_eof = false;
    m_modified = false;
    setState(State::Insert);
    try {
        if (!m_generator.isEmpty() && m_keyField >= 0 && value(QStringLiteral("KOD")).isNull())
            setValue(QStringLiteral("KOD"), nextKey());
        if (m_onNewRecord)
            m_onNewRecord();
    } catch (...) {
        cancel();
        throw;
    }
    currentRowChanged();
}

QVariant Dataset::nextKey()
{
    if (!m_transaction.isActive())
        m_transaction.start();
    FbStatement &next =
        statement(m_keyStatement, QString::asprintf("SELECT GEN_ID(%s, %d) FROM RDB$DATABASE",
                                                    qPrintable(m_generator), 1));
    next.execute();
    const QVariant key = next.fetch() ? next.value(0) : QVariant();
    next.closeCursor();
    return key;
}

void Dataset::edit()
{
    requireActive();
    if (isEditing())
        return;
    if (isEmpty()) {
        insert();
        return;
    }
    m_buffer = std::make_unique<Record>(m_records[size_t(m_current)]);
    m_modified = false;
    setState(State::Edit);
}

FbStatement &Dataset::statement(std::unique_ptr<FbStatement> &slot, const QString &sql)
{
    if (!slot) {
        auto prepared = std::make_unique<FbStatement>(m_transaction);
        prepared->prepare(sql);
        slot = std::move(prepared);
    }
    return *slot;
}

void Dataset::runWrite(std::unique_ptr<FbStatement> &slot, const QString &sql,
                       const Record *current, const Record *old)
{
    if (!m_updateSql || sql.isEmpty())
        throw DbError(QStringLiteral("Набор данных %1 только для чтения").arg(objectName()));
    if (!m_transaction.isActive())
        m_transaction.start();
    FbStatement &st = statement(slot, sql);
    const QStringList &names = st.parameterNames();
    for (int i = 0; i < names.size(); ++i) {
        const bool isOld = names[i].startsWith(QStringLiteral("OLD_"), Qt::CaseInsensitive);
        const QString name = isOld ? names[i].mid(4) : names[i];
        const int index = fieldIndex(name);
        if (index < 0 || m_column[size_t(index)] < 0)
            throw DbError(QStringLiteral("%1: поле '%2' не найдено").arg(objectName(), name));
        st.setParameter(i, storedValue(isOld ? *old : *current, index));
    }
    st.execute();
}

void Dataset::post()
{
    requireActive();
    if (!isEditing())
        return;
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].required && m_column[i] >= 0 && m_buffer->data.isNull(m_column[i]))
            throw DbError(QStringLiteral("Поле '%1' должно иметь значение").arg(m_fields[i].name));
    }
    namingConflicts([this] {
        if (m_state == State::Insert) {
            runWrite(m_insertStatement, m_updateSql ? m_updateSql->insertSql : QString(),
                     m_buffer.get(), m_buffer.get());
        } else {
            claimUnchangedRow(m_records[size_t(m_current)]);
            runWrite(m_modifyStatement, m_updateSql ? m_updateSql->modifySql : QString(),
                     m_buffer.get(), &m_records[size_t(m_current)]);
        }
    });

    if (!m_cursorDone && m_keyField >= 0) {
        const QVariant key = storedValue(*m_buffer, m_keyField);
        if (!key.isNull())
            m_postedKeys.insert(key.toLongLong());
    }
    m_records[size_t(m_current)] = std::move(*m_buffer);
    m_buffer.reset();
    m_modified = false;
    setState(State::Browse);
    Q_EMIT rowChanged(m_current);
}

void Dataset::cancel()
{
    if (!isEditing())
        return;
    const bool inserting = m_state == State::Insert;
    m_buffer.reset();
    m_modified = false;
    setState(State::Browse);
    if (inserting)
        dropCurrentRow(); // the new row never reached the database
    else
        Q_EMIT rowChanged(m_current);
}

void Dataset::remove()
{
    requireActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    cancel();
    if (isEmpty())
        throw DbError(QStringLiteral("%1: нет записи для удаления").arg(objectName()));
    const Record &record = m_records[size_t(m_current)];
    namingConflicts([&] {
        runWrite(m_deleteStatement, m_updateSql ? m_updateSql->deleteSql : QString(), &record,
                 &record);
    });
    dropCurrentRow();
}

void Dataset::removeAll()
{
    cancel();
    first();
    while (!isEmpty())
        remove();
}

void Dataset::dropCurrentRow()
{
    const int removed = m_current;
    Q_EMIT rowsAboutToBeRemoved(removed, removed);
    m_records.erase(m_records.begin() + removed);
    Q_EMIT rowsRemoved();
    m_current = ensureRow(removed) ? removed : rowCount() - 1;
    m_bof = m_current <= 0;
    m_eof = isEmpty();
    currentRowChanged();
}

void Dataset::checkBrowseMode()
{
    if (!isEditing())
        return;
    if (m_modified)
        post();
    else
        cancel();
}

// ---- master-detail ----

void Dataset::onMasterChanged()
{
    if (!isActive() || !m_master || !m_master->isActive())
        return;
    checkBrowseMode();
    requery(State::Browse);
}

void Dataset::requery(State stateOnFailure)
{
    m_resetting = true;
    Q_EMIT aboutToReset();
    m_records.clear();
    m_current = -1;
    try {
        closeCursor();
        execute();
        setState(State::Browse);
        fetchRows(1);
    } catch (...) {
        closeCursor();
        m_records.clear();
        m_resetting = false;
        setState(stateOnFailure);
        Q_EMIT reset();
        throw;
    }
    m_resetting = false;
    m_current = m_records.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_records.empty();
    Q_EMIT reset();
    currentRowChanged();
}

void Dataset::currentRowChanged()
{
    Q_EMIT currentChanged(m_current);
    for (Dataset *detail : m_details)
        detail->onMasterChanged();
}

void Dataset::namingConflicts(const std::function<void()> &work)
{
    try {
        work();
    } catch (const DbError &e) {
        if (!conflict::isConflict(e))
            throw;
        const QString title = m_recordTitle && !isEmpty() ? m_recordTitle() : QString();
        throw conflict::naming(e, title);
    }
}

bool Dataset::readStoredRow(std::unique_ptr<FbStatement> &slot, const QString &sql,
                            const QVariant &key, Record &stored)
{
    if (!m_transaction.isActive())
        m_transaction.start();
    FbStatement &st = statement(slot, sql);
    st.setParameter(0, key);
    st.execute();
    const bool found = st.fetch();
    if (found)
        st.readInto(stored.data, rowColumns(st));
    st.closeCursor();
    return found;
}

bool Dataset::sameStoredValues(const Record &a, const Record &b) const
{
    for (size_t i = 0; i < m_fields.size(); ++i) {
        const int column = m_column[i];
        if (column < 0)
            continue;
        if (a.data.isNull(column) != b.data.isNull(column))
            return false;
        if (a.data.isNull(column))
            continue;
        bool same = true;
        switch (m_fields[i].type) {
        case FieldType::Integer:
        case FieldType::SmallInt:
            same = a.data.integer(column) == b.data.integer(column);
            break;
        case FieldType::Float:
            same = a.data.real(column) == b.data.real(column);
            break;
        case FieldType::DateTime:
            // The columns are dates: a time of day given here is not stored.
            same = a.data.dateTime(column).date() == b.data.dateTime(column).date();
            break;
        case FieldType::Text:
            same = a.data.text(column) == b.data.text(column);
            break;
        }
        if (!same)
            return false;
    }
    return true;
}

void Dataset::claimUnchangedRow(const Record &read)
{
    if (!m_updateSql || m_updateSql->refreshSql.isEmpty() || m_keyField < 0)
        return;
    Record stored(read);
    const QVariant key = storedValue(read, m_keyField);
    if (!readStoredRow(m_lockStatement, m_updateSql->refreshSql + QStringLiteral("\nwith lock"),
                       key, stored))
        throw conflict::deletedElsewhere();
    if (!sameStoredValues(read, stored))
        throw conflict::changedElsewhere();
}

void Dataset::refreshCurrentRow()
{
    requireActive();
    if (isEditing() || isEmpty() || !m_updateSql || m_updateSql->refreshSql.isEmpty() ||
        m_keyField < 0)
        return;
    Record &current = m_records[size_t(m_current)];
    Record stored(current);
    namingConflicts([&] {
        if (!readStoredRow(m_refreshStatement, m_updateSql->refreshSql,
                           storedValue(current, m_keyField), stored))
            throw conflict::deletedElsewhere();
    });
    if (sameStoredValues(current, stored))
        return;
    current = std::move(stored);
    Q_EMIT rowChanged(m_current);
    currentRowChanged();
}
