#include "report_rows.h"

#include "value_text.h"

#include <algorithm>

namespace zreport {

QString fieldKindName(FieldKind kind)
{
    switch (kind) {
    case FieldKind::String:
        return QStringLiteral("string");
    case FieldKind::Boolean:
        return QStringLiteral("boolean");
    case FieldKind::Numeric:
        break;
    }
    return QStringLiteral("numeric");
}

ReportRows *findDataSource(const DataSources &sources, const QString &name)
{
    if (ReportRows *rows = sources.value(name))
        return rows;
    for (auto it = sources.cbegin(); it != sources.cend(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return nullptr;
}

MemoryRows::MemoryRows(QList<Column> columns) : m_columns(std::move(columns)) {}

void MemoryRows::addRow(const QVariantList &values, const QStringList &displayTexts)
{
    Row row;
    row.values = values;
    row.values.resize(m_columns.size());
    row.displayTexts = displayTexts;
    row.displayTexts.resize(m_columns.size());
    for (int i = 0; i < m_columns.size(); ++i) {
        if (i >= displayTexts.size())
            row.displayTexts[i] =
                plainText(row.values[i], QLocale()); // the desktop's, as the data layer
    }
    m_rows.push_back(std::move(row));
}

bool MemoryRows::open()
{
    if (!m_open) {
        m_open = true;
        m_current = 0;
    }
    return true;
}

void MemoryRows::first()
{
    m_current = 0;
}

void MemoryRows::next()
{
    if (m_current < rowCount())
        ++m_current;
}

bool MemoryRows::eof() const
{
    return m_current >= rowCount();
}

int MemoryRows::fieldIndex(QStringView name) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

// Past the last row the last row stays readable, as a dataset at its end keeps its record.
const MemoryRows::Row *MemoryRows::readableRow(int field) const
{
    if (m_rows.empty() || field < 0 || field >= m_columns.size())
        return nullptr;
    return &m_rows[size_t(std::min(m_current, rowCount() - 1))];
}

QVariant MemoryRows::value(int field) const
{
    const Row *row = readableRow(field);
    return row ? row->values.at(field) : QVariant();
}

QString MemoryRows::displayText(int field) const
{
    const Row *row = readableRow(field);
    return row ? row->displayTexts.at(field) : QString();
}

FieldKind MemoryRows::fieldKind(int field) const
{
    return m_columns.value(field).kind;
}

void MemoryRows::close()
{
    m_open = false;
}

} // namespace zreport
