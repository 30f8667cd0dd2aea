#include "send_mail.h"

#include "send_failure.h"

#include "checks/email_address.h"

#include <QDateTime>
#include <QUuid>

#include <curl/curl.h>

#include <algorithm>
#include <memory>

namespace mail {

namespace {

struct CurlDeleter {
    void operator()(CURL *curl) const { curl_easy_cleanup(curl); }
    void operator()(curl_mime *mime) const { curl_mime_free(mime); }
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};
using Curl = std::unique_ptr<CURL, CurlDeleter>;
using Mime = std::unique_ptr<curl_mime, CurlDeleter>;

class StringList {
public:
    void append(const QByteArray &item)
    {
        m_list.reset(curl_slist_append(m_list.release(), item.constData()));
    }
    curl_slist *get() const { return m_list.get(); }

private:
    std::unique_ptr<curl_slist, CurlDeleter> m_list;
};

void initialiseCurlOnce()
{
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)initialised;
}

// libcurl writes header values as given, and a header may hold ASCII only: a Cyrillic subject,
// name or file name goes as RFC 2047 encoded words, each short enough for one line.
QByteArray headerWords(const QString &text)
{
    bool ascii = true;
    for (const QChar c : text)
        ascii = ascii && c.unicode() >= 0x20 && c.unicode() < 0x7f;
    if (ascii)
        return text.toLatin1();
    QByteArray words;
    QString chunk;
    auto flush = [&] {
        if (chunk.isEmpty())
            return;
        if (!words.isEmpty())
            words += ' ';
        words += "=?UTF-8?B?" + chunk.toUtf8().toBase64() + "?=";
        chunk.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A surrogate pair stays within one word.
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        if ((chunk + character).toUtf8().size() > 45)
            flush();
        chunk += character;
        i += length - 1;
    }
    flush();
    return words;
}

QByteArray mailbox(const QString &name, const QString &address)
{
    const QByteArray angle = '<' + address.toLatin1() + '>';
    return name.isEmpty() ? angle : headerWords(name) + ' ' + angle;
}

std::optional<QString> addressProblem(const Message &message, const MailServer &server)
{
    if (auto problem = emailAddressProblem(server.senderAddress))
        return QStringLiteral("Неверный адрес отправителя «%1»: %2.")
            .arg(server.senderAddress, *problem);
    if (message.to.isEmpty())
        return QStringLiteral("Не указан адрес получателя.");
    for (const QString &to : message.to) {
        if (auto problem = emailAddressProblem(to))
            return QStringLiteral("Неверный адрес получателя «%1»: %2.").arg(to, *problem);
    }
    return std::nullopt;
}

struct ProgressRelay {
    const Progress *progress;
    qint64 estimatedTotal;
};

// libcurl streams a MIME message without telling its size, so the total is estimated from
// what base64 makes of the parts.
qint64 estimatedSize(const Message &message)
{
    qint64 size = 1024 + message.text.toUtf8().size() * 3;
    for (const Attachment &attachment : message.attachments)
        size += 256 + (attachment.content.size() + 2) / 3 * 4 * 78 / 76;
    return size;
}

int relayProgress(void *data, curl_off_t, curl_off_t, curl_off_t uploadTotal, curl_off_t uploaded)
{
    const auto *relay = static_cast<ProgressRelay *>(data);
    const qint64 total =
        uploadTotal > 0 ? uploadTotal : std::max<qint64>(relay->estimatedTotal, uploaded);
    return (*relay->progress)(uploaded, total) ? 0 : 1;
}

QByteArray serverUrl(const MailServer &server)
{
    const char *scheme = server.security == Security::Ssl ? "smtps://" : "smtp://";
    // The host name of the settings is the greeting's too.
    return scheme + server.host.toUtf8() + ':' + QByteArray::number(server.port);
}

} // namespace

SendResult send(const MailServer &server, const Message &message, const Progress &progress)
{
    if (auto problem = addressProblem(message, server))
        return {*problem};
    if (server.host.trimmed().isEmpty())
        return {QStringLiteral("Не указан сервер исходящей почты.")};

    initialiseCurlOnce();
    Curl curl(curl_easy_init());
    if (!curl)
        return {QStringLiteral("Не удалось подготовить отправку письма.")};
    CURL *c = curl.get();
    char detail[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, detail);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);

    const QByteArray url = serverUrl(server);
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_USE_SSL,
                     server.security == Security::None ? CURLUSESSL_NONE : CURLUSESSL_ALL);
    const QByteArray certificates = server.trustedCertificates.toLocal8Bit();
    if (!certificates.isEmpty())
        curl_easy_setopt(c, CURLOPT_CAINFO, certificates.constData());
    const QByteArray user = server.user.toUtf8();
    const QByteArray password = server.password.toUtf8();
    if (!user.isEmpty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
    }
    const long timeout = std::max(1, server.timeoutSeconds);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, timeout);
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, timeout);

    const QByteArray from = '<' + server.senderAddress.toLatin1() + '>';
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.constData());
    StringList recipients;
    for (const QString &to : message.to)
        recipients.append('<' + to.toLatin1() + '>');
    // The copy goes by the envelope only, so the recipients do not see it.
    if (server.copyToSender && !message.to.contains(server.senderAddress, Qt::CaseInsensitive))
        recipients.append(from);
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients.get());

    StringList headers;
    headers.append("From: " + mailbox(server.senderName, server.senderAddress));
    QByteArray to;
    for (const QString &address : message.to)
        to += (to.isEmpty() ? "" : ", ") + address.toLatin1();
    headers.append("To: " + to);
    headers.append("Subject: " + headerWords(message.subject));
    headers.append("Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1());
    const QByteArray domain = server.senderAddress.section(u'@', 1).toLatin1();
    headers.append("Message-ID: <" + QUuid::createUuid().toByteArray(QUuid::WithoutBraces) + '@' +
                   domain + '>');
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());

    Mime mime(curl_mime_init(c));
    curl_mimepart *text = curl_mime_addpart(mime.get());
    const QByteArray body = message.text.toUtf8();
    curl_mime_data(text, body.constData(), size_t(body.size()));
    curl_mime_type(text, "text/plain; charset=utf-8");
    curl_mime_encoder(text, "quoted-printable");
    for (const Attachment &attachment : message.attachments) {
        curl_mimepart *part = curl_mime_addpart(mime.get());
        curl_mime_data(part, attachment.content.constData(), size_t(attachment.content.size()));
        curl_mime_type(part, attachment.mimeType.constData());
        curl_mime_filename(part, headerWords(attachment.fileName).constData());
        curl_mime_encoder(part, "base64");
    }
    curl_easy_setopt(c, CURLOPT_MIMEPOST, mime.get());
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);

    ProgressRelay relay{&progress, estimatedSize(message)};
    if (progress) {
        curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, relayProgress);
        curl_easy_setopt(c, CURLOPT_XFERINFODATA, &relay);
        curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    }

    const CURLcode code = curl_easy_perform(c);
    // The handle goes before the lists and the MIME parts it points to.
    curl.reset();
    if (code == CURLE_OK)
        return {};
    return {sendFailure(code, QString::fromUtf8(detail), server),
            code == CURLE_ABORTED_BY_CALLBACK};
}

} // namespace mail
