#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Another program connected to a server's database: Firebird's own SQL tool, which keeps its
// connection while its input stays open. (A connection of the test's own process would count
// as the program's own.)
class ServerClientProcess {
public:
    ServerClientProcess(const QString &location, const QString &user, const QString &password)
    {
        m_process.start(QStringLiteral("isql-fb"),
                        {QStringLiteral("-q"), QStringLiteral("-user"), user,
                         QStringLiteral("-password"), password, location});
    }
    ~ServerClientProcess()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(10'000))
            m_process.kill();
    }
    ServerClientProcess(const ServerClientProcess &) = delete;
    ServerClientProcess &operator=(const ServerClientProcess &) = delete;

    bool started() { return m_process.waitForStarted(); }

private:
    QProcess m_process;
};
