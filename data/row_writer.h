#pragma once

#include "row.h"

#include <QString>
#include <QVariant>

#include <memory>

class FbStatement;
class FbTransaction;
struct RowLayout;
struct UpdateSql;

// Writes one dataset's rows through its statement set: a new key, insert, modify, delete, and
// the stored row read back. Each statement is prepared once and kept, since on a server every
// prepare is a round trip.
class RowWriter {
public:
    // `layout` is the dataset's own, read at every write; `owner` names the dataset in messages.
    RowWriter(FbTransaction &transaction, const RowLayout &layout, const QString &owner);
    ~RowWriter();
    RowWriter(const RowWriter &) = delete;
    RowWriter &operator=(const RowWriter &) = delete;

    void setUpdateSql(const UpdateSql *statements) { m_updateSql = statements; }

    QVariant nextKey(const QString &generator);
    void insert(const Row &row);
    // Before the change is written the stored row is read again, locked for this transaction,
    // and must still be `read`, or the change would silently undo another user's: otherwise
    // the conflict's DbError (changed or deleted elsewhere). A change of the statement set's
    // narrow columns alone sets only them.
    void modify(const Row &changed, const Row &read);
    void remove(const Row &row);

    // Whether the stored row can be read back: a statement set with a refresh and a key field.
    bool canReadStored() const;
    // The row with the key of `row` as it is stored now, into `stored`; false when there is none.
    bool readStored(const Row &row, Row &stored);

    // Lets go of the prepared statements, which belong to the connection.
    void release();

private:
    bool changesOnlyNarrowColumns(const Row &changed, const Row &read) const;
    FbStatement &prepared(std::unique_ptr<FbStatement> &slot, const QString &sql);
    void write(std::unique_ptr<FbStatement> &slot, const QString &sql, const Row &current,
               const Row &old);
    bool readStoredThrough(std::unique_ptr<FbStatement> &slot, const QString &sql, const Row &row,
                           Row &stored);

    FbTransaction &m_transaction;
    const RowLayout &m_layout;
    QString m_owner;
    const UpdateSql *m_updateSql = nullptr;
    std::unique_ptr<FbStatement> m_keyStatement;
    std::unique_ptr<FbStatement> m_insertStatement;
    std::unique_ptr<FbStatement> m_modifyStatement;
    std::unique_ptr<FbStatement> m_narrowModifyStatement;
    std::unique_ptr<FbStatement> m_deleteStatement;
    std::unique_ptr<FbStatement> m_lockStatement;
    std::unique_ptr<FbStatement> m_refreshStatement;
};
