#include "connection_parameters.h"

#include "network_waits.h"
#include "server_address.h"
#include "server_location.h"

#include <ibase.h>

#include <optional>

namespace database {

namespace {

// A server that cannot be reached must not keep the program waiting long.
constexpr int kConnectTimeoutSeconds = 5;

void appendText(QByteArray &block, char tag, const QByteArray &value)
{
    block.append(tag);
    block.append(char(value.size()));
    block.append(value);
}

// A number in a parameter block: four bytes, the lowest first.
void appendNumber(QByteArray &block, char tag, quint32 value)
{
    block.append(tag);
    block.append(char(4));
    for (int shift = 0; shift < 32; shift += 8)
        block.append(char((value >> shift) & 0xff));
}

} // namespace

QByteArray connectionParameters(ParameterBlock kind, const QString &location, const QString &user,
                                const QString &password, const QString &role)
{
    const bool service = kind == ParameterBlock::Service;
    QByteArray block;
    if (service) {
        block.append(char(isc_spb_version));
        block.append(char(isc_spb_current_version));
    } else {
        block.append(char(isc_dpb_version1));
    }
    // The same tags in both blocks.
    appendText(block, char(isc_dpb_user_name), user.toUtf8());
    appendText(block, char(isc_dpb_password), password.toUtf8());
    if (!service && !role.isEmpty())
        appendText(block, char(isc_dpb_sql_role_name), role.toUtf8());
    if (isServerLocation(location)) {
        // Ask for wire encryption, so that a server that requires it is served too and the
        // password and documents do not cross the network readable.
        appendText(block, char(service ? isc_spb_config : isc_dpb_config),
                   QByteArrayLiteral("WireCrypt = Enabled"));
        appendNumber(block, char(isc_dpb_connect_timeout), kConnectTimeoutSeconds);
    }
    return block;
}

void limitServerWaits(const QString &location)
{
    if (const std::optional<ServerAddress> server = parseServerAddress(location))
        limitNetworkWaits(server->port);
}

} // namespace database
