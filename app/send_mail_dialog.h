#pragma once

#include "mail/send_mail.h"
#include "printing/form_images.h"
#include "printing/print_job.h"

#include <QDialog>

#include <functional>
#include <vector>

class PromptService;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class TDM;

// "Отправить по почте": the register's current document to its client, with the forms ticked
// as PDF attachments. A message the server took is recorded with the document; one that
// failed is not, and the window stays open to try again.
class SendMailDialog : public QDialog {
public:
    using Sender = std::function<mail::SendResult(const mail::MailServer &, const mail::Message &,
                                                  const mail::Progress &)>;

    // server: the settings' server with its password (asked for when none is kept).
    SendMailDialog(TDM &dm, PromptService &prompts, mail::MailServer server,
                   FormImagesReader readImages, Sender send, QWidget *parent = nullptr);

    // While sending, "Отмена" (or closing) cancels the sending instead; the window stays.
    void reject() override;

private:
    void btnSendClick();
    bool progress(qint64 sent, qint64 total);

    TDM &m_dm;
    PromptService &m_prompts;
    mail::MailServer m_server;
    FormImagesReader m_readImages;
    Sender m_send;
    QLineEdit *m_to;
    QLineEdit *m_subject;
    QPlainTextEdit *m_text;
    std::vector<std::pair<PrintForm, QCheckBox *>> m_forms;
    QProgressBar *m_progress;
    QPushButton *m_sendButton;
    bool m_sending = false;
    bool m_cancelled = false;
};
