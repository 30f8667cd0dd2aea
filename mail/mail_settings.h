#pragma once

#include "mail_server.h"

class QSettings;

// The office's mail server as the settings file keeps it, in the group [mail]. The password is
// never written there: the program keeps it in the desktop's keyring under passwordKey.
namespace mail {

MailServer readSettings(const QSettings &settings);
void writeSettings(QSettings &settings, const MailServer &server);
// True once a server was set up.
bool hasSettings(const QSettings &settings);
// The keyring's key of the password of user on the server.
QString passwordKey(const MailServer &server);

} // namespace mail
