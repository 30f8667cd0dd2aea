#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

// A TCP relay on 127.0.0.1 in front of the database server, on a port of its own, for the tests
// and the benchmarks. It counts the network round trips of the connections made through it; it
// can hold every piece of data for a while in each direction, so that a round trip takes as
// long as over an office network or a VPN; and it can take the server away from the program
// (cut) without touching the shared server. The delay is the relay's own, so no other traffic
// of the machine is slowed.
class TcpRelay {
public:
    // Relays to the server at 127.0.0.1:serverPort; throws std::runtime_error when it cannot
    // listen.
    explicit TcpRelay(int serverPort = 3050);
    ~TcpRelay();
    TcpRelay(const TcpRelay &) = delete;
    TcpRelay &operator=(const TcpRelay &) = delete;

    int port() const { return m_port; }

    // Time added to each round trip, half on the way to the server and half on the way back.
    void setRoundTripDelayMs(int milliseconds) { m_halfDelayUs = milliseconds * 500; }

    // The client's requests so far that followed an answer of the server: each is one wait
    // for the network.
    std::uint64_t roundTrips() const { return m_roundTrips.load(); }

    // Closes every relayed connection and stops accepting new ones, as a server that stops.
    void cut();

private:
    void run();

    int m_listener = -1;
    int m_port = 0;
    int m_serverPort;
    int m_wakeRead = -1, m_wakeWrite = -1;
    std::atomic<int> m_halfDelayUs{0};
    std::atomic<std::uint64_t> m_roundTrips{0};
    std::atomic<bool> m_cut{false};
    std::thread m_thread;
};
