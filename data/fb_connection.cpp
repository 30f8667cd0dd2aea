#include "fb_connection.h"

#include "access_refusal.h"
#include "conflict_errors.h"
#include "connection_loss.h"
#include "connection_parameters.h"
#include "db_error.h"
#include "engine_calls.h"
#include "engine_lock_folder.h"
#include "kz1048.h"

#include <QFile>
#include <QUtf8StringView>

#include <algorithm>
#include <optional>

QString engineText(std::string_view bytes)
{
    // Single-byte Cyrillic text is almost never valid UTF-8; plain ASCII is both.
    const QUtf8StringView utf8(bytes.data(), qsizetype(bytes.size()));
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return !ascii && utf8.isValidUtf8() ? utf8.toString() : kz1048::decode(bytes);
}

void throwOnFbError(const ISC_STATUS *status, const QString &context)
{
    if (!(status[0] == 1 && status[1] != 0))
        return;
    QStringList parts;
    char buffer[1024];
    const ISC_STATUS *cursor = status;
    while (fb_interpret(buffer, sizeof buffer, &cursor) > 0)
        parts << engineText(buffer);
    QString message = parts.join(QLatin1Char('\n'));
    if (!context.isEmpty())
        message = context + QLatin1Char('\n') + message;
    // The codes tell the cases apart where the wording would not.
    std::vector<long> codes;
    int systemError = 0;
    for (const ISC_STATUS *item = status; *item != isc_arg_end;) {
        const ISC_STATUS kind = item[0];
        if (kind == isc_arg_gds)
            codes.push_back(long(item[1]));
        else if (kind == isc_arg_unix && systemError == 0)
            systemError = int(item[1]);
        item += kind == isc_arg_cstring ? 3 : 2;
    }
    // With several users on one database a row may be held by another user's unfinished change;
    // the engine's words ("lock conflict on no wait transaction") tell a user nothing to do.
    DbError error(message, std::move(codes), systemError);
    if (conflict::isConflict(error))
        throw conflict::busyElsewhere(message, error.engineCodes());
    if (access_refusal::isRefused(error))
        throw access_refusal::refused(message, error.engineCodes());
    if (connection_loss::isLost(error))
        throw connection_loss::lost(message, error.engineCodes(), systemError);
    throw error;
}

void executeCommitted(FbConnection &connection, const QString &sql)
{
    const std::optional<QByteArray> text = kz1048::encode(sql);
    if (!text)
        throw DbError(
            QStringLiteral("Запрос содержит знаки, которых нет в кодировке базы данных:\n%1")
                .arg(sql));
    FbTransaction transaction(connection);
    transaction.start();
    ISC_STATUS_ARRAY status;
    isc_dsql_execute_immediate(status, connection.handle(), transaction.handle(), 0,
                               text->constData(), 1, nullptr);
    throwOnFbError(status, sql);
    transaction.commit();
}

void prepareEmbeddedEngine()
{
    static const bool done = [] {
        const QString folder = engine_lock::chooseFolder(engine_lock::currentPlaces());
        // With no folder of our own the engine keeps its default, and says so if it fails.
        if (!folder.isEmpty())
            qputenv("FIREBIRD_LOCK", QFile::encodeName(folder));
        return true;
    }();
    (void)done;
}

FbConnection::~FbConnection()
{
    if (m_handle) {
        ISC_STATUS_ARRAY status;
        isc_detach_database(status, &m_handle);
    }
}

void FbConnection::attach(const QString &path, const QString &user, const QString &password,
                          const QString &role)
{
    prepareEmbeddedEngine();
    const QByteArray dpb = database::connectionParameters(database::ParameterBlock::Database, path,
                                                          user, password, role);
    const QByteArray file = QFile::encodeName(path);
    ISC_STATUS_ARRAY status;
    isc_attach_database(status, 0, file.constData(), &m_handle, short(dpb.size()), dpb.constData());
    if (status[0] == 1 && status[1]) {
        m_handle = 0;
        throwOnFbError(status);
    }
    database::limitServerWaits(path);
}

void FbConnection::detach()
{
    if (!m_handle)
        return;
    ISC_STATUS_ARRAY status;
    isc_detach_database(status, &m_handle);
    m_handle = 0;
    throwOnFbError(status);
}

void FbConnection::create(const QString &path, const QString &user, const QString &password)
{
    // On a server the client's own default asks for wire encryption as well.
    prepareEmbeddedEngine();
    auto quoted = [](QString s) { return s.replace(QLatin1Char('\''), QStringLiteral("''")); };
    const QByteArray sql = QFile::encodeName(
        QStringLiteral("CREATE DATABASE '%1' USER '%2' PASSWORD '%3' PAGE_SIZE 8192")
            .arg(quoted(path), quoted(user), quoted(password)));
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    ISC_STATUS_ARRAY status;
    isc_dsql_execute_immediate(status, &db, &tr, 0, sql.constData(), 1, nullptr);
    throwOnFbError(status);
    isc_detach_database(status, &db);
    throwOnFbError(status);
}

void FbConnection::drop()
{
    if (!m_handle)
        return;
    ISC_STATUS_ARRAY status;
    isc_drop_database(status, &m_handle);
    throwOnFbError(status);
    m_handle = 0;
}

FbTransaction::~FbTransaction()
{
    // Leaving without a commit discards the work: the program commits explicitly
    // whenever its work must last.
    if (m_handle) {
        ISC_STATUS_ARRAY status;
        isc_rollback_transaction(status, &m_handle);
    }
}

void FbTransaction::start()
{
    if (m_handle)
        return;
    static const char tpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed,
                               isc_tpb_rec_version, isc_tpb_nowait};
    ISC_STATUS_ARRAY status;
    engine_calls::noteTransaction();
    isc_start_transaction(status, &m_handle, 1, m_connection.handle(), short(sizeof tpb), tpb);
    if (status[0] == 1 && status[1]) {
        m_handle = 0;
        throwOnFbError(status);
    }
}

void FbTransaction::commit()
{
    if (!m_handle)
        return;
    ISC_STATUS_ARRAY status;
    engine_calls::noteTransaction();
    isc_commit_transaction(status, &m_handle);
    throwOnFbError(status);
    m_handle = 0;
}
