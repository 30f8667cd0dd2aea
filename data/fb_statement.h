#pragma once

#include "fb_connection.h"
#include "field_def.h"
#include "row.h"

#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

// One prepared statement of dialect 1 with named parameters. Parameters are always bound
// as values, never pasted into the statement text.
class FbStatement {
public:
    explicit FbStatement(FbTransaction &transaction);
    ~FbStatement();
    FbStatement(const FbStatement &) = delete;
    FbStatement &operator=(const FbStatement &) = delete;

    void prepare(const QString &sql);
    // The statement last prepared, as given.
    const QString &sql() const { return m_sql; }
    const QStringList &parameterNames() const { return m_parameterNames; }
    void setParameter(int index, const QVariant &value);
    void setParameter(const QString &name, const QVariant &value);

    // Runs the statement; a select opens its cursor, to be read with fetch().
    void execute();
    bool fetch();
    void closeCursor();
    bool hasCursor() const { return m_cursorOpen; }

    int columnCount() const;
    QString columnName(int column) const;
    FieldType columnType(int column) const;
    QVariant value(int column) const;
    // The fetched row's binary BLOB in column (a null QByteArray when the column is null).
    // Throws DbError when it holds more than maxBytes, so that a damaged or foreign value
    // cannot take the memory.
    QByteArray blob(int column, qsizetype maxBytes) const;

    // Copies the fetched row's columns into row; target[c] is the row column of
    // result column c, or -1 to skip it.
    void readInto(Row &row, const std::vector<int> &target) const;

    // Runs sql and returns the first column of its first row (null when no row).
    static QVariant scalar(FbTransaction &transaction, const QString &sql);
    // Runs sql, which returns no rows.
    static void run(FbTransaction &transaction, const QString &sql);

private:
    struct Area;
    void release();
    // Writes bytes as a new BLOB of this statement's transaction and gives its id.
    ISC_QUAD writeBlob(const QByteArray &bytes);

    FbTransaction &m_transaction;
    isc_stmt_handle m_handle = 0;
    QString m_sql;
    QStringList m_parameterNames;
    std::unique_ptr<Area> m_input;
    std::unique_ptr<Area> m_output;
    bool m_cursorOpen = false;
};
