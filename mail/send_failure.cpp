#include "send_failure.h"

namespace mail {

QString sendFailure(CURLcode code, const QString &detail, const MailServer &server)
{
    const QString host = server.host;
    switch (code) {
    case CURLE_URL_MALFORMAT:
        return QStringLiteral("Неверное имя сервера исходящей почты «%1».").arg(host);
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("Нет такого сервера: «%1». Проверьте имя сервера исходящей почты и "
                              "подключение к интернету.")
            .arg(host);
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("Сервер «%1» не принимает соединения на порту %2. Проверьте порт "
                              "и защиту соединения.")
            .arg(host)
            .arg(server.port);
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("Сервер «%1» не ответил за %2 с. Проверьте имя сервера, порт и "
                              "защиту соединения.")
            .arg(host)
            .arg(server.timeoutSeconds);
    case CURLE_LOGIN_DENIED:
        return QStringLiteral("Сервер «%1» отказал во входе: неверное имя пользователя или "
                              "пароль.")
            .arg(host);
    case CURLE_PEER_FAILED_VERIFICATION:
        return QStringLiteral("Сертификат сервера «%1» не заслуживает доверия: нельзя убедиться, "
                              "что это тот самый сервер. Письмо не отправлено.")
            .arg(host);
    case CURLE_SSL_CONNECT_ERROR:
        return QStringLiteral("Не удалось установить защищенное соединение с сервером «%1». "
                              "Возможно, выбрана не та защита соединения.")
            .arg(host);
    case CURLE_USE_SSL_FAILED:
        return QStringLiteral("Сервер «%1» не поддерживает STARTTLS. Выберите другую защиту "
                              "соединения.")
            .arg(host);
    case CURLE_ABORTED_BY_CALLBACK:
        return QStringLiteral("Отправка отменена.");
    case CURLE_FILESIZE_EXCEEDED:
        return QStringLiteral("Письмо больше, чем принимает сервер «%1».").arg(host);
    case CURLE_SEND_ERROR:
        // libcurl also says so when the server refuses the sender, a recipient or the message.
        return QStringLiteral("Сервер «%1» не принял письмо (%2).").arg(host, detail);
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
        return QStringLiteral("Соединение с сервером «%1» прервалось (%2).").arg(host, detail);
    default:
        return QStringLiteral("Письмо не отправлено: %1 (%2).")
            .arg(QString::fromUtf8(curl_easy_strerror(code)), detail);
    }
}

} // namespace mail
