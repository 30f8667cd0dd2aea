#include "network_waits.h"

#include <QDir>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace {

constexpr int kIdleSeconds = 5;
constexpr int kProbeIntervalSeconds = 2;
constexpr int kProbes = 3;
constexpr unsigned kUnansweredMs = 10000;

int peerPort(int fd)
{
    sockaddr_storage peer{};
    socklen_t length = sizeof peer;
    if (::getpeername(fd, reinterpret_cast<sockaddr *>(&peer), &length) != 0)
        return -1;
    if (peer.ss_family == AF_INET)
        return ntohs(reinterpret_cast<sockaddr_in &>(peer).sin_port);
    if (peer.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<sockaddr_in6 &>(peer).sin6_port);
    return -1;
}

} // namespace

void limitNetworkWaits(int serverPort)
{
    // The library keeps its sockets to itself; they are found among the process's descriptors.
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QString &name : descriptors.entryList(QDir::Files | QDir::System)) {
        bool isNumber = false;
        const int fd = name.toInt(&isNumber);
        if (!isNumber || peerPort(fd) != serverPort)
            continue;
        const int on = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
        ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &kIdleSeconds, sizeof kIdleSeconds);
        ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &kProbeIntervalSeconds,
                     sizeof kProbeIntervalSeconds);
        ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &kProbes, sizeof kProbes);
        ::setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &kUnansweredMs, sizeof kUnansweredMs);
    }
}
