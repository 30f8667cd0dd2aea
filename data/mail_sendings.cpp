#include "mail_sendings.h"

#include "db_error.h"
#include "fb_statement.h"
#include "program_tables.h"

#include <QVariant>

namespace mail_sendings {

namespace {

// Titles never hold a line break, so one column keeps the list.
const QChar kFormSeparator = u'\n';

} // namespace

void record(FbTransaction &transaction, const MailSending &sending)
{
    if (!tableExists(transaction, "MAIL_SENDINGS"))
        throw DbError(QStringLiteral(
            "В базе данных нет таблицы отправленных писем: откройте базу данных один раз от "
            "имени ее владельца, и таблица будет добавлена."));
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral(
        "INSERT INTO MAIL_SENDINGS (KOD, KODDOCS, SENT, RECIPIENT, FORMS, USERNAME) "
        "VALUES (GEN_ID(MAIL_SENDINGS_KOD_GEN, 1), :KODDOCS, :SENT, :RECIPIENT, :FORMS, "
        ":USERNAME)"));
    statement.setParameter(0, sending.document);
    statement.setParameter(1, sending.sent);
    statement.setParameter(2, sending.recipient.left(256));
    statement.setParameter(3, sending.forms.join(kFormSeparator).left(1024));
    statement.setParameter(4, sending.user.left(64));
    statement.execute();
}

std::vector<MailSending> of(FbTransaction &transaction, int document)
{
    std::vector<MailSending> result;
    if (!tableExists(transaction, "MAIL_SENDINGS"))
        return result;
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("SELECT SENT, RECIPIENT, FORMS, USERNAME FROM MAIL_SENDINGS "
                                     "WHERE KODDOCS = :KODDOCS ORDER BY SENT, KOD"));
    statement.setParameter(0, document);
    statement.execute();
    while (statement.fetch()) {
        result.push_back({document, statement.value(0).toDateTime(), statement.value(1).toString(),
                          statement.value(2).toString().split(kFormSeparator, Qt::SkipEmptyParts),
                          statement.value(3).toString()});
    }
    return result;
}

QDateTime lastSent(FbTransaction &transaction, int document)
{
    if (!tableExists(transaction, "MAIL_SENDINGS"))
        return {};
    FbStatement statement(transaction);
    statement.prepare(
        QStringLiteral("SELECT MAX(SENT) FROM MAIL_SENDINGS WHERE KODDOCS = :KODDOCS"));
    statement.setParameter(0, document);
    statement.execute();
    QDateTime sent;
    if (statement.fetch())
        sent = statement.value(0).toDateTime();
    statement.closeCursor();
    return sent;
}

} // namespace mail_sendings
