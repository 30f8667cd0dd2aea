// Sending through the local SMTP server of the tests: what arrives, read back by another MIME
// parser, and how each failure is told.
#include "mail/send_mail.h"

#include "smtp_test_server.h"

#include <QBuffer>
#include <QJsonArray>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QByteArray pdfSaying(const QString &text)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        QPainter painter(&writer);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPointSize(14);
        painter.setFont(font);
        painter.drawText(QPointF(300, 600), text);
    }
    return buffer.data();
}

mail::Message invoiceMessage(const QString &to)
{
    mail::Message message;
    message.to = {to};
    message.subject = QStringLiteral("Счет на оплату № 7 от 01.12.2026 — ТОО «Заря» и длинное "
                                     "продолжение темы, которое не уместится в одно слово");
    message.text = QStringLiteral("Добрый день!\nВо вложении счет на оплату.\n");
    message.attachments.push_back({QStringLiteral("Счет на оплату № 7.pdf"),
                                   pdfSaying(QStringLiteral("Счет на оплату № 7"))});
    message.attachments.push_back(
        {QStringLiteral("Акт.pdf"), pdfSaying(QStringLiteral("Акт выполненных работ"))});
    return message;
}

class Arrival : public testing::TestWithParam<mail::Security> {};

TEST_P(Arrival, MessageArrivesWithSubjectTextAndPdfs)
{
    SKIP_WITHOUT_SMTP_SERVER();
    mail::MailServer server = smtp_test_server::settings(GetParam());
    server.copyToSender = true;
    const QString to = smtp_test_server::uniqueAddress();
    const mail::Message message = invoiceMessage(to);
    qint64 lastSent = -1, lastTotal = -1;
    const mail::SendResult result = mail::send(server, message, [&](qint64 sent, qint64 total) {
        lastSent = sent;
        lastTotal = total;
        return true;
    });
    ASSERT_TRUE(result.sent()) << result.error.toStdString();
    EXPECT_GT(lastSent, 0);
    EXPECT_GE(lastTotal, lastSent);

    const auto received = smtp_test_server::receivedBy(to);
    ASSERT_TRUE(received);
    const QJsonObject &m = *received;
    EXPECT_EQ(m[u"subject"].toString(), message.subject);
    EXPECT_EQ(m[u"text"].toString(), message.text);
    EXPECT_EQ(m[u"from"].toString(), QStringLiteral("ТОО «Заря» <%1>").arg(server.senderAddress));
    EXPECT_EQ(m[u"to"].toString(), to);
    EXPECT_TRUE(m[u"has_date"].toBool());
    // The sender's copy goes by the envelope only.
    EXPECT_EQ(m[u"envelope_to"].toArray(), QJsonArray({to, server.senderAddress}));
    const QJsonArray attachments = m[u"attachments"].toArray();
    ASSERT_EQ(attachments.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const QJsonObject a = attachments[i].toObject();
        EXPECT_EQ(a[u"filename"].toString(), message.attachments[size_t(i)].fileName);
        EXPECT_EQ(a[u"type"].toString(), QStringLiteral("application/pdf"));
        EXPECT_EQ(QByteArray::fromBase64(a[u"base64"].toString().toLatin1()),
                  message.attachments[size_t(i)].content);
    }
    EXPECT_TRUE(attachments[0].toObject()[u"text"].toString().contains(u"Счет на оплату № 7"));
    EXPECT_TRUE(attachments[1].toObject()[u"text"].toString().contains(u"Акт выполненных работ"));
}

INSTANTIATE_TEST_SUITE_P(Security, Arrival,
                         testing::Values(mail::Security::StartTls, mail::Security::Ssl,
                                         mail::Security::None),
                         [](const auto &info) {
                             return mail::securityName(info.param).toStdString();
                         });

// A socket that takes connections (the system's backlog) but never says a word.
class SilentServer {
public:
    SilentServer() : m_socket(socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_socket, reinterpret_cast<sockaddr *>(&address), sizeof address);
        listen(m_socket, 4);
        socklen_t length = sizeof address;
        getsockname(m_socket, reinterpret_cast<sockaddr *>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~SilentServer() { close(m_socket); }
    int port() const { return m_port; }

private:
    int m_socket;
    int m_port = 0;
};

// A port of 127.0.0.1 that nothing listens on: taken, then freed.
int freePort()
{
    return SilentServer().port();
}

struct FailureCase {
    const char *what;
    bool needsServer;
    // The silent server's port is given for the cases that need one.
    std::function<void(mail::MailServer &, mail::Message &, int silentPort)> change;
    const char *error;
};

void PrintTo(const FailureCase &c, std::ostream *os)
{
    *os << c.what;
}

class Failure : public testing::TestWithParam<FailureCase> {};

TEST_P(Failure, IsToldInPlainWords)
{
    const FailureCase &c = GetParam();
    if (c.needsServer) {
        SKIP_WITHOUT_SMTP_SERVER();
    }
    mail::MailServer server = smtp_test_server::settings();
    const QString to = smtp_test_server::uniqueAddress();
    mail::Message message = invoiceMessage(to);
    SilentServer silent;
    c.change(server, message, silent.port());

    const mail::SendResult result = mail::send(server, message);
    QString expected = QString::fromUtf8(c.error);
    if (expected.contains(u"%1"))
        expected = expected.arg(server.port);
    EXPECT_EQ(result.error, expected);
    EXPECT_FALSE(result.cancelled);
    if (c.needsServer) {
        EXPECT_FALSE(smtp_test_server::receivedBy(to));
    }
}

const FailureCase kFailures[] = {
    {"refused_login", true, [](auto &s, auto &, int) { s.password = QStringLiteral("wrong"); },
     "Сервер «127.0.0.1» отказал во входе: неверное имя пользователя или пароль."},
    {"untrusted_certificate", true, [](auto &s, auto &, int) { s.trustedCertificates.clear(); },
     "Сертификат сервера «127.0.0.1» не заслуживает доверия: нельзя убедиться, что это тот "
     "самый сервер. Письмо не отправлено."},
    {"silent_server", false,
     [](auto &s, auto &, int silentPort) {
         s.port = silentPort;
         s.timeoutSeconds = 1;
     },
     "Сервер «127.0.0.1» не ответил за 1 с. Проверьте имя сервера, порт и защиту соединения."},
    {"nobody_listens", false, [](auto &s, auto &, int) { s.port = freePort(); },
     "Сервер «127.0.0.1» не принимает соединения на порту %1. Проверьте порт и защиту "
     "соединения."},
    {"no_such_server", false,
     [](auto &s, auto &, int) { s.host = QStringLiteral("nosuchhost.invalid"); },
     "Нет такого сервера: «nosuchhost.invalid». Проверьте имя сервера исходящей почты и "
     "подключение к интернету."},
    // Caught before connecting: the server of this case would not even answer.
    {"wrong_recipient", false,
     [](auto &s, auto &m, int) {
         s.port = freePort();
         m.to = QStringList{QStringLiteral("buh@zarya,kz")};
     },
     "Неверный адрес получателя «buh@zarya,kz»: неверное имя почтового сервера после знака @."},
};

INSTANTIATE_TEST_SUITE_P(Sending, Failure, testing::ValuesIn(kFailures),
                         [](const auto &info) { return std::string(info.param.what); });

TEST(Sending, CancelledByTheProgressIsNotAnError)
{
    SKIP_WITHOUT_SMTP_SERVER();
    const mail::MailServer server = smtp_test_server::settings();
    const mail::SendResult result =
        mail::send(server, invoiceMessage(smtp_test_server::uniqueAddress()),
                   [](qint64, qint64) { return false; });
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.error, QStringLiteral("Отправка отменена."));
}

} // namespace
