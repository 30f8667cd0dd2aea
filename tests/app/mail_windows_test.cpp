// The mail windows: the settings with their check and the keyring, the register's document
// sent to its client, to the tests' SMTP server or through a sender of the test's own, the
// preview's e-mail command, and where the register tells that a document was sent.
#include "app/mail_commands.h"
#include "app/mail_settings_dialog.h"
#include "app/send_mail_dialog.h"
#include "data/email_addresses.h"
#include "data/mail_sendings.h"
#include "fake_keyring.h"
#include "mail/mail_settings.h"
#include "main_window_test.h"
#include "printing/print_job.h"
#include "report/preview/preview_window.h"
#include "smtp_test_server.h"
#include "ui/date_edit.h"
#include "ui/db_grid.h"
#include "ui/email_box.h"
#include "window_driver.h"
#include "window_test.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QLabel>
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

TEST_F(SendMail, TheReconciliationActGoesOverThePeriodChosen)
{
    SKIP_WITHOUT_SMTP_SERVER();
    auto w = window(smtp_test_server::settings(mail::Security::StartTls));
    auto *act = child<QCheckBox>(*w, "chkAktSverki");
    auto *from = child<DateEdit>(*w, "dtpActFrom");
    auto *to = child<DateEdit>(*w, "dtpActTo");
    EXPECT_FALSE(act->isChecked());
    // From the first of the quarter of the invoice of 02.03.2026 to its date.
    EXPECT_EQ(from->date(), QDate(2026, 1, 1));
    EXPECT_EQ(to->date(), QDate(2026, 3, 2));
    EXPECT_FALSE(from->isEnabled());

    act->setChecked(true);
    child<QCheckBox>(*w, "chkInvoice")->setChecked(false);
    from->setDate(QDate(2026, 4, 1));
    prompts.expectError(QStringLiteral("Начало периода акта сверки позже его конца."),
                        QStringLiteral("Отправить по почте"));
    child<QPushButton>(*w, "btnSend")->click();
    from->setDate(QDate(2026, 2, 1));
    prompts.expectInform(QStringLiteral("Письмо отправлено на адрес %1.").arg(clientAddress));
    child<QPushButton>(*w, "btnSend")->click();

    const auto received = smtp_test_server::receivedBy(clientAddress);
    ASSERT_TRUE(received);
    const QJsonArray attachments = (*received)[u"attachments"].toArray();
    ASSERT_EQ(attachments.size(), 1);
    const QJsonObject pdf = attachments[0].toObject();
    EXPECT_EQ(pdf[u"filename"].toString(),
              QStringLiteral("Акт сверки взаиморасчетов за 01.02.2026 - 02.03.2026.pdf"));
    EXPECT_TRUE(pdf[u"text"].toString().contains(u"01.02.2026"))
        << pdf[u"text"].toString().toStdString();
    const std::vector<MailSending> sendings = recorded();
    ASSERT_EQ(sendings.size(), 1u);
    EXPECT_EQ(sendings[0].forms, QStringList{QStringLiteral("Акт сверки взаиморасчетов")});
}

// The preview's "Отослать по E-mail" on a printed form, with the mail settings in a file of the
// test's own and the password in its keyring.
class PreviewMail : public SendMail {
protected:
    // Prints the current document as form into the preview and chooses its e-mail command
    // there; sendWindow is given the send window, if one opens.
    void emailFromPreview(PrintForm form, const std::function<int(QDialog &)> &sendWindow)
    {
        zpreview::PreviewHooks hooks;
        hooks.runDialog = [](QDialog &) { return int(QDialog::Rejected); };
        hooks.message = [this](QWidget *, const QString &text, const QString &) {
            previewMessages << text;
        };
        hooks.sendEmail = previewMailSender(dm, prompts, keyring, sendWindow, settingsFile);
        const QString error = printCurrentDocument(
            dm, form, false, false, {},
            [&](const zreport::TfrxReport &report, const zreport::DataSources &sources) {
                zpreview::PreviewWindow preview(report, sources, hooks);
                preview.runReport();
                child<QAction>(preview, "emailAction")->trigger();
            },
            {});
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    }

    QTemporaryDir folder;
    QString settingsFile = folder.filePath(QStringLiteral("zarnik.conf"));
    FakeKeyring keyring;
    QStringList previewMessages;
};

TEST_F(PreviewMail, ThePreviewedFormGoesThroughTheSendWindowToTheDocumentsClient)
{
    SKIP_WITHOUT_SMTP_SERVER();
    const mail::MailServer server = smtp_test_server::settings(mail::Security::StartTls);
    {
        QSettings settings(settingsFile, QSettings::IniFormat);
        mail::writeSettings(settings, server);
    }
    keyring.kept[mail::passwordKey(server)] = server.password;
    int windows = 0;
    prompts.expectInform(QStringLiteral("Письмо отправлено на адрес %1.").arg(clientAddress));
    emailFromPreview(PrintForm::Invoice, [&](QDialog &w) {
        ++windows;
        EXPECT_EQ(child<QLineEdit>(w, "edTo")->text(), clientAddress);
        EXPECT_EQ(child<QLineEdit>(w, "edSubject")->text(), kSubject);
        EXPECT_EQ(child<QLabel>(w, "lblAttachment")->text(),
                  QStringLiteral("Счет на оплату № 1 от 02.03.2026.pdf"));
        EXPECT_FALSE(child<QCheckBox>(w, "chkAct")->isVisible());
        child<QPushButton>(w, "btnSend")->click();
        return w.result();
    });
    EXPECT_EQ(windows, 1);
    EXPECT_TRUE(previewMessages.isEmpty());

    const auto received = smtp_test_server::receivedBy(clientAddress);
    ASSERT_TRUE(received);
    EXPECT_EQ((*received)[u"subject"].toString(), kSubject);
    const QJsonArray attachments = (*received)[u"attachments"].toArray();
    ASSERT_EQ(attachments.size(), 1);
    EXPECT_EQ(attachments[0].toObject()[u"filename"].toString(),
              QStringLiteral("Счет на оплату № 1 от 02.03.2026.pdf"));
    EXPECT_TRUE(attachments[0].toObject()[u"text"].toString().contains(u"Степной Ветер"));
    const std::vector<MailSending> sendings = recorded();
    ASSERT_EQ(sendings.size(), 1u);
    EXPECT_EQ(sendings[0].forms, QStringList{QStringLiteral("Счет на оплату")});
}

TEST_F(PreviewMail, WithoutAMailServerTheSendWindowStaysClosed)
{
    int windows = 0;
    const auto sender = previewMailSender(
        dm, prompts, keyring,
        [&](QDialog &) {
            ++windows;
            return int(QDialog::Rejected);
        },
        settingsFile);
    EXPECT_FALSE(sender(nullptr, zreport::PreparedReport(), QStringLiteral("Счет")));
    EXPECT_EQ(windows, 0);
}

// "отправлен dd.MM.yyyy" in the tooltip of the register's row of a document sent.
class RegisterSent : public MainWindowTest {
protected:
    RegisterSent() : MainWindowTest(TempDatabase::Demo) {}
};

TEST_F(RegisterSent, TheRowsTooltipTellsTheLastSending)
{
    if (!dm.TsnRW.isActive())
        dm.TsnRW.start();
    mail_sendings::record(dm.TsnRW, {1,
                                     QDateTime(QDate(2026, 3, 3), QTime(10, 0)),
                                     QStringLiteral("a@b.kz"),
                                     {QStringLiteral("Счет на оплату")},
                                     QStringLiteral("anna")});
    mail_sendings::record(dm.TsnRW, {1,
                                     QDateTime(QDate(2026, 3, 9), QTime(8, 0)),
                                     QStringLiteral("a@b.kz"),
                                     {QStringLiteral("Счет на оплату")},
                                     QStringLiteral("anna")});
    dm.TsnRW.commit();
    openWindow();
    auto *grid = window->findChild<DbGrid *>(QStringLiteral("dbgrSchets"));
    ASSERT_TRUE(grid);
    Dataset &docs = *dm.DSetDocs;
    int sentRows = 0;
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
        const QString tip = rowToolTip(*grid, row);
        if (docs.valueAt(row, docs.fieldIndex(QStringLiteral("KOD"))).toInt() == 1) {
            ++sentRows;
            EXPECT_TRUE(tip.endsWith(QStringLiteral("отправлен 09.03.2026"))) << tip.toStdString();
        } else {
            EXPECT_FALSE(tip.contains(QStringLiteral("отправлен"))) << tip.toStdString();
        }
    }
    EXPECT_EQ(sentRows, 1);
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
