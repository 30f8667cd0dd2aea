#pragma once

#include "mail/send_mail.h"

#include <QDialog>

#include <functional>

class PasswordStore;
class PromptService;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QSettings;
class QSpinBox;

// "Настройки почты": the office's outgoing server and the sender, kept in the settings file;
// the password goes to the desktop's keyring only. "Проверить" sends a test message to the
// sender through `send` and says plainly what failed.
class MailSettingsDialog : public QDialog {
public:
    using Sender = std::function<mail::SendResult(const mail::MailServer &, const mail::Message &)>;

    MailSettingsDialog(QSettings &settings, PasswordStore &passwords, PromptService &prompts,
                       Sender send, QWidget *parent = nullptr);

    // The server as the boxes give it now, the password included.
    mail::MailServer server() const;

private:
    void securityChanged(int index);
    void btnCheckClick();
    void btnOKClick();

    QSettings &m_settings;
    PasswordStore &m_passwords;
    PromptService &m_prompts;
    Sender m_send;
    mail::MailServer m_loaded; // kept for what the boxes do not show
    QLineEdit *m_host;
    QSpinBox *m_port;
    QComboBox *m_security;
    int m_shownSecurity = 0;
    QLineEdit *m_user;
    QLineEdit *m_password;
    QLineEdit *m_senderName;
    QLineEdit *m_senderAddress;
    QCheckBox *m_copyToSender;
};
