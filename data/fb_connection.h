#pragma once

#include <ibase.h>

#include <QString>

#include <string_view>

// One attachment to a database: a file through the embedded engine, or a server's database
// named by a connection string.
class FbConnection {
public:
    FbConnection() = default;
    ~FbConnection();
    FbConnection(const FbConnection &) = delete;
    FbConnection &operator=(const FbConnection &) = delete;

    // `role`: the SQL role the connection works in (none when empty).
    void attach(const QString &path, const QString &user, const QString &password,
                const QString &role = {});
    void detach();
    bool isAttached() const { return m_handle != 0; }
    isc_db_handle *handle() { return &m_handle; }

    // Creates a new, empty SQL-dialect-1 database and leaves it detached.
    static void create(const QString &path, const QString &user, const QString &password);
    // Removes the attached database altogether (a half-made one on a server).
    void drop();

private:
    isc_db_handle m_handle = 0;
};

// The one transaction of the program: read committed, record versions, no waiting.
class FbTransaction {
public:
    explicit FbTransaction(FbConnection &connection) : m_connection(connection) {}
    ~FbTransaction();
    FbTransaction(const FbTransaction &) = delete;
    FbTransaction &operator=(const FbTransaction &) = delete;

    void start();
    void commit();
    bool isActive() const { return m_handle != 0; }
    isc_tr_handle *handle() { return &m_handle; }
    FbConnection &connection() { return m_connection; }

private:
    FbConnection &m_connection;
    isc_tr_handle m_handle = 0;
};

// Runs one statement that returns no rows in a transaction of its own, committed at once, so
// that what it makes (a table, say) is there for the statements after it. DbError names the
// statement.
void executeCommitted(FbConnection &connection, const QString &sql);

// A text of the engine's: its own words and the database's names are single-byte, but a system
// error's words within it (a full disk, say) come in the locale's UTF-8.
QString engineText(std::string_view bytes);

// Throws DbError with the engine's text when the status vector holds an error.
void throwOnFbError(const ISC_STATUS *status, const QString &context = {});

// Points the embedded engine at a lock folder of this user's own, so that a second
// user of the same desktop is not locked out by the first one's lock files.
void prepareEmbeddedEngine();
