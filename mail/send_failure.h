#pragma once

#include "mail_server.h"

#include <QString>

#include <curl/curl.h>

namespace mail {

// What a failed sending means to the user, from libcurl's code and its detail line.
QString sendFailure(CURLcode code, const QString &detail, const MailServer &server);

} // namespace mail
