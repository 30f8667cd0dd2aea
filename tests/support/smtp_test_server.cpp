#include "smtp_test_server.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QUuid>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace smtp_test_server {

namespace {

const QString kFolder = QStringLiteral("/tmp/zarnik-smtp");

int port(mail::Security security)
{
    switch (security) {
    case mail::Security::StartTls:
        return 2587;
    case mail::Security::Ssl:
        return 2465;
    case mail::Security::None:
        return 2526;
    }
    return 0;
}

bool listening(int port)
{
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected =
        ::connect(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    close(s);
    return connected;
}

} // namespace

QString unavailable()
{
    for (const auto security :
         {mail::Security::StartTls, mail::Security::Ssl, mail::Security::None}) {
        if (!listening(port(security)))
            return QStringLiteral("nothing listens on 127.0.0.1:%1").arg(port(security));
    }
    if (!QFile::exists(kFolder + QStringLiteral("/certificate.pem")))
        return QStringLiteral("no certificate in ") + kFolder;
    return {};
}

mail::MailServer settings(mail::Security security)
{
    mail::MailServer server;
    server.host = QStringLiteral("127.0.0.1");
    server.port = port(security);
    server.security = security;
    server.user = QStringLiteral("zarnik-test");
    server.password = QStringLiteral("zarnik-mail");
    server.senderName = QStringLiteral("ТОО «Заря»");
    server.senderAddress = uniqueAddress();
    server.trustedCertificates = kFolder + QStringLiteral("/certificate.pem");
    server.timeoutSeconds = 10;
    return server;
}

QString uniqueAddress()
{
    return QStringLiteral("t%1@example.kz")
        .arg(QUuid::createUuid().toString(QUuid::Id128).left(16));
}

std::optional<QJsonObject> receivedBy(const QString &address)
{
    const QByteArray envelope = "X-Envelope-To: ";
    const QDir mailFolder(kFolder + QStringLiteral("/mail"));
    for (const QString &name : mailFolder.entryList({QStringLiteral("*.eml")}, QDir::Files)) {
        QFile file(mailFolder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        file.readLine();
        const QByteArray to = file.readLine();
        if (!to.startsWith(envelope) || !to.contains(address.toLatin1()))
            continue;
        QProcess reader;
        reader.start(QStringLiteral(ZARNIK_TEST_SUPPORT_DIR "/read_mail.py"), {file.fileName()});
        reader.waitForFinished(30'000);
        return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
    }
    return std::nullopt;
}

} // namespace smtp_test_server
