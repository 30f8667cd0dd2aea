#pragma once

#include "mail/send_mail.h"
#include "printing/form_images.h"
#include "printing/print_job.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class DateEdit;
class PromptService;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class TDM;

// A form as the preview laid it out, sent as it is in place of the forms to tick.
struct PreviewedForm {
    mail::Attachment file;
    // What the sending is recorded as ("Счет на оплату"); empty for a report that is none of
    // the current document's forms, which is sent to whom the user types and not recorded.
    QString formTitle;
};

// "Отправить по почте": the register's current document to its client, with the forms ticked
// as PDF attachments, and the reconciliation act with the client over a period. A message the
// server took is recorded with the document; one that failed is not, and the window stays
// open to try again.
class SendMailDialog : public QDialog {
public:
    using Sender = std::function<mail::SendResult(const mail::MailServer &, const mail::Message &,
                                                  const mail::Progress &)>;

    // server: the settings' server with its password (asked for when none is kept).
    SendMailDialog(TDM &dm, PromptService &prompts, mail::MailServer server,
                   FormImagesReader readImages, Sender send, QWidget *parent = nullptr);

    // Sends form alone instead of the forms to tick, under subject.
    void sendPreviewed(PreviewedForm form, const QString &subject);

    // While sending, "Отмена" (or closing) cancels the sending instead; the window stays.
    void reject() override;

private:
    void btnSendClick();
    // The attachments ticked, with the titles they are recorded as; false when one could not
    // be made (told).
    bool attach(mail::Message &message, QStringList &titles);
    bool progress(qint64 sent, qint64 total);

    TDM &m_dm;
    PromptService &m_prompts;
    mail::MailServer m_server;
    FormImagesReader m_readImages;
    Sender m_send;
    QLineEdit *m_to;
    QLineEdit *m_subject;
    QPlainTextEdit *m_text;
    QGroupBox *m_formsGroup;
    std::vector<std::pair<PrintForm, QCheckBox *>> m_forms;
    QCheckBox *m_act;
    DateEdit *m_actFrom;
    DateEdit *m_actTo;
    std::optional<PreviewedForm> m_previewed;
    QProgressBar *m_progress;
    QPushButton *m_sendButton;
    bool m_sending = false;
    bool m_cancelled = false;
};
