#include "mail_settings_dialog.h"

#include "password_store.h"

#include "checks/email_address.h"
#include "mail/mail_settings.h"
#include "ui/command.h"
#include "ui/prompt_service.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// The choices of "Защита соединения", in this order.
constexpr mail::Security kSecurities[] = {mail::Security::StartTls, mail::Security::Ssl,
                                          mail::Security::None};

int securityIndex(mail::Security security)
{
    for (int i = 0; i < 3; ++i) {
        if (kSecurities[i] == security)
            return i;
    }
    return 0;
}

QLineEdit *addBox(QFormLayout *form, const char *name, const QString &label, const QString &text)
{
    auto *box = new QLineEdit(text);
    box->setObjectName(QLatin1String(name));
    form->addRow(label, box);
    return box;
}

} // namespace

MailSettingsDialog::MailSettingsDialog(QSettings &settings, PasswordStore &passwords,
                                       PromptService &prompts, Sender send, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_passwords(passwords), m_prompts(prompts),
      m_send(std::move(send)), m_loaded(mail::readSettings(settings))
{
    setObjectName(QStringLiteral("frmMailSettings"));
    setWindowTitle(QStringLiteral("Настройки почты"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    layout->addLayout(form);

    m_host =
        addBox(form, "edHost", QStringLiteral("Сервер исходящей почты (SMTP):"), m_loaded.host);
    m_host->setPlaceholderText(QStringLiteral("smtp.example.kz"));
    m_security = new QComboBox;
    m_security->setObjectName(QStringLiteral("cbSecurity"));
    m_security->addItems(
        {QStringLiteral("STARTTLS"), QStringLiteral("SSL/TLS"), QStringLiteral("нет")});
    m_shownSecurity = securityIndex(m_loaded.security);
    m_security->setCurrentIndex(m_shownSecurity);
    form->addRow(QStringLiteral("Защита соединения:"), m_security);
    m_port = new QSpinBox;
    m_port->setObjectName(QStringLiteral("edPort"));
    m_port->setRange(1, 65535);
    m_port->setValue(m_loaded.port);
    form->addRow(QStringLiteral("Порт:"), m_port);
    m_user = addBox(form, "edUser", QStringLiteral("Пользователь:"), m_loaded.user);
    m_password = addBox(form, "edPassword", QStringLiteral("Пароль:"),
                        m_passwords.read(mail::passwordKey(m_loaded)).value_or(QString()));
    m_password->setEchoMode(QLineEdit::Password);
    m_senderName =
        addBox(form, "edSenderName", QStringLiteral("Имя отправителя:"), m_loaded.senderName);
    m_senderAddress = addBox(form, "edSenderAddress", QStringLiteral("Адрес отправителя:"),
                             m_loaded.senderAddress);
    m_copyToSender = new QCheckBox(QStringLiteral("Отправлять копию себе"));
    m_copyToSender->setObjectName(QStringLiteral("chkCopyToSender"));
    m_copyToSender->setChecked(m_loaded.copyToSender);
    form->addRow(QString(), m_copyToSender);

    auto *buttons = new QDialogButtonBox;
    QPushButton *check =
        buttons->addButton(QStringLiteral("Проверить"), QDialogButtonBox::ActionRole);
    check->setObjectName(QStringLiteral("btnCheck"));
    QPushButton *ok = buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    QPushButton *cancel =
        buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    layout->addWidget(buttons);

    connect(m_security, &QComboBox::currentIndexChanged, this,
            &MailSettingsDialog::securityChanged);
    connectCommand(check, this, m_prompts, [this] { btnCheckClick(); });
    connectCommand(ok, this, m_prompts, [this] { btnOKClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

mail::MailServer MailSettingsDialog::server() const
{
    mail::MailServer server = m_loaded;
    server.host = m_host->text().trimmed();
    server.port = m_port->value();
    server.security = kSecurities[m_security->currentIndex()];
    server.user = m_user->text().trimmed();
    server.password = m_password->text();
    server.senderName = m_senderName->text().trimmed();
    server.senderAddress = m_senderAddress->text().trimmed();
    server.copyToSender = m_copyToSender->isChecked();
    return server;
}

void MailSettingsDialog::securityChanged(int index)
{
    if (index == m_shownSecurity)
        return;
    if (kSecurities[index] == mail::Security::None &&
        !m_prompts.confirm(this, QStringLiteral("Без защиты соединения пароль и письма идут по "
                                                "сети открытым текстом, и их может прочесть "
                                                "посторонний. Отключить защиту?"))) {
        m_security->setCurrentIndex(m_shownSecurity);
        return;
    }
    // A port left at the usual one of the old choice follows the new choice.
    if (m_port->value() == mail::defaultPort(kSecurities[m_shownSecurity]))
        m_port->setValue(mail::defaultPort(kSecurities[index]));
    m_shownSecurity = index;
}

void MailSettingsDialog::btnCheckClick()
{
    const mail::MailServer server = this->server();
    mail::Message message;
    message.to = QStringList{server.senderAddress};
    message.subject = QStringLiteral("Проверка настроек почты");
    message.text = QStringLiteral("Это письмо отправлено для проверки настроек почты. Раз оно "
                                  "пришло, документы можно отправлять.\n");
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const mail::SendResult result = m_send(server, message);
    QGuiApplication::restoreOverrideCursor();
    if (result.sent())
        m_prompts.inform(
            this,
            QStringLiteral("Проверочное письмо отправлено на адрес %1.").arg(server.senderAddress));
    else
        m_prompts.error(this, result.error, QStringLiteral("Проверка не удалась"));
}

void MailSettingsDialog::btnOKClick()
{
    const mail::MailServer server = this->server();
    if (!server.senderAddress.isEmpty()) {
        if (const auto problem = emailAddressProblem(server.senderAddress);
            problem && !m_prompts.confirm(this, QStringLiteral("Адрес отправителя «%1» не похож "
                                                               "на адрес электронной почты: %2. "
                                                               "Сохранить настройки?")
                                                    .arg(server.senderAddress, *problem)))
            return;
    }
    mail::writeSettings(m_settings, server);
    m_settings.sync();
    if (mail::passwordKey(server) != mail::passwordKey(m_loaded))
        m_passwords.remove(mail::passwordKey(m_loaded));
    if (server.password.isEmpty())
        m_passwords.remove(mail::passwordKey(server));
    else if (!m_passwords.write(mail::passwordKey(server), server.password))
        m_prompts.inform(this, QStringLiteral("Пароль не сохранен: на этом компьютере нет "
                                              "хранилища паролей. Его спросят при отправке."));
    accept();
}
