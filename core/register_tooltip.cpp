#include "register_tooltip.h"

#include "data/fb_connection.h"
#include "data/mail_sendings.h"

QStringList documentToolTipLines(FbTransaction &transaction, int document)
{
    if (!transaction.isActive())
        transaction.start();
    QStringList lines;
    if (const QDateTime sent = mail_sendings::lastSent(transaction, document); sent.isValid())
        lines << QStringLiteral("отправлен ") + sent.date().toString(u"dd.MM.yyyy");
    return lines;
}
