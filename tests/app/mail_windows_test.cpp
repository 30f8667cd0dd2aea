// The mail windows: the settings with their check and the keyring, and the register's document
// sent to its client, to the tests' SMTP server or through a sender of the test's own.
#include "app/mail_settings_dialog.h"
#include "app/send_mail_dialog.h"
#include "data/email_addresses.h"
#include "data/mail_sendings.h"
#include "fake_keyring.h"
#include "mail/mail_settings.h"
#include "smtp_test_server.h"
#include "ui/email_box.h"
#include "window_test.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kSubject = QStringLiteral("Счет на оплату № 1 от 02.03.2026 — ТОО «Степной Ветер»");

class SendMail : public WindowTest {
protected:
    SendMail() : WindowTest(TempDatabase::Demo) {}

    void SetUp() override
    {
        WindowTest::SetUp();
        for (Dataset *dataset : dm.mainDatasets())
            dataset->open();
        ASSERT_TRUE(dm.DSetDocs->locate(1));
        if (!dm.TsnRW.isActive())
            dm.TsnRW.start();
        // The document's client, found by its BIN/IIN.
        email_addresses::set(dm.TsnRW, email_addresses::ownerOfClient(clientKod()), clientAddress);
    }

    int clientKod()
    {
        for (dm.DSetClients->first(); !dm.DSetClients->eof(); dm.DSetClients->next()) {
            if (dm.DSetClients->asString(QStringLiteral("BINIIN")) ==
                dm.DSetDocs->asString(QStringLiteral("BINIIN")))
                return dm.DSetClients->value(QStringLiteral("KOD")).toInt();
        }
        ADD_FAILURE() << "no client of the document";
        return 0;
    }

    std::unique_ptr<SendMailDialog> window(const mail::MailServer &server,
                                           SendMailDialog::Sender send = mail::send)
    {
        return std::make_unique<SendMailDialog>(dm, prompts, server, FormImagesReader(),
                                                std::move(send));
    }

    template <typename T> T *child(QWidget &w, const char *name)
    {
        T *found = w.findChild<T *>(QLatin1String(name));
        EXPECT_TRUE(found) << name;
        return found;
    }

    std::vector<MailSending> recorded() { return mail_sendings::of(dm.TsnRW, 1); }

    QString clientAddress = smtp_test_server::uniqueAddress();
};

TEST_F(SendMail, TheInvoiceAndTheActReachTheClientAndTheSendingIsRecorded)
{
    SKIP_WITHOUT_SMTP_SERVER();
    const mail::MailServer server = smtp_test_server::settings(mail::Security::StartTls);
    auto w = window(server);
    EXPECT_EQ(child<QLineEdit>(*w, "edTo")->text(), clientAddress);
    EXPECT_EQ(child<QLineEdit>(*w, "edSubject")->text(), kSubject);
    EXPECT_TRUE(child<QCheckBox>(*w, "chkInvoice")->isChecked());
    for (const char *name : {"chkAct", "chkWaybill", "chkVatInvoice"})
        EXPECT_FALSE(child<QCheckBox>(*w, name)->isChecked()) << name;

    child<QCheckBox>(*w, "chkAct")->setChecked(true);
    prompts.expectInform(QStringLiteral("Письмо отправлено на адрес %1.").arg(clientAddress));
    child<QPushButton>(*w, "btnSend")->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);

    const auto received = smtp_test_server::receivedBy(clientAddress);
    ASSERT_TRUE(received);
    EXPECT_EQ((*received)[u"subject"].toString(), kSubject);
    const QJsonArray attachments = (*received)[u"attachments"].toArray();
    ASSERT_EQ(attachments.size(), 2);
    EXPECT_TRUE(attachments[1].toObject()[u"text"].toString().contains(u"АКТ ВЫПОЛНЕННЫХ РАБОТ"));
    const std::vector<MailSending> sendings = recorded();
    ASSERT_EQ(sendings.size(), 1u);
    EXPECT_EQ(sendings[0].recipient, clientAddress);
    EXPECT_EQ(sendings[0].forms, QStringList({QStringLiteral("Счет на оплату"),
                                              QStringLiteral("Акт выполненных работ")}));
}

TEST_F(SendMail, AFailedSendingIsToldAndNotRecorded)
{
    SKIP_WITHOUT_SMTP_SERVER();
    mail::MailServer server = smtp_test_server::settings(mail::Security::StartTls);
    server.password = QStringLiteral("wrong");
    auto w = window(server);
    prompts.expectError(QStringLiteral("Сервер «127.0.0.1» отказал во входе: неверное имя "
                                       "пользователя или пароль."),
                        QStringLiteral("Письмо не отправлено"));
    child<QPushButton>(*w, "btnSend")->click();
    EXPECT_NE(w->result(), QDialog::Accepted);
    EXPECT_TRUE(recorded().empty());
}

TEST_F(SendMail, AWrongAddressIsCaughtBeforeSending)
{
    int sendings = 0;
    auto w = window(smtp_test_server::settings(), [&](const auto &, const auto &, const auto &) {
        ++sendings;
        return mail::SendResult{};
    });
    child<QLineEdit>(*w, "edTo")->setText(QStringLiteral("buh@zarya"));
    prompts.expectError(QStringLiteral("Неверный адрес получателя «buh@zarya»: неверное имя "
                                       "почтового сервера после знака @."),
                        QStringLiteral("Отправить по почте"));
    child<QPushButton>(*w, "btnSend")->click();
    EXPECT_EQ(sendings, 0);
    EXPECT_TRUE(recorded().empty());
}

TEST_F(SendMail, CancelStopsTheSendingAndKeepsTheWindow)
{
    std::unique_ptr<SendMailDialog> w;
    w = window(smtp_test_server::settings(),
               [&](const auto &, const mail::Message &message, const mail::Progress &progress) {
                   EXPECT_EQ(message.attachments.size(), 1u);
                   EXPECT_TRUE(progress(10, 100));
                   child<QPushButton>(*w, "btnCancel")->click(); // while the message goes
                   EXPECT_FALSE(progress(20, 100));
                   return mail::SendResult{QStringLiteral("Отправка отменена."), true};
               });
    w->show();
    child<QPushButton>(*w, "btnSend")->click();
    // No prompt came, and the window is still open to send again.
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(child<QPushButton>(*w, "btnSend")->isEnabled());
    EXPECT_TRUE(recorded().empty());
}

class MailSettings : public ::testing::Test {
protected:
    QTemporaryDir folder;
    QSettings settings{folder.filePath(QStringLiteral("zarnik.conf")), QSettings::IniFormat};
    FakeKeyring keyring;
    ScriptedPrompts prompts;
    std::vector<mail::Message> sent;
    mail::SendResult answer;
    MailSettingsDialog window{settings, keyring, prompts,
                              [this](const mail::MailServer &, const mail::Message &message) {
                                  sent.push_back(message);
                                  return answer;
                              }};

    template <typename T> T *child(const char *name)
    {
        T *found = window.findChild<T *>(QLatin1String(name));
        EXPECT_TRUE(found) << name;
        return found;
    }
    void fill()
    {
        child<QLineEdit>("edHost")->setText(QStringLiteral("smtp.zarya.kz"));
        child<QLineEdit>("edUser")->setText(QStringLiteral("buh"));
        child<QLineEdit>("edPassword")->setText(QStringLiteral("secret-word"));
        child<QLineEdit>("edSenderName")->setText(QStringLiteral("ТОО «Заря»"));
        child<QLineEdit>("edSenderAddress")->setText(QStringLiteral("buh@zarya.kz"));
    }
};

TEST_F(MailSettings, KeptInTheSettingsFileWithThePasswordInTheKeyringOnly)
{
    fill();
    EXPECT_EQ(child<QSpinBox>("edPort")->value(), 587);
    prompts.expectConfirm(QStringLiteral("Без защиты соединения пароль и письма идут по сети "
                                         "открытым текстом, и их может прочесть посторонний. "
                                         "Отключить защиту?"),
                          false);
    child<QComboBox>("cbSecurity")->setCurrentIndex(2);
    EXPECT_EQ(child<QComboBox>("cbSecurity")->currentIndex(), 0);
    child<QComboBox>("cbSecurity")->setCurrentIndex(1);
    EXPECT_EQ(child<QSpinBox>("edPort")->value(), 465);
    child<QCheckBox>("chkCopyToSender")->setChecked(true);
    child<QPushButton>("btnOK")->click();
    EXPECT_EQ(window.result(), QDialog::Accepted);

    const mail::MailServer kept = mail::readSettings(settings);
    EXPECT_EQ(kept.host, QStringLiteral("smtp.zarya.kz"));
    EXPECT_EQ(kept.port, 465);
    EXPECT_EQ(kept.security, mail::Security::Ssl);
    EXPECT_EQ(kept.senderName, QStringLiteral("ТОО «Заря»"));
    EXPECT_TRUE(kept.copyToSender);
    EXPECT_EQ(keyring.kept[mail::passwordKey(kept)], QStringLiteral("secret-word"));
    QFile file(settings.fileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("secret-word"));
}

TEST_F(MailSettings, CheckSendsToTheSenderAndSaysWhatFailed)
{
    fill();
    prompts.expectInform(QStringLiteral("Проверочное письмо отправлено на адрес buh@zarya.kz."));
    child<QPushButton>("btnCheck")->click();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].to, QStringList{QStringLiteral("buh@zarya.kz")});

    answer.error = QStringLiteral("Нет такого сервера: «smtp.zarya.kz». Проверьте имя сервера "
                                  "исходящей почты и подключение к интернету.");
    prompts.expectError(answer.error, QStringLiteral("Проверка не удалась"));
    child<QPushButton>("btnCheck")->click();
    EXPECT_FALSE(mail::hasSettings(settings)); // nothing kept before "ОК"
}

class EmailBoxes : public WindowTest {
protected:
    EmailBoxes() : WindowTest(TempDatabase::Empty) {}
};

TEST_F(EmailBoxes, AWrongLookingAddressIsMarkedAndKeptAllTheSame)
{
    dm.TsnRW.start();
    EmailBox box(email_addresses::ownOwner(), nullptr);
    box.load(dm.TsnRW);
    EXPECT_FALSE(box.isMarkedWrong());
    box.setText(QStringLiteral("buh@zarya"));
    EXPECT_TRUE(box.isMarkedWrong());
    EXPECT_EQ(box.toolTip(), QStringLiteral("Не похоже на адрес электронной почты: неверное имя "
                                            "почтового сервера после знака @"));
    box.save(dm.TsnRW);
    EXPECT_EQ(email_addresses::of(dm.TsnRW, email_addresses::ownOwner()),
              QStringLiteral("buh@zarya"));
    box.setText(QStringLiteral("buh@zarya.kz"));
    EXPECT_FALSE(box.isMarkedWrong());
    EXPECT_TRUE(box.toolTip().isEmpty());
}

} // namespace
