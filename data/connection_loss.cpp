#include "connection_loss.h"

#include <ibase.h>

namespace connection_loss {

bool isLost(const DbError &error)
{
    return error.hasAnyEngineCode({isc_network_error, isc_net_read_err, isc_net_write_err,
                                   isc_conn_lost, isc_lost_db_connection, isc_att_shutdown,
                                   isc_shutdown});
}

DbError lost(const QString &engineText, std::vector<long> engineCodes, int systemError)
{
    return DbError(QStringLiteral("Связь с сервером базы данных потеряна: сервер остановлен или "
                                  "сеть недоступна.\nНезаписанные изменения не сохранены; всё, "
                                  "что было записано раньше, цело на сервере. Закройте окна и "
                                  "запустите программу снова, когда сервер будет доступен.\n\n") +
                       engineText,
                   std::move(engineCodes), systemError);
}

} // namespace connection_loss
