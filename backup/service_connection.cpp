#include "service_connection.h"

#include "data/connection_parameters.h"
#include "data/db_error.h"
#include "data/fb_connection.h"

#include <QFile>

namespace zbackup {

ServiceRequest &ServiceRequest::text(char tag, const QString &value)
{
    const QByteArray bytes = QFile::encodeName(value);
    m_bytes.append(tag);
    m_bytes.append(char(bytes.size() & 0xff));
    m_bytes.append(char((bytes.size() >> 8) & 0xff));
    m_bytes.append(bytes);
    return *this;
}

ServiceRequest &ServiceRequest::number(char tag, quint32 value)
{
    m_bytes.append(tag);
    for (int shift = 0; shift < 32; shift += 8)
        m_bytes.append(char((value >> shift) & 0xff));
    return *this;
}

ServiceRequest &ServiceRequest::flag(char tag)
{
    m_bytes.append(tag);
    return *this;
}

ServiceConnection::~ServiceConnection()
{
    detach();
}

void ServiceConnection::attach(const QString &serviceManager, const QString &user,
                               const QString &password)
{
    prepareEmbeddedEngine();
    const QByteArray spb = database::connectionParameters(database::ParameterBlock::Service,
                                                          serviceManager, user, password);
    const QByteArray name = serviceManager.toLatin1();
    ISC_STATUS_ARRAY status;
    isc_service_attach(status, 0, name.constData(), &m_handle, short(spb.size()), spb.constData());
    if (status[0] == 1 && status[1]) {
        m_handle = 0;
        throwOnFbError(status);
    }
    database::limitServerWaits(serviceManager);
}

void ServiceConnection::detach()
{
    if (!m_handle)
        return;
    ISC_STATUS_ARRAY status;
    isc_service_detach(status, &m_handle);
    m_handle = 0;
}

void ServiceConnection::start(const ServiceRequest &request)
{
    ISC_STATUS_ARRAY status;
    isc_service_start(status, &m_handle, nullptr, short(request.bytes().size()),
                      request.bytes().constData());
    throwOnFbError(status);
}

bool ServiceConnection::run(const ServiceRequest &request, const LineHandler &onLine)
{
    start(request);
    ISC_STATUS_ARRAY status;
    const char wanted[] = {isc_info_svc_line};
    char buffer[4096];
    // The engine has no way to stop a service: one left behind by a detach goes on writing its
    // file afterwards. So a stopped service is read to its end, and its file removed then.
    bool stopping = false;
    for (;;) {
        isc_service_query(status, &m_handle, nullptr, 0, nullptr, short(sizeof wanted), wanted,
                          short(sizeof buffer), buffer);
        // A failed service reports its error here, with the output read so far.
        if (!stopping)
            throwOnFbError(status);
        else if (status[0] == 1 && status[1])
            return false;
        if (buffer[0] != isc_info_svc_line)
            return !stopping;
        const int length = int(isc_vax_integer(buffer + 1, 2));
        if (length == 0)
            return !stopping; // the service has ended
        const QString line = engineText(std::string_view(buffer + 3, std::size_t(length)));
        if (!stopping && onLine && !onLine(line))
            stopping = true;
    }
}

namespace {

// The largest block a query carries either way: its buffers' lengths are 16-bit.
constexpr int kBlockSize = 32'000;

} // namespace

bool ServiceConnection::receive(const ServiceRequest &request, const BlockHandler &onBlock)
{
    start(request);
    ISC_STATUS_ARRAY status;
    const char wanted[] = {isc_info_svc_to_eof};
    QByteArray buffer(kBlockSize + 16, '\0');
    for (;;) {
        isc_service_query(status, &m_handle, nullptr, 0, nullptr, short(sizeof wanted), wanted,
                          short(buffer.size()), buffer.data());
        throwOnFbError(status);
        const char *item = buffer.constData();
        if (*item != isc_info_svc_to_eof)
            return true;
        const int length = int(isc_vax_integer(item + 1, 2));
        // An empty block with nothing after it: the service has ended. (Followed by "not
        // ready", the service is still working.)
        if (length == 0 && item[3] == isc_info_end)
            return true;
        if (length > 0 && !onBlock(QByteArray(item + 3, length))) {
            detach();
            return false;
        }
    }
}

bool ServiceConnection::send(const ServiceRequest &request, const BlockSource &source,
                             const LineHandler &onLine)
{
    start(request);
    ISC_STATUS_ARRAY status;
    const char wanted[] = {isc_info_svc_stdin, isc_info_svc_line};
    QByteArray answer(4096, '\0');
    qint64 requested = 0; // what the service is ready to read now
    bool stopping = false;
    for (;;) {
        QByteArray given;
        if (requested > 0) {
            const QByteArray block =
                stopping ? QByteArray() : source(std::min<qint64>(requested, kBlockSize));
            given.append(char(isc_info_svc_line));
            given.append(char(block.size() & 0xff));
            given.append(char((block.size() >> 8) & 0xff));
            given.append(block);
        }
        isc_service_query(status, &m_handle, nullptr, short(given.size()), given.constData(),
                          short(sizeof wanted), wanted, short(answer.size()), answer.data());
        if (!stopping)
            throwOnFbError(status);
        else if (status[0] == 1 && status[1])
            return false;
        requested = 0;
        bool lineRead = false;
        const char *const end = answer.constData() + answer.size();
        for (const char *item = answer.constData(); item + 5 <= end && *item != isc_info_end;) {
            if (*item == isc_info_svc_stdin) {
                requested = isc_vax_integer(item + 1, 4);
                item += 5;
            } else if (*item == isc_info_svc_line) {
                const int length = int(isc_vax_integer(item + 1, 2));
                if (item + 3 + length > end)
                    break;
                if (length > 0) {
                    lineRead = true;
                    const QString line =
                        engineText(std::string_view(item + 3, std::size_t(length)));
                    if (!stopping && onLine && !onLine(line))
                        stopping = true;
                }
                item += 3 + length;
            } else if (*item == isc_info_data_not_ready || *item == isc_info_truncated) {
                ++item;
            } else {
                break;
            }
        }
        // Neither asking for more nor saying anything: the service has ended.
        if (requested == 0 && !lineRead)
            return !stopping;
    }
}

} // namespace zbackup
