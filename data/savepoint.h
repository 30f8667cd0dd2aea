#pragma once

#include <QString>

class FbTransaction;

// A savepoint of the one transaction: what was written after it is taken back, and the row
// locks taken after it are let go, unless the work reaches `release`. Rolls back when it goes
// out of scope unreleased (an exception on its way), so that a failed step leaves nothing.
class Savepoint {
public:
    Savepoint(FbTransaction &transaction, const QString &name);
    ~Savepoint();
    Savepoint(const Savepoint &) = delete;
    Savepoint &operator=(const Savepoint &) = delete;

    void release();

private:
    FbTransaction &m_transaction;
    QString m_name;
    bool m_open = true;
};
