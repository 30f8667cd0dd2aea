#pragma once

#include <QString>

#include <optional>

namespace mail {

// How the connection to the outgoing server is protected: STARTTLS on the submission port,
// TLS from the first byte ("SSL/TLS"), or nothing at all (the password then goes in the clear).
enum class Security { StartTls, Ssl, None };

// The port each security is usually offered on.
int defaultPort(Security security);
// "starttls", "ssl" or "none": the names of the command line and the settings file.
QString securityName(Security security);
std::optional<Security> securityFromName(const QString &name);

// The office's outgoing mail server and who sends through it.
struct MailServer {
    QString host;
    int port = 587;
    Security security = Security::StartTls;
    QString user; // empty: the server takes mail without a login
    QString password;
    QString senderName;
    QString senderAddress;
    bool copyToSender = false; // the sender gets each message too, unseen by the recipients
    // A file of certificates to trust besides the system's (a server of the office's own);
    // empty: the system's only.
    QString trustedCertificates;
    int timeoutSeconds = 30; // how long a server that says nothing is waited for
};

} // namespace mail
