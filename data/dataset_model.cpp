#include "dataset_model.h"

#include "dataset.h"
#include "db_error.h"

DatasetModel::DatasetModel(Dataset *dataset, QObject *parent)
    : QAbstractTableModel(parent), m_dataset(dataset)
{
    rebuildColumns();
    connect(dataset, &Dataset::aboutToReset, this, [this] { beginResetModel(); });
    connect(dataset, &Dataset::reset, this, [this] {
        m_fetchFailed = false;
        endResetModel();
    });
    connect(dataset, &Dataset::rowsAboutToBeInserted, this,
            [this](int first, int last) { beginInsertRows({}, first, last); });
    connect(dataset, &Dataset::rowsInserted, this, [this] { endInsertRows(); });
    connect(dataset, &Dataset::rowsAboutToBeRemoved, this,
            [this](int first, int last) { beginRemoveRows({}, first, last); });
    connect(dataset, &Dataset::rowsRemoved, this, [this] { endRemoveRows(); });
    connect(dataset, &Dataset::rowChanged, this, [this](int row) {
        if (row >= 0 && row < rowCount() && columnCount() > 0)
            Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
    connect(dataset, &Dataset::fieldsChanged, this, [this] {
        if (!m_fixedColumns.empty())
            return;
        beginResetModel();
        rebuildColumns();
        endResetModel();
    });
}

void DatasetModel::setColumns(std::vector<Column> columns)
{
    beginResetModel();
    m_fixedColumns = std::move(columns);
    rebuildColumns();
    endResetModel();
}

void DatasetModel::rebuildColumns()
{
    m_fields.clear();
    if (!m_fixedColumns.empty()) {
        for (const Column &c : m_fixedColumns)
            m_fields.push_back(m_dataset->fieldIndex(c.field));
        return;
    }
    for (int i = 0; i < m_dataset->fieldCount(); ++i) {
        if (m_dataset->field(i).visible)
            m_fields.push_back(i);
    }
}

int DatasetModel::fieldIndex(int column) const
{
    return column >= 0 && column < int(m_fields.size()) ? m_fields[size_t(column)] : -1;
}

QString DatasetModel::fieldName(int column) const
{
    const int field = fieldIndex(column);
    return field >= 0 ? m_dataset->field(field).name : QString();
}

int DatasetModel::columnOfField(const QString &field) const
{
    for (int c = 0; c < columnCount(); ++c) {
        if (fieldName(c).compare(field, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_dataset->rowCount();
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    const int field = fieldIndex(index.column());
    if (!index.isValid() || field < 0 || index.row() >= rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        try {
            return m_dataset->displayTextAt(index.row(), field);
        } catch (const DbError &error) {
            reportLater(error.message());
            return {};
        }
    case Qt::TextAlignmentRole:
        return m_dataset->field(field).isNumeric() ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        if (!m_rowRoleData)
            return {};
        try {
            return m_rowRoleData(index.row(), role);
        } catch (const DbError &error) {
            reportLater(error.message());
            return {};
        }
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    const int field = fieldIndex(section);
    if (field < 0)
        return {};
    if (role == Qt::DisplayRole) {
        if (!m_fixedColumns.empty() && !m_fixedColumns[size_t(section)].title.isEmpty())
            return m_fixedColumns[size_t(section)].title;
        return m_dataset->field(field).title();
    }
    if (role == DisplayWidthRole)
        return m_dataset->field(field).displayWidth;
    return {};
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (m_editable && index.isValid())
        f |= Qt::ItemIsEditable;
    return f;
}

bool DatasetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const int field = fieldIndex(index.column());
    if (!m_editable || role != Qt::EditRole || field < 0)
        return false;
    try {
        m_dataset->setCurrentIndex(index.row());
        const QString text = value.toString();
        if (text == m_dataset->displayTextAt(index.row(), field))
            return true;
        m_dataset->edit();
        m_dataset->setAsString(m_dataset->field(field).name, text);
    } catch (const DbError &error) {
        // The field keeps its value and the row its state; the cell shows the value again.
        Q_EMIT failed(error.message());
        return false;
    }
    return true;
}

void DatasetModel::reportLater(const QString &message) const
{
    QMetaObject::invokeMethod(
        const_cast<DatasetModel *>(this), [this, message] { Q_EMIT failed(message); },
        Qt::QueuedConnection);
}

bool DatasetModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !m_fetchFailed && m_dataset->canFetchMore();
}

void DatasetModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid())
        return;
    try {
        m_dataset->fetchMore(64);
    } catch (const DbError &error) {
        m_fetchFailed = true;
        reportLater(error.message());
    }
}
