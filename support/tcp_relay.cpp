#include "tcp_relay.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <deque>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

void noDelay(int socket)
{
    const int on = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

bool sendAll(int socket, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t sent = send(socket, data, size, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= size_t(sent);
    }
    return true;
}

// Data read from one side, due to be passed on at `due`.
struct Piece {
    Clock::time_point due;
    std::vector<char> bytes;
};

// One client's connection and its connection to the server.
struct Pair {
    int client = -1;
    int server = -1;
    std::deque<Piece> toServer, toClient;
    bool answered = true; // the server spoke last: the client's next request is a new trip
    bool closed = false;
    ~Pair()
    {
        if (client >= 0)
            close(client);
        if (server >= 0)
            close(server);
    }
};

} // namespace

TcpRelay::TcpRelay(int serverPort) : m_serverPort(serverPort)
{
    m_listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (m_listener < 0 || bind(m_listener, reinterpret_cast<sockaddr *>(&address), length) != 0 ||
        listen(m_listener, 16) != 0 ||
        getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        throw std::runtime_error("the relay cannot listen on 127.0.0.1");
    m_port = ntohs(address.sin_port);
    int wake[2];
    if (pipe(wake) != 0)
        throw std::runtime_error("the relay cannot make its pipe");
    m_wakeRead = wake[0];
    m_wakeWrite = wake[1];
    m_thread = std::thread([this] { run(); });
}

TcpRelay::~TcpRelay()
{
    cut();
    m_thread.join();
    close(m_listener);
    close(m_wakeRead);
    close(m_wakeWrite);
}

void TcpRelay::cut()
{
    if (m_cut.exchange(true))
        return;
    const char wake = 1;
    (void)!write(m_wakeWrite, &wake, 1);
}

void TcpRelay::run()
{
    std::vector<std::unique_ptr<Pair>> pairs;
    char buffer[65536];
    for (;;) {
        std::vector<pollfd> watched{{m_wakeRead, POLLIN, 0}, {m_listener, POLLIN, 0}};
        for (const auto &pair : pairs) {
            watched.push_back({pair->client, POLLIN, 0});
            watched.push_back({pair->server, POLLIN, 0});
        }
        // Sleep until the next held piece is due, else until something arrives.
        int timeoutMs = -1;
        const auto now = Clock::now();
        for (const auto &pair : pairs) {
            for (const auto *queue : {&pair->toServer, &pair->toClient}) {
                if (queue->empty())
                    continue;
                const auto wait =
                    std::chrono::ceil<std::chrono::milliseconds>(queue->front().due - now).count();
                const int ms = int(std::max<long long>(wait, 0));
                timeoutMs = timeoutMs < 0 ? ms : std::min(timeoutMs, ms);
            }
        }
        if (poll(watched.data(), watched.size(), timeoutMs) < 0)
            continue;
        if (watched[0].revents) {
            // A stopped server: every connection ends at once.
            for (const auto &pair : pairs)
                shutdown(pair->client, SHUT_RDWR);
            return;
        }
        if (watched[1].revents & POLLIN) {
            const int client = accept(m_listener, nullptr, nullptr);
            if (client >= 0) {
                auto pair = std::make_unique<Pair>();
                pair->client = client;
                pair->server = socket(AF_INET, SOCK_STREAM, 0);
                const sockaddr_in server = loopback(m_serverPort);
                if (connect(pair->server, reinterpret_cast<const sockaddr *>(&server),
                            sizeof server) == 0) {
                    noDelay(pair->client);
                    noDelay(pair->server);
                    pairs.push_back(std::move(pair));
                }
            }
        }
        const auto delay = std::chrono::microseconds(m_halfDelayUs.load());
        for (size_t i = 0; i < pairs.size(); ++i) {
            Pair &pair = *pairs[i];
            const pollfd &fromClient = watched[2 + 2 * i];
            const pollfd &fromServer = watched[3 + 2 * i];
            if (fromClient.revents) {
                const ssize_t got = recv(pair.client, buffer, sizeof buffer, 0);
                if (got <= 0) {
                    pair.closed = true;
                } else {
                    if (pair.answered)
                        m_roundTrips.fetch_add(1);
                    pair.answered = false;
                    pair.toServer.push_back({Clock::now() + delay, {buffer, buffer + got}});
                }
            }
            if (fromServer.revents) {
                const ssize_t got = recv(pair.server, buffer, sizeof buffer, 0);
                if (got <= 0) {
                    pair.closed = true;
                } else {
                    pair.answered = true;
                    pair.toClient.push_back({Clock::now() + delay, {buffer, buffer + got}});
                }
            }
        }
        const auto due = Clock::now();
        for (auto &pair : pairs) {
            for (auto [queue, to] : {std::pair{&pair->toServer, pair->server},
                                     std::pair{&pair->toClient, pair->client}}) {
                while (!queue->empty() && queue->front().due <= due) {
                    if (!sendAll(to, queue->front().bytes.data(), queue->front().bytes.size()))
                        pair->closed = true;
                    queue->pop_front();
                }
            }
        }
        std::erase_if(pairs, [](const auto &pair) { return pair->closed; });
    }
}
