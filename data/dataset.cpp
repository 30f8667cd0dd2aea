#include "dataset.h"

#include "conflict_errors.h"
#include "db_error.h"
#include "display_format.h"
#include "field_values.h"

namespace {

// Rows fetched at a time when more are needed for navigation or a grid.
constexpr int kFetchBatch = 64;

} // namespace

Dataset::Dataset(FbTransaction &transaction, const QString &name, QObject *parent)
    : QObject(parent), m_transaction(transaction), m_cursor(transaction, m_layout, name),
      m_writer(transaction, m_layout, name)
{
    setObjectName(name);
}

Dataset::~Dataset() = default;

// ---- configuration ----

void Dataset::setFields(std::vector<FieldDef> fields)
{
    m_layout.fields = std::move(fields);
    m_layout.column.assign(m_layout.fields.size(), -1);
    m_calcSlot.assign(m_layout.fields.size(), -1);
    m_layout.storedCount = 0;
    m_calcCount = 0;
    for (size_t i = 0; i < m_layout.fields.size(); ++i) {
        if (m_layout.fields[i].source == FieldSource::Data ||
            m_layout.fields[i].source == FieldSource::Selected)
            m_layout.column[i] = m_layout.storedCount++;
        else if (m_layout.fields[i].source == FieldSource::Calculated)
            m_calcSlot[i] = m_calcCount++;
    }
    Q_ASSERT(m_layout.storedCount <= 64);
    m_layout.keyField = fieldIndex(QStringLiteral("KOD"));
}

void Dataset::setUpdateSql(const UpdateSql *statements)
{
    m_updateSql = statements;
    m_writer.setUpdateSql(statements);
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
    return m_layout.fields[size_t(index)];
}

int Dataset::fieldIndex(const QString &name) const
{
    return m_layout.fieldIndex(name);
}

void Dataset::setFieldVisible(const QString &name, bool visible)
{
    const int index = fieldIndex(name);
    if (index < 0 || m_layout.fields[size_t(index)].visible == visible)
        return;
    m_layout.fields[size_t(index)].visible = visible;
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
    std::optional<QVariant> masterKey;
    if (m_master)
        masterKey = m_master->isActive() ? m_master->value(QStringLiteral("KOD")) : QVariant();
    m_cursor.execute(m_selectSql, m_selectParameters, masterKey);
}

void Dataset::releaseStatements()
{
    close();
    m_cursor.release();
    m_writer.release();
}

int Dataset::fetchRows(int count)
{
    std::vector<Row> batch = m_cursor.fetch(count);
    if (batch.empty())
        return 0;
    const int first = int(m_records.size());
    const int last = first + int(batch.size()) - 1;
    if (!m_resetting)
        Q_EMIT rowsAboutToBeInserted(first, last);
    for (Row &row : batch)
        m_records.emplace_back(std::move(row));
    if (!m_resetting)
        Q_EMIT rowsInserted();
    return int(batch.size());
}

bool Dataset::ensureRow(int index)
{
    while (index >= int(m_records.size()) && !m_cursor.done())
        fetchRows(kFetchBatch);
    return index >= 0 && index < int(m_records.size());
}

void Dataset::fetchAll()
{
    while (!m_cursor.done())
        fetchRows(4096);
}

void Dataset::closeCursor()
{
    m_cursor.close();
}

bool Dataset::canFetchMore() const
{
    return isActive() && !m_cursor.done() && !m_resetting;
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
    if (m_layout.keyField < 0)
        return false;
    const int keyColumn = m_layout.column[size_t(m_layout.keyField)];
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
    return m_layout.storedValue(record.data, index);
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
    switch (m_layout.fields[size_t(index)].source) {
    case FieldSource::Data:
    case FieldSource::Selected:
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
    return display::text(valueAt(row, index), m_layout.fields[size_t(index)].type);
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
    field_values::write(record.data, m_layout.column[size_t(index)], m_layout.fields[size_t(index)],
                        value);
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
    case FieldSource::Selected:
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
    m_records.insert(m_records.begin() + position, Record(m_layout.storedCount));
    Q_EMIT rowsInserted();
    m_buffer = std::make_unique<Record>(m_layout.storedCount);
    m_current = position;
    m_bof = m_eof = false;
    m_modified = false;
    setState(State::Insert);
    try {
        if (!m_generator.isEmpty() && m_layout.keyField >= 0 &&
            value(QStringLiteral("KOD")).isNull())
            setValue(QStringLiteral("KOD"), m_writer.nextKey(m_generator));
        if (m_onNewRecord)
            m_onNewRecord();
    } catch (...) {
        cancel();
        throw;
    }
    currentRowChanged();
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

void Dataset::post()
{
    requireActive();
    if (!isEditing())
        return;
    for (size_t i = 0; i < m_layout.fields.size(); ++i) {
        const int column = m_layout.column[i];
        if (m_layout.fields[i].required && column >= 0 && m_buffer->data.isNull(column))
            throw DbError(
                QStringLiteral("Поле '%1' должно иметь значение").arg(m_layout.fields[i].name));
    }
    namingConflicts([this] {
        if (m_state == State::Insert)
            m_writer.insert(m_buffer->data);
        else
            m_writer.modify(m_buffer->data, m_records[size_t(m_current)].data);
    });

    if (m_layout.keyField >= 0) {
        const QVariant key = storedValue(*m_buffer, m_layout.keyField);
        if (!key.isNull())
            m_cursor.notePosted(key.toLongLong());
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
    namingConflicts([&] { m_writer.remove(record.data); });
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

void Dataset::refreshCurrentRow()
{
    requireActive();
    if (isEditing() || isEmpty() || !m_writer.canReadStored())
        return;
    Record &current = m_records[size_t(m_current)];
    Record stored(current);
    namingConflicts([&] {
        if (!m_writer.readStored(current.data, stored.data))
            throw conflict::deletedElsewhere();
    });
    if (m_layout.sameStoredValues(current.data, stored.data))
        return;
    current = std::move(stored);
    Q_EMIT rowChanged(m_current);
    currentRowChanged();
}
