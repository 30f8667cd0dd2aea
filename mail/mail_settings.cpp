#include "mail_settings.h"

#include <QSettings>

namespace mail {

namespace {

QString key(const char *name)
{
    return QStringLiteral("mail/") + QLatin1String(name);
}

} // namespace

MailServer readSettings(const QSettings &settings)
{
    MailServer server;
    server.host = settings.value(key("host")).toString();
    server.security =
        securityFromName(settings.value(key("security")).toString()).value_or(Security::StartTls);
    server.port = settings.value(key("port"), defaultPort(server.security)).toInt();
    server.user = settings.value(key("user")).toString();
    server.senderName = settings.value(key("senderName")).toString();
    server.senderAddress = settings.value(key("senderAddress")).toString();
    server.copyToSender = settings.value(key("copyToSender"), false).toBool();
    server.trustedCertificates = settings.value(key("trustedCertificates")).toString();
    server.timeoutSeconds = settings.value(key("timeout"), server.timeoutSeconds).toInt();
    return server;
}

void writeSettings(QSettings &settings, const MailServer &server)
{
    settings.setValue(key("host"), server.host);
    settings.setValue(key("port"), server.port);
    settings.setValue(key("security"), securityName(server.security));
    settings.setValue(key("user"), server.user);
    settings.setValue(key("senderName"), server.senderName);
    settings.setValue(key("senderAddress"), server.senderAddress);
    settings.setValue(key("copyToSender"), server.copyToSender);
    if (server.trustedCertificates.isEmpty())
        settings.remove(key("trustedCertificates"));
    else
        settings.setValue(key("trustedCertificates"), server.trustedCertificates);
}

bool hasSettings(const QSettings &settings)
{
    return !settings.value(key("host")).toString().isEmpty();
}

QString passwordKey(const MailServer &server)
{
    return QStringLiteral("smtp:%1@%2").arg(server.user, server.host);
}

} // namespace mail
