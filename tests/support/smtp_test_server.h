#pragma once

#include "mail/mail_server.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>

// The local SMTP server of the tests (scripts/smtp_server): its ports, its login, the
// certificate to trust, and the messages it saved.
namespace smtp_test_server {

// Why the server cannot be used; empty when it listens.
QString unavailable();
// The server as the settings would name it, trusting its certificate, with the right login.
mail::MailServer settings(mail::Security security = mail::Security::StartTls);
// An address nobody else's test sends to.
QString uniqueAddress();
// The message that reached address, decoded by Python's e-mail parser (tests/support/read_mail.py):
// envelope_to, from, to, subject, text, attachments [filename, type, base64, text]. Nothing
// when none came: the server saves a message before it tells the sender it took it.
std::optional<QJsonObject> receivedBy(const QString &address);

} // namespace smtp_test_server

// Skips a test without the server, with the reason; under CI=true a missing server fails it.
#define SKIP_WITHOUT_SMTP_SERVER()                                                                 \
    if (const QString why = smtp_test_server::unavailable(); !why.isEmpty()) {                     \
        if (qEnvironmentVariable("CI") == QStringLiteral("true"))                                  \
            FAIL() << "no SMTP server for the tests: " << why.toStdString();                       \
        GTEST_SKIP() << "no SMTP server for the tests (scripts/smtp_server): "                     \
                     << why.toStdString();                                                         \
    }
