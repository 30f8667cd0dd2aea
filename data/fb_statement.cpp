#include "fb_statement.h"

#include "db_error.h"
#include "engine_calls.h"
#include "kz1048.h"
#include "sql_params.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr unsigned short kDialect = 1;

int baseType(const XSQLVAR &var)
{
    return var.sqltype & ~1;
}

// The engine's buffers carry no alignment promise.
template <typename T> T load(const char *data)
{
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

} // namespace

// An XSQLDA with a buffer and a null indicator for each variable.
struct FbStatement::Area {
    std::vector<char> descriptor;
    std::vector<std::vector<char>> buffers;
    std::vector<short> nulls;

    explicit Area(int count) { resize(count); }
    void resize(int count)
    {
        descriptor.assign(XSQLDA_LENGTH(std::max(count, 1)), 0);
        sqlda()->version = SQLDA_VERSION1;
        sqlda()->sqln = short(std::max(count, 1));
    }
    XSQLDA *sqlda() { return reinterpret_cast<XSQLDA *>(descriptor.data()); }
    const XSQLDA *sqlda() const { return reinterpret_cast<const XSQLDA *>(descriptor.data()); }
    int count() const { return sqlda()->sqld; }
    XSQLVAR &var(int i) { return sqlda()->sqlvar[i]; }
    const XSQLVAR &var(int i) const { return sqlda()->sqlvar[i]; }

    // Gives every variable storage of its declared size, coercing the types this program
    // does not read natively into ones it does.
    void allocate()
    {
        buffers.assign(size_t(count()), {});
        nulls.assign(size_t(count()), 0);
        for (int i = 0; i < count(); ++i) {
            XSQLVAR &v = var(i);
            const int nullable = v.sqltype & 1;
            switch (baseType(v)) {
            case SQL_SHORT:
            case SQL_LONG:
            case SQL_INT64:
                if (v.sqlscale != 0) {
                    v.sqltype = short(SQL_DOUBLE | nullable);
                    v.sqllen = sizeof(double);
                    v.sqlscale = 0;
                }
                break;
            case SQL_FLOAT:
            case SQL_D_FLOAT:
                v.sqltype = short(SQL_DOUBLE | nullable);
                v.sqllen = sizeof(double);
                break;
            case SQL_TYPE_DATE:
            case SQL_TYPE_TIME:
                v.sqltype = short(SQL_TIMESTAMP | nullable);
                v.sqllen = sizeof(ISC_TIMESTAMP);
                break;
            default:
                break;
            }
            size_t size = size_t(v.sqllen);
            if (baseType(v) == SQL_VARYING)
                size += sizeof(short);
            buffers[size_t(i)].assign(std::max<size_t>(size, 8), 0);
            v.sqldata = buffers[size_t(i)].data();
            v.sqlind = &nulls[size_t(i)];
        }
    }
};

FbStatement::FbStatement(FbTransaction &transaction) : m_transaction(transaction) {}

FbStatement::~FbStatement()
{
    release();
}

void FbStatement::release()
{
    if (m_handle) {
        ISC_STATUS_ARRAY status;
        isc_dsql_free_statement(status, &m_handle, DSQL_drop);
        m_handle = 0;
    }
    m_cursorOpen = false;
}

void FbStatement::prepare(const QString &sql)
{
    release();
    const PositionalSql positional = toPositionalSql(sql);
    const auto text = kz1048::encode(positional.sql);
    if (!text)
        throw DbError(
            QStringLiteral("Текст запроса содержит символы, недопустимые в базе данных: %1")
                .arg(kz1048::unencodable(positional.sql)));
    m_sql = sql;
    m_parameterNames = positional.parameterNames;

    ISC_STATUS_ARRAY status;
    isc_dsql_allocate_statement(status, m_transaction.connection().handle(), &m_handle);
    throwOnFbError(status);

    m_output = std::make_unique<Area>(32);
    engine_calls::notePrepared();
    isc_dsql_prepare(status, m_transaction.handle(), &m_handle, 0, text->constData(), kDialect,
                     m_output->sqlda());
    if (status[0] == 1 && status[1]) {
        QString context = sql;
        release();
        throwOnFbError(status, context);
    }
    if (m_output->count() > m_output->sqlda()->sqln) {
        m_output->resize(m_output->count());
        isc_dsql_describe(status, &m_handle, kDialect, m_output->sqlda());
        throwOnFbError(status);
    }
    m_output->allocate();

    m_input = std::make_unique<Area>(std::max<int>(int(m_parameterNames.size()), 1));
    isc_dsql_describe_bind(status, &m_handle, kDialect, m_input->sqlda());
    throwOnFbError(status);
    if (m_input->count() > m_input->sqlda()->sqln) {
        m_input->resize(m_input->count());
        isc_dsql_describe_bind(status, &m_handle, kDialect, m_input->sqlda());
        throwOnFbError(status);
    }
    m_input->allocate();
    for (int i = 0; i < m_input->count(); ++i) {
        XSQLVAR &v = m_input->var(i);
        v.sqltype = short(v.sqltype | 1);
        m_input->nulls[size_t(i)] = -1;
    }
}

void FbStatement::setParameter(const QString &name, const QVariant &value)
{
    bool found = false;
    for (int i = 0; i < m_parameterNames.size(); ++i) {
        if (m_parameterNames[i].compare(name, Qt::CaseInsensitive) == 0) {
            setParameter(i, value);
            found = true;
        }
    }
    if (!found)
        throw DbError(QStringLiteral("Параметр %1 не найден").arg(name));
}

void FbStatement::setParameter(int index, const QVariant &value)
{
    if (index < 0 || index >= m_input->count())
        throw DbError(QStringLiteral("Параметр №%1 не найден").arg(index + 1));
    XSQLVAR &v = m_input->var(index);
    std::vector<char> &buffer = m_input->buffers[size_t(index)];
    short &null = m_input->nulls[size_t(index)];
    const QString name = index < m_parameterNames.size() ? m_parameterNames[index] : QString();
    if (value.isNull()) {
        null = -1;
        return;
    }
    const auto notConvertible = [&] {
        return DbError(QStringLiteral("Значение \"%1\" не подходит для параметра %2")
                           .arg(value.toString(), name));
    };
    switch (baseType(v)) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64: {
        qint64 number;
        if (value.typeId() == QMetaType::Double) {
            number = qint64(std::llround(value.toDouble()));
        } else {
            bool ok = false;
            number = value.toLongLong(&ok);
            if (!ok)
                throw notConvertible();
        }
        v.sqltype = short(SQL_INT64 | 1);
        v.sqllen = sizeof(qint64);
        v.sqlscale = 0;
        buffer.resize(8);
        std::memcpy(buffer.data(), &number, sizeof number);
        break;
    }
    case SQL_DOUBLE: {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok)
            throw notConvertible();
        std::memcpy(buffer.data(), &number, sizeof number);
        break;
    }
    case SQL_TIMESTAMP: {
        const QDateTime dt = value.toDateTime();
        if (!dt.isValid())
            throw notConvertible();
        ISC_TIMESTAMP ts;
        qint32 date;
        quint32 time;
        Row::toFbTimestamp(dt, date, time);
        ts.timestamp_date = date;
        ts.timestamp_time = time;
        std::memcpy(buffer.data(), &ts, sizeof ts);
        break;
    }
    case SQL_BLOB: {
        const ISC_QUAD id = writeBlob(value.toByteArray());
        std::memcpy(buffer.data(), &id, sizeof id);
        break;
    }
    default: {
        // Text (and anything else the engine can convert from text) goes as CHAR of its
        // own length, so a value longer than the column is refused by the engine rather
        // than cut here.
        const QString text = value.typeId() == QMetaType::Double
                                 ? QString::number(value.toDouble(), 'g', 17)
                                 : value.toString();
        const auto bytes = kz1048::encode(text);
        if (!bytes)
            throw DbError(
                QStringLiteral("Текст содержит символы, которые нельзя сохранить в базе данных: %1")
                    .arg(kz1048::unencodable(text)));
        buffer.assign(size_t(std::max<qsizetype>(bytes->size(), 1)), 0);
        std::memcpy(buffer.data(), bytes->constData(), size_t(bytes->size()));
        v.sqltype = short(SQL_TEXT | 1);
        v.sqllen = short(bytes->size());
        v.sqlsubtype = 0;
        if (bytes->size() > 32767)
            throw DbError(QStringLiteral("Слишком длинный текст для параметра %1").arg(name));
        break;
    }
    }
    v.sqldata = buffer.data();
    null = 0;
}

void FbStatement::execute()
{
    if (!m_handle)
        throw DbError(QStringLiteral("Запрос не подготовлен"));
    closeCursor();
    ISC_STATUS_ARRAY status;
    engine_calls::noteExecuted();
    isc_dsql_execute(status, m_transaction.handle(), &m_handle, kDialect,
                     m_input->count() > 0 ? m_input->sqlda() : nullptr);
    throwOnFbError(status);
    m_cursorOpen = m_output->count() > 0;
}

bool FbStatement::fetch()
{
    if (!m_cursorOpen)
        return false;
    ISC_STATUS_ARRAY status;
    engine_calls::noteFetched();
    const ISC_STATUS result = isc_dsql_fetch(status, &m_handle, kDialect, m_output->sqlda());
    if (result == 100) {
        closeCursor();
        return false;
    }
    throwOnFbError(status);
    return true;
}

void FbStatement::closeCursor()
{
    if (!m_cursorOpen)
        return;
    m_cursorOpen = false;
    ISC_STATUS_ARRAY status;
    // Closing fails harmlessly when a commit has already closed the cursor.
    isc_dsql_free_statement(status, &m_handle, DSQL_close);
}

int FbStatement::columnCount() const
{
    return m_output ? m_output->count() : 0;
}

QString FbStatement::columnName(int column) const
{
    const XSQLVAR &v = m_output->var(column);
    return kz1048::decode(std::string_view(v.aliasname, size_t(v.aliasname_length)));
}

FieldType FbStatement::columnType(int column) const
{
    switch (baseType(m_output->var(column))) {
    case SQL_SHORT:
        return FieldType::SmallInt;
    case SQL_LONG:
    case SQL_INT64:
        return FieldType::Integer;
    case SQL_DOUBLE:
        return FieldType::Float;
    case SQL_TIMESTAMP:
        return FieldType::DateTime;
    default:
        return FieldType::Text;
    }
}

void FbStatement::readInto(Row &row, const std::vector<int> &target) const
{
    for (int c = 0; c < m_output->count(); ++c) {
        const int to = target[size_t(c)];
        if (to < 0)
            continue;
        const XSQLVAR &v = m_output->var(c);
        if ((v.sqltype & 1) && *v.sqlind < 0) {
            row.setNull(to);
            continue;
        }
        const char *data = v.sqldata;
        switch (baseType(v)) {
        case SQL_SHORT:
            row.setInteger(to, load<short>(data));
            break;
        case SQL_LONG:
            row.setInteger(to, load<ISC_LONG>(data));
            break;
        case SQL_INT64:
            row.setInteger(to, load<ISC_INT64>(data));
            break;
        case SQL_DOUBLE:
            row.setReal(to, load<double>(data));
            break;
        case SQL_TIMESTAMP: {
            const auto ts = load<ISC_TIMESTAMP>(data);
            row.setDateTime(to, Row::fromFbTimestamp(ts.timestamp_date, ts.timestamp_time));
            break;
        }
        case SQL_VARYING: {
            const auto length = load<short>(data);
            row.setText(to, std::string_view(data + sizeof(short), size_t(length)));
            break;
        }
        case SQL_TEXT:
            row.setText(to, std::string_view(data, size_t(v.sqllen)));
            break;
        default:
            row.setNull(to);
            break;
        }
    }
}

QVariant FbStatement::value(int column) const
{
    Row row(1);
    std::vector<int> target(size_t(columnCount()), -1);
    target[size_t(column)] = 0;
    readInto(row, target);
    if (row.isNull(0))
        return {};
    switch (columnType(column)) {
    case FieldType::SmallInt:
    case FieldType::Integer:
        return row.integer(0);
    case FieldType::Float:
        return row.real(0);
    case FieldType::DateTime:
        return row.dateTime(0);
    case FieldType::Text:
        return kz1048::decode(row.text(0));
    }
    return {};
}

namespace {

// The engine moves a BLOB in segments of at most this many bytes.
constexpr qsizetype kSegmentBytes = 32768;

// Closes an open BLOB on every way out; a failed close has nothing left to tell.
struct OpenBlob {
    isc_blob_handle handle = 0;
    ~OpenBlob()
    {
        if (handle) {
            ISC_STATUS_ARRAY status;
            isc_cancel_blob(status, &handle);
        }
    }
    void close()
    {
        ISC_STATUS_ARRAY status;
        isc_close_blob(status, &handle);
        throwOnFbError(status);
        handle = 0;
    }
};

qint64 totalLength(isc_blob_handle &blob)
{
    const ISC_SCHAR items[] = {isc_info_blob_total_length};
    ISC_SCHAR answer[32] = {};
    ISC_STATUS_ARRAY status;
    isc_blob_info(status, &blob, short(sizeof items), items, short(sizeof answer), answer);
    throwOnFbError(status);
    if (answer[0] != isc_info_blob_total_length)
        return -1;
    const auto length = short(isc_vax_integer(answer + 1, 2));
    return isc_portable_integer(reinterpret_cast<const ISC_UCHAR *>(answer + 3), length);
}

} // namespace

ISC_QUAD FbStatement::writeBlob(const QByteArray &bytes)
{
    ISC_STATUS_ARRAY status;
    OpenBlob blob;
    ISC_QUAD id{};
    isc_create_blob2(status, m_transaction.connection().handle(), m_transaction.handle(),
                     &blob.handle, &id, 0, nullptr);
    throwOnFbError(status);
    for (qsizetype offset = 0; offset < bytes.size(); offset += kSegmentBytes) {
        const auto length = std::min(kSegmentBytes, bytes.size() - offset);
        isc_put_segment(status, &blob.handle, static_cast<unsigned short>(length),
                        bytes.constData() + offset);
        throwOnFbError(status);
    }
    blob.close();
    return id;
}

QByteArray FbStatement::blob(int column, qsizetype maxBytes) const
{
    const XSQLVAR &v = m_output->var(column);
    if (baseType(v) != SQL_BLOB)
        throw DbError(QStringLiteral("Поле %1 не является двоичным").arg(columnName(column)));
    if ((v.sqltype & 1) && *v.sqlind < 0)
        return {};
    auto id = load<ISC_QUAD>(v.sqldata);
    ISC_STATUS_ARRAY status;
    OpenBlob blob;
    isc_open_blob2(status, m_transaction.connection().handle(), m_transaction.handle(),
                   &blob.handle, &id, 0, nullptr);
    throwOnFbError(status);
    const auto tooLarge = [&] {
        return DbError(QStringLiteral("Значение поля %1 больше %2 байт")
                           .arg(columnName(column))
                           .arg(maxBytes));
    };
    const qint64 total = totalLength(blob.handle);
    if (total > maxBytes)
        throw tooLarge();
    QByteArray bytes;
    bytes.reserve(qsizetype(std::max<qint64>(total, 0)));
    char segment[kSegmentBytes];
    for (;;) {
        unsigned short length = 0;
        const ISC_STATUS result =
            isc_get_segment(status, &blob.handle, &length, sizeof segment, segment);
        if (result == isc_segstr_eof)
            break;
        if (result != 0 && result != isc_segment)
            throwOnFbError(status);
        // The stated length is only a promise: the bytes read are counted as well.
        if (bytes.size() + length > maxBytes)
            throw tooLarge();
        bytes.append(segment, length);
    }
    blob.close();
    if (bytes.isNull())
        bytes = QByteArray("", 0);
    return bytes;
}

void FbStatement::run(FbTransaction &transaction, const QString &sql)
{
    FbStatement statement(transaction);
    statement.prepare(sql);
    statement.execute();
}

QVariant FbStatement::scalar(FbTransaction &transaction, const QString &sql)
{
    FbStatement statement(transaction);
    statement.prepare(sql);
    statement.execute();
    if (!statement.fetch())
        return {};
    QVariant result = statement.value(0);
    statement.closeCursor();
    return result;
}
