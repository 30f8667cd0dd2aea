#pragma once

#include <ibase.h>

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// One attachment to a service manager of the engine (the embedded one, or a server's), which
// runs backup, restore and validation inside the engine: the program never reads the data.
namespace zbackup {

// A service's request: the action and its parameters in the layout the engine expects.
class ServiceRequest {
public:
    explicit ServiceRequest(char action) { m_bytes.append(action); }
    ServiceRequest &text(char tag, const QString &value); // a file name or a path
    ServiceRequest &number(char tag, quint32 value);
    ServiceRequest &flag(char tag);
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// Each line the service writes; returning false asks the service to stop.
using LineHandler = std::function<bool(const QString &line)>;
// Each block of a backup the service streams to this computer; returning false stops it.
using BlockHandler = std::function<bool(const QByteArray &block)>;
// The next bytes, at most `wanted`, of the backup a restore reads from this computer; empty at
// its end.
using BlockSource = std::function<QByteArray(qint64 wanted)>;

class ServiceConnection {
public:
    ServiceConnection() = default;
    ~ServiceConnection();
    ServiceConnection(const ServiceConnection &) = delete;
    ServiceConnection &operator=(const ServiceConnection &) = delete;

    // Throws DbError when the service manager cannot be reached or refuses the user.
    void attach(const QString &serviceManager, const QString &user, const QString &password);
    // Starts the request and passes each line of the service's output to `onLine` until the
    // service ends. False when `onLine` asked to stop: the rest of the output is then read
    // without it until the service ends. Throws DbError with the engine's reason when the
    // service failed.
    bool run(const ServiceRequest &request, const LineHandler &onLine);
    // Starts a backup whose file is "stdout" and passes its blocks to `onBlock` until the
    // service ends. False when `onBlock` asked to stop: the connection is then detached, which
    // ends the service, since nothing reads its output any more. Throws DbError as run().
    bool receive(const ServiceRequest &request, const BlockHandler &onBlock);
    // Starts a restore whose file is "stdin", giving it what `source` reads whenever it asks,
    // and passes each line of its output to `onLine` as run(). False when `onLine` asked to
    // stop: the service is then given an early end of its file, which ends it.
    bool send(const ServiceRequest &request, const BlockSource &source, const LineHandler &onLine);

private:
    void start(const ServiceRequest &request);

    void detach();

    isc_svc_handle m_handle = 0;
};

} // namespace zbackup
