#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

class FbTransaction;

// The documents sent by e-mail, one row per message the server took, in a table of the
// program's own (MAIL_SENDINGS, see program_tables.h). A message that failed is never
// recorded.
struct MailSending {
    int document = 0; // DOCS.KOD
    QDateTime sent;
    QString recipient; // the addresses, as the message's "To"
    QStringList forms; // the attached forms' titles: "Счет на оплату", "Акт выполненных работ"
    QString user;      // who sent it: the database user, or the desktop's
};

namespace mail_sendings {

// Throws DbError, with the cure in words, when the database has no such table.
void record(FbTransaction &transaction, const MailSending &sending);
// The document's sendings, the earliest first; none where the table is missing.
std::vector<MailSending> of(FbTransaction &transaction, int document);
// When the document was last sent; invalid when never, or the database has no such table.
QDateTime lastSent(FbTransaction &transaction, int document);

} // namespace mail_sendings
