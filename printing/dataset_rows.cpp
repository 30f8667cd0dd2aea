#include "dataset_rows.h"

#include "data/dataset.h"
#include "data/db_error.h"

namespace {

// A database error while a report reads its rows ends the run with the error among the run's
// own, rather than unwinding through the engine and the preview.
template <class Read> auto guarded(Read read)
{
    try {
        return read();
    } catch (const DbError &error) {
        throw zreport::RowsError{error.message()};
    }
}

} // namespace

bool DatasetRows::open()
{
    // Rows that exist but cannot be read: the user needs the database's reason (a lost
    // connection, say), not the engine's word for a dataset that has no rows at all.
    guarded([this] { m_dataset->open(); });
    return true;
}

void DatasetRows::first()
{
    guarded([this] { m_dataset->first(); });
}

void DatasetRows::next()
{
    guarded([this] { m_dataset->next(); });
}

bool DatasetRows::eof() const
{
    return guarded([this] { return m_dataset->eof(); });
}

int DatasetRows::fieldIndex(QStringView name) const
{
    return m_dataset->fieldIndex(name.toString());
}

QVariant DatasetRows::value(int field) const
{
    return guarded([this, field] { return m_dataset->valueAt(m_dataset->currentIndex(), field); });
}

QString DatasetRows::displayText(int field) const
{
    return guarded(
        [this, field] { return m_dataset->displayTextAt(m_dataset->currentIndex(), field); });
}

zreport::FieldKind DatasetRows::fieldKind(int field) const
{
    return m_dataset->field(field).type == FieldType::Text ? zreport::FieldKind::String
                                                           : zreport::FieldKind::Numeric;
}

void DatasetRows::close()
{
    guarded([this] { m_dataset->close(); });
}
