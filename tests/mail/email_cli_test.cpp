// zarnik-cli email over a demo database, to the tests' SMTP server: what arrives, what is
// recorded, and that a refused sending records nothing.
#include "data/database_file.h"
#include "data/email_addresses.h"
#include "data/fb_connection.h"
#include "data/mail_sendings.h"

#include "smtp_test_server.h"
#include "temp_database.h"

#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct CliResult {
    int exitCode = -1;
    QString out, err;
};

class EmailCli : public testing::Test {
protected:
    void SetUp() override
    {
        FbConnection connection;
        connection.attach(m_db.path(), database::userName(), database::password());
        FbTransaction transaction(connection);
        transaction.start();
        email_addresses::set(transaction, email_addresses::ownOwner(), m_sender);
        transaction.commit();
    }

    // The settings file is a fresh one of the test's own: the server comes from the options.
    CliResult run(const QStringList &args, const QString &password = QStringLiteral("zarnik-mail"))
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
        environment.insert(QStringLiteral("ZARNIK_SMTP_PASSWORD"), password);
        environment.insert(QStringLiteral("USER"), QStringLiteral("buh"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(ZARNIK_CLI),
                      QStringList{QStringLiteral("email"), QStringLiteral("--db"), m_db.path(),
                                  QStringLiteral("--smtp"), QStringLiteral("127.0.0.1:2526"),
                                  QStringLiteral("--security"), QStringLiteral("none"),
                                  QStringLiteral("--user"), QStringLiteral("zarnik-test")} +
                          args);
        EXPECT_TRUE(process.waitForFinished(120'000));
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    std::vector<MailSending> sendings(int document)
    {
        FbConnection connection;
        connection.attach(m_db.path(), database::userName(), database::password());
        FbTransaction transaction(connection);
        transaction.start();
        return mail_sendings::of(transaction, document);
    }

    TempDatabase m_db{TempDatabase::Demo};
    QTemporaryDir m_config;
    QString m_sender = smtp_test_server::uniqueAddress();
    QString m_to = smtp_test_server::uniqueAddress();
};

TEST_F(EmailCli, SendsTheFormsAndRecordsTheSending)
{
    SKIP_WITHOUT_SMTP_SERVER();
    const CliResult result =
        run({QStringLiteral("--doc"), QStringLiteral("1"), QStringLiteral("--to"), m_to,
             QStringLiteral("--template"), QStringLiteral("repSchet"), QStringLiteral("--template"),
             QStringLiteral("repActKn")});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();

    const auto received = smtp_test_server::receivedBy(m_to);
    ASSERT_TRUE(received);
    const QString subject =
        QStringLiteral("Счет на оплату № 1 от 02.03.2026 — ТОО «Степной Ветер»");
    EXPECT_EQ((*received)[u"subject"].toString(), subject);
    EXPECT_EQ((*received)[u"from"].toString(),
              QStringLiteral("ТОО «Алтын Дала Трейд» <%1>").arg(m_sender));
    EXPECT_TRUE((*received)[u"text"].toString().contains(subject));
    const QJsonArray attachments = (*received)[u"attachments"].toArray();
    ASSERT_EQ(attachments.size(), 2);
    EXPECT_EQ(attachments[0].toObject()[u"filename"].toString(),
              QStringLiteral("Счет на оплату № 1 от 02.03.2026.pdf"));
    const QString invoiceText = attachments[0].toObject()[u"text"].toString();
    EXPECT_TRUE(invoiceText.contains(u"ПЛАТЕЛЬЩИК: ТОО «Степной Ветер»"));
    EXPECT_TRUE(invoiceText.contains(u"Итого: 172950,00"));
    EXPECT_EQ(attachments[1].toObject()[u"filename"].toString(),
              QStringLiteral("Акт выполненных работ № 1 от 02.03.2026.pdf"));
    EXPECT_TRUE(attachments[1].toObject()[u"text"].toString().contains(u"АКТ ВЫПОЛНЕННЫХ РАБОТ"));

    const std::vector<MailSending> recorded = sendings(1);
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].recipient, m_to);
    EXPECT_EQ(recorded[0].forms, QStringList({QStringLiteral("Счет на оплату"),
                                              QStringLiteral("Акт выполненных работ")}));
    EXPECT_EQ(recorded[0].user, QStringLiteral("buh"));
    EXPECT_LE(recorded[0].sent.secsTo(QDateTime::currentDateTime()), 120);
}

TEST_F(EmailCli, ARefusedSendingIsNotRecorded)
{
    SKIP_WITHOUT_SMTP_SERVER();
    const CliResult result =
        run({QStringLiteral("--doc"), QStringLiteral("1"), QStringLiteral("--to"), m_to},
            QStringLiteral("wrong"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.trimmed(), QStringLiteral("email: Сервер «127.0.0.1» отказал во входе: "
                                                   "неверное имя пользователя или пароль."));
    EXPECT_TRUE(sendings(1).empty());
}

TEST_F(EmailCli, UnusableArgumentsAreRefusedBeforeSending)
{
    for (const QStringList &args :
         {QStringList{QStringLiteral("--doc"), QStringLiteral("1"), QStringLiteral("--to"), m_to,
                      QStringLiteral("--template"), QStringLiteral("repPrix")},
          QStringList{QStringLiteral("--doc"), QStringLiteral("x"), QStringLiteral("--to"), m_to},
          QStringList{QStringLiteral("--doc"), QStringLiteral("1")}}) {
        const CliResult result = run(args);
        EXPECT_EQ(result.exitCode, 2) << args.join(u' ').toStdString();
    }
    const CliResult missing =
        run({QStringLiteral("--doc"), QStringLiteral("999"), QStringLiteral("--to"), m_to});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err.trimmed(), QStringLiteral("email: there is no document with KOD 999"));
}

} // namespace
