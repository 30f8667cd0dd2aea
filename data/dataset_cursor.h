#pragma once

#include "row.h"

#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

class FbStatement;
class FbTransaction;
struct RowLayout;

// The select of a dataset, read row by row as they are needed, so that opening a large table
// shows its first row at once. The statement is prepared once and kept for as long as the
// select stays the same, across reopening and committing: on a server each prepare is a round
// trip.
class DatasetCursor {
public:
    // `layout` is the dataset's own; `owner` names the dataset in messages.
    DatasetCursor(FbTransaction &transaction, const RowLayout &layout, const QString &owner);
    ~DatasetCursor();
    DatasetCursor(const DatasetCursor &) = delete;
    DatasetCursor &operator=(const DatasetCursor &) = delete;

    // Runs `sql`. A detail's KOD parameter takes `masterKey` (a null one while the master is
    // closed); every other parameter must be among `parameters`.
    void execute(const QString &sql, const QVariantMap &parameters,
                 const std::optional<QVariant> &masterKey);
    // Up to `count` further rows; fewer at the end of the result.
    std::vector<Row> fetch(int count);
    bool done() const { return m_done; }
    void close();
    // A row posted while the cursor is open: the cursor may still meet it further on, and a row
    // must not be listed twice.
    void notePosted(qint64 key);
    // Lets go of the prepared select, which belongs to the connection.
    void release();

private:
    FbStatement &preparedSelect(const QString &sql);

    FbTransaction &m_transaction;
    const RowLayout &m_layout;
    QString m_owner;
    std::unique_ptr<FbStatement> m_select;
    QString m_preparedSql;           // the select m_select was prepared from
    std::vector<int> m_resultTarget; // result column -> row column
    bool m_done = true;
    std::unordered_set<qint64> m_postedKeys;
};
