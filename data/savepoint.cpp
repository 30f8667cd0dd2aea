#include "savepoint.h"

#include "db_error.h"
#include "fb_statement.h"

Savepoint::Savepoint(FbTransaction &transaction, const QString &name)
    : m_transaction(transaction), m_name(name)
{
    if (!m_transaction.isActive())
        m_transaction.start();
    FbStatement::run(m_transaction, QStringLiteral("savepoint ") + m_name);
}

Savepoint::~Savepoint()
{
    if (!m_open)
        return;
    try {
        FbStatement::run(m_transaction, QStringLiteral("rollback to savepoint ") + m_name);
    } catch (const DbError &) {
        // The connection itself failed: the transaction, and the savepoint with it, are gone.
    }
}

void Savepoint::release()
{
    FbStatement::run(m_transaction,
                     QStringLiteral("release savepoint ") + m_name + QStringLiteral(" only"));
    m_open = false;
}
