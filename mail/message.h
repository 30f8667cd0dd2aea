#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace mail {

struct Attachment {
    QString fileName; // as the recipient sees it: "Счет на оплату № 7.pdf"
    QByteArray content;
    QByteArray mimeType = "application/pdf";
};

struct Message {
    QStringList to;
    QString subject;
    QString text;
    std::vector<Attachment> attachments;
};

} // namespace mail
