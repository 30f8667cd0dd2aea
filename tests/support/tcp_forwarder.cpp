#include "tcp_forwarder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <stdexcept>
#include <utility>

namespace {

sockaddr_in loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

int connectTo(int port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(port);
    if (::connect(s, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        ::close(s);
        return -1;
    }
    return s;
}

// Copies what one side sent to the other; false when that side has closed.
bool pass(int from, int to)
{
    std::array<char, 16384> buffer;
    const ssize_t n = ::read(from, buffer.data(), buffer.size());
    if (n <= 0)
        return false;
    for (ssize_t sent = 0; sent < n;) {
        const ssize_t w = ::write(to, buffer.data() + sent, size_t(n - sent));
        if (w <= 0)
            return false;
        sent += w;
    }
    return true;
}

} // namespace

TcpForwarder::TcpForwarder(int targetPort) : m_targetPort(targetPort)
{
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::listen(m_listener, 8) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0 ||
        ::pipe(m_wake) != 0)
        throw std::runtime_error("the forwarder cannot listen");
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { relay(); });
}

TcpForwarder::~TcpForwarder()
{
    cut();
    m_thread.join();
    ::close(m_listener);
    ::close(m_wake[0]);
    ::close(m_wake[1]);
}

void TcpForwarder::cut()
{
    if (m_cut.exchange(true))
        return;
    const char wake = 1;
    (void)!::write(m_wake[1], &wake, 1);
}

void TcpForwarder::relay()
{
    std::vector<std::pair<int, int>> links; // client, server
    while (!m_cut) {
        std::vector<pollfd> watched{{m_wake[0], POLLIN, 0}, {m_listener, POLLIN, 0}};
        for (const auto &[client, server] : links) {
            watched.push_back({client, POLLIN, 0});
            watched.push_back({server, POLLIN, 0});
        }
        if (::poll(watched.data(), watched.size(), -1) < 0 || m_cut)
            break;
        if (watched[1].revents & POLLIN) {
            const int client = ::accept(m_listener, nullptr, nullptr);
            const int server = client < 0 ? -1 : connectTo(m_targetPort);
            if (server < 0 && client >= 0)
                ::close(client);
            else if (client >= 0)
                links.emplace_back(client, server);
        }
        for (size_t i = 0, w = 2; i < links.size(); ++i, w += 2) {
            auto [client, server] = links[i];
            const bool open =
                (!(watched[w].revents & (POLLIN | POLLHUP | POLLERR)) || pass(client, server)) &&
                (!(watched[w + 1].revents & (POLLIN | POLLHUP | POLLERR)) || pass(server, client));
            if (!open) {
                ::close(client);
                ::close(server);
                links[i] = {-1, -1};
            }
        }
        std::erase(links, std::pair<int, int>{-1, -1});
    }
    // A stopped server: every connection ends at once.
    for (const auto &[client, server] : links) {
        ::shutdown(client, SHUT_RDWR);
        ::close(client);
        ::close(server);
    }
}
