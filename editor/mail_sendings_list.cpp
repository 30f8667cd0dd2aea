#include "mail_sendings_list.h"

#include "data/fb_connection.h"
#include "data/mail_sendings.h"

#include <QHeaderView>

MailSendingsList::MailSendingsList(QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("lvSendings"));
    setHeaderLabels({QStringLiteral("Когда"), QStringLiteral("Кому"), QStringLiteral("Формы"),
                     QStringLiteral("Кто")});
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The forms take what the date, the address and the user leave.
    header()->setStretchLastSection(false);
    for (const int column : {0, 1, 3})
        header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    header()->setSectionResizeMode(2, QHeaderView::Stretch);
    setMaximumHeight(fontMetrics().height() * 6);
}

void MailSendingsList::load(FbTransaction &transaction, int document)
{
    clear();
    if (!transaction.isActive())
        transaction.start();
    for (const MailSending &sending : mail_sendings::of(transaction, document)) {
        auto *item = new QTreeWidgetItem(
            this, {sending.sent.toString(u"dd.MM.yyyy HH:mm"), sending.recipient,
                   sending.forms.join(QStringLiteral(", ")), sending.user});
        item->setToolTip(2, sending.forms.join(u'\n'));
    }
}
