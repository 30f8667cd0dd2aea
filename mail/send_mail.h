#pragma once

#include "mail_server.h"
#include "message.h"

#include <QString>

#include <functional>

namespace mail {

// Told how many bytes of the message went out of how many (0 while unknown); returns false to
// cancel the sending.
using Progress = std::function<bool(qint64 sent, qint64 total)>;

struct SendResult {
    QString error; // in plain words; empty when the server took the message
    bool cancelled = false;
    bool sent() const { return error.isEmpty(); }
};

// Sends one message through the server, with the text and the attachments as a MIME message
// built by libcurl. Addresses are checked before connecting. Blocks until the server took the
// message, refused it, or the progress cancelled it.
SendResult send(const MailServer &server, const Message &message, const Progress &progress = {});

} // namespace mail
