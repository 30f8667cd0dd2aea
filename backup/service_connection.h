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

private:
    void detach();

    isc_svc_handle m_handle = 0;
};

} // namespace zbackup
