#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

// The rows a report dataset reads: the engine's only view of the data layer.
namespace zreport {

// Thrown by rows that cannot be read any more (a database error, a lost connection): the run
// stops where it is and reports the message with its other errors.
struct RowsError {
    QString message;
};

enum class FieldKind { String, Boolean, Numeric };
QString fieldKindName(FieldKind kind); // "string", "boolean", "numeric"

class ReportRows {
public:
    virtual ~ReportRows() = default;

    // Opens the underlying rows if they are not open yet; false when there are none to open.
    // Rows that fail to open (a database error) throw RowsError with the reason.
    virtual bool open() = 0;
    virtual void first() = 0;
    virtual void next() = 0;
    // True after the last row, and at once when there are no rows.
    virtual bool eof() const = 0;
    // -1 when there is no such field; letter case is ignored.
    virtual int fieldIndex(QStringView name) const = 0;
    // Null QVariant = NULL; else QString, int/qlonglong, double, QDateTime or bool.
    virtual QVariant value(int field) const = 0;
    // What the data layer itself shows for the field.
    virtual QString displayText(int field) const = 0;
    virtual FieldKind fieldKind(int field) const = 0;
    // Called after a run only for report datasets that close their data source.
    virtual void close() {}
};

// Data-source name (as a template's report dataset names it, e.g. "DM.DSDocs") -> rows.
using DataSources = QHash<QString, ReportRows *>;
ReportRows *findDataSource(const DataSources &sources, const QString &name);

// Rows held in memory, for tests, benchmarks and tools.
class MemoryRows : public ReportRows {
public:
    struct Column {
        QString name;
        FieldKind kind = FieldKind::String;
    };

    explicit MemoryRows(QList<Column> columns);

    // Display texts may be given; missing ones are derived from the values as the data layer
    // shows them (floats in general form, dates with the time unless midnight).
    void addRow(const QVariantList &values, const QStringList &displayTexts = {});
    int rowCount() const { return int(m_rows.size()); }
    int currentRow() const { return m_current; }
    bool isOpen() const { return m_open; }

    bool open() override;
    void first() override;
    void next() override;
    bool eof() const override;
    int fieldIndex(QStringView name) const override;
    QVariant value(int field) const override;
    QString displayText(int field) const override;
    FieldKind fieldKind(int field) const override;
    void close() override;

private:
    struct Row {
        QVariantList values;
        QStringList displayTexts;
    };
    const Row *readableRow(int field) const;

    QList<Column> m_columns;
    std::vector<Row> m_rows;
    int m_current = 0;
    bool m_open = false;
};

} // namespace zreport
