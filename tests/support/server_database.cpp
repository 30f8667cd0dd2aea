#include "server_database.h"

#include "data/database_file.h"
#include "data/db_error.h"
#include "data/demo_data.h"
#include "data/fb_connection.h"
#include "data/tdm.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>

ServerDatabase::ServerDatabase(TempDatabase::Content content) : m_location(host() + u':' + path())
{
    // The server runs as its own user and writes the file itself.
    QFile::setPermissions(m_folder.path(), QFileDevice::Permissions(0x7777));
    try {
        database::create(m_location, testUser());
        if (content == TempDatabase::Demo) {
            TDM dm;
            dm.DataModuleCreate(m_location, testUser());
            fillDemoData(dm);
            dm.DataModuleDestroy();
        }
    } catch (const DbError &e) {
        m_unavailable = e.message();
    }
}

ServerDatabase::~ServerDatabase()
{
    if (!m_unavailable.isEmpty())
        return;
    try {
        FbConnection connection;
        connection.attach(m_location, testUser().user, testUser().password);
        connection.drop();
    } catch (const DbError &) {
        // Left for the temporary folder to take away.
    }
}

database::Credentials ServerDatabase::administrator()
{
    QFile file(QStringLiteral("/etc/firebird/3.0/SYSDBA.password"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith("ISC_PASSWORD="))
            return {QStringLiteral("SYSDBA"),
                    QString::fromUtf8(line.mid(13).trimmed()).remove(u'"')};
    }
    return {};
}

QString ServerDatabase::uniqueUserName()
{
    static int count = 0;
    return QStringLiteral("ZU%1_%2_%3")
        .arg(QCoreApplication::applicationPid())
        .arg(QRandomGenerator::global()->bounded(100000))
        .arg(++count);
}

database::Credentials ServerDatabase::testUser()
{
    return {QStringLiteral("ZARNIK_TEST"), QStringLiteral("zarnik-test")};
}
