#pragma once

#include "report/report_rows.h"

class Dataset;

// The rows of a data-module dataset as the report engine reads them: the dataset's own
// current row, its own values and display texts. A report that runs a data band over it
// moves the dataset; one that only reads its current row leaves it where it is.
class DatasetRows : public zreport::ReportRows {
public:
    explicit DatasetRows(Dataset *dataset) : m_dataset(dataset) {}

    bool open() override;
    void first() override;
    void next() override;
    bool eof() const override;
    int fieldIndex(QStringView name) const override;
    QVariant value(int field) const override;
    QString displayText(int field) const override;
    zreport::FieldKind fieldKind(int field) const override;
    void close() override;

private:
    Dataset *m_dataset;
};
