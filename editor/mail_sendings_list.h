#pragma once

#include <QTreeWidget>

class FbTransaction;

// "Отправлено по почте": the document's e-mails as they were sent (when, to whom, which forms,
// by whom), the earliest first; read only, and empty for a document never sent.
class MailSendingsList : public QTreeWidget {
public:
    explicit MailSendingsList(QWidget *parent = nullptr);

    void load(FbTransaction &transaction, int document);
};
