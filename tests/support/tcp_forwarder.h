#pragma once

#include <atomic>
#include <thread>
#include <vector>

// A TCP relay between the program and the tests' Firebird server, on a port of its own, so a
// test can take the server away from one program (cut) without touching the shared server.
class TcpForwarder {
public:
    explicit TcpForwarder(int targetPort);
    ~TcpForwarder();
    TcpForwarder(const TcpForwarder &) = delete;
    TcpForwarder &operator=(const TcpForwarder &) = delete;

    int port() const { return m_port; }
    // Closes every relayed connection and stops accepting new ones, as a server that stops.
    void cut();

private:
    void relay();

    int m_targetPort;
    int m_listener = -1;
    int m_port = 0;
    int m_wake[2] = {-1, -1};
    std::atomic<bool> m_cut{false};
    std::thread m_thread;
};
