#pragma once

#include "data/server_location.h"
#include "temp_database.h"

#include <QString>
#include <QTemporaryDir>

#include <cstdlib>

// A database of a test's own on the local Firebird server of the tests (scripts/firebird_server),
// made as the tests' user in a folder the server may write, and dropped at the end.
class ServerDatabase {
public:
    explicit ServerDatabase(TempDatabase::Content content = TempDatabase::Empty);
    ~ServerDatabase();

    static database::Credentials testUser();
    // The server's administrator, as the Debian package keeps its password; empty when this
    // user may not read it.
    static database::Credentials administrator();
    // A user name no other test run on the same server uses at the same time.
    static QString uniqueUserName();
    static QString host() { return QStringLiteral("127.0.0.1"); }

    const QString &location() const { return m_location; } // "127.0.0.1:/tmp/…/ZNDB1.2.GDB"
    QString path() const { return m_folder.path() + QStringLiteral("/ZNDB1.2.GDB"); }
    // Why there is no database: the server is missing or refuses the tests' user. Empty when
    // the database was made.
    const QString &unavailable() const { return m_unavailable; }

private:
    QTemporaryDir m_folder;
    QString m_location;
    QString m_unavailable;
};

// Skips a test without a server, with the reason; under CI=true a missing server fails it.
#define SKIP_WITHOUT_SERVER(db)                                                                    \
    if (!(db).unavailable().isEmpty()) {                                                           \
        if (qEnvironmentVariable("CI") == QStringLiteral("true"))                                  \
            FAIL() << "no Firebird server for the tests: " << (db).unavailable().toStdString();    \
        GTEST_SKIP() << "no Firebird server for the tests (scripts/firebird_server): "             \
                     << (db).unavailable().toStdString();                                          \
    }
