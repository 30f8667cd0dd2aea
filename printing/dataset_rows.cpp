#include "dataset_rows.h"

#include "data/dataset.h"
#include "data/db_error.h"

bool DatasetRows::open()
{
    try {
        m_dataset->open();
    } catch (const DbError &) {
        return false;
    }
    return true;
}

void DatasetRows::first()
{
    m_dataset->first();
}

void DatasetRows::next()
{
    m_dataset->next();
}

bool DatasetRows::eof() const
{
    return m_dataset->eof();
}

int DatasetRows::fieldIndex(QStringView name) const
{
    return m_dataset->fieldIndex(name.toString());
}

QVariant DatasetRows::value(int field) const
{
    return m_dataset->valueAt(m_dataset->currentIndex(), field);
}

QString DatasetRows::displayText(int field) const
{
    return m_dataset->displayTextAt(m_dataset->currentIndex(), field);
}

zreport::FieldKind DatasetRows::fieldKind(int field) const
{
    return m_dataset->field(field).type == FieldType::Text ? zreport::FieldKind::String
                                                           : zreport::FieldKind::Numeric;
}

void DatasetRows::close()
{
    m_dataset->close();
}
