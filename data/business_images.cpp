#include "business_images.h"

#include "db_error.h"
#include "fb_connection.h"
#include "fb_statement.h"
#include "program_tables.h"

namespace {

void run(FbConnection &connection, const QString &sql, const QString &slot,
         const QByteArray *image = nullptr)
{
    FbTransaction transaction(connection);
    transaction.start();
    if (!tableExists(transaction, "IMAGES"))
        throw DbError(QStringLiteral(
            "В базе данных нет таблицы изображений: откройте базу данных один раз от имени "
            "ее владельца, и таблица будет добавлена."));
    FbStatement statement(transaction);
    statement.prepare(sql);
    statement.setParameter(QStringLiteral("NAME"), slot);
    if (image)
        statement.setParameter(QStringLiteral("DATA"), *image);
    statement.execute();
    transaction.commit();
}

} // namespace

QByteArray BusinessImages::load(const QString &slot)
{
    FbTransaction transaction(m_connection);
    transaction.start();
    if (!tableExists(transaction, "IMAGES"))
        return {};
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("SELECT DATA FROM IMAGES WHERE NAME = :NAME"));
    statement.setParameter(0, slot);
    statement.execute();
    QByteArray image;
    if (statement.fetch())
        image = statement.blob(0, kMaxBytes);
    statement.closeCursor();
    transaction.commit();
    return image;
}

void BusinessImages::store(const QString &slot, const QByteArray &image)
{
    run(m_connection,
        QStringLiteral("UPDATE OR INSERT INTO IMAGES (NAME, DATA) VALUES (:NAME, :DATA) "
                       "MATCHING (NAME)"),
        slot, &image);
}

void BusinessImages::remove(const QString &slot)
{
    run(m_connection, QStringLiteral("DELETE FROM IMAGES WHERE NAME = :NAME"), slot);
}
