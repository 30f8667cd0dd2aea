#pragma once

#include "server_database.h"

#include "data/db_error.h"
#include "data/fb_connection.h"
#include "data/office_users.h"

#include <gtest/gtest.h>

// A user of the server with a role in one database, made by the server's administrator and
// taken off the server at the end.
class OfficeUser {
public:
    OfficeUser(const QString &location, roles::Role role)
        : m_location(location), m_credentials{ServerDatabase::uniqueUserName(),
                                              QStringLiteral("Secret-7")}
    {
        FbConnection admin;
        const database::Credentials administrator = ServerDatabase::administrator();
        admin.attach(location, administrator.user, administrator.password);
        office_users::add(admin, m_credentials.user, m_credentials.password, role);
    }
    ~OfficeUser()
    {
        try {
            FbConnection admin;
            const database::Credentials administrator = ServerDatabase::administrator();
            admin.attach(m_location, administrator.user, administrator.password);
            office_users::remove(admin, m_credentials.user);
        } catch (const DbError &) {
        }
    }
    OfficeUser(const OfficeUser &) = delete;
    OfficeUser &operator=(const OfficeUser &) = delete;

    const database::Credentials &credentials() const { return m_credentials; }

private:
    QString m_location;
    database::Credentials m_credentials;
};

#define SKIP_WITHOUT_ADMINISTRATOR()                                                               \
    if (ServerDatabase::administrator().isEmpty())                                                 \
        GTEST_SKIP() << "the server administrator's password is not readable here";
