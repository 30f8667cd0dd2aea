#include "database_contents.h"

#include "data/business_images.h"
#include "data/fb_connection.h"
#include "data/fb_statement.h"

namespace {

const QStringList kTables = {QStringLiteral("DOCS"),      QStringLiteral("DETAILDOCS"),
                             QStringLiteral("CLIENTS"),   QStringLiteral("RASSCHET"),
                             QStringLiteral("OSNOVANIE"), QStringLiteral("NOMENKLOTURA"),
                             QStringLiteral("KNP"),       QStringLiteral("REKVIZITY")};

} // namespace

QStringList contents(const QString &location, const zbackup::Credentials &credentials)
{
    FbConnection connection;
    connection.attach(location, credentials.user, credentials.password);
    FbTransaction transaction(connection);
    transaction.start();
    QStringList rows;
    for (const QString &table : kTables) {
        FbStatement select(transaction);
        select.prepare(QStringLiteral("SELECT * FROM %1 ORDER BY KOD").arg(table));
        select.execute();
        while (select.fetch()) {
            QStringList row{table};
            for (int c = 0; c < select.columnCount(); ++c) {
                const QVariant value = select.value(c);
                row << (value.isNull() ? QStringLiteral("<null>") : value.toString());
            }
            rows << row.join(u'|');
        }
    }
    FbStatement images(transaction);
    images.prepare(QStringLiteral("SELECT NAME, DATA FROM IMAGES ORDER BY NAME"));
    images.execute();
    while (images.fetch())
        rows << QStringLiteral("IMAGES|") + images.value(0).toString() + u'|' +
                    QString::fromLatin1(images.blob(1, BusinessImages::kMaxBytes).toHex());
    for (const QString &generator : kTables)
        rows << generator + QStringLiteral("_KOD_GEN=") +
                    FbStatement::scalar(transaction,
                                        QStringLiteral("SELECT GEN_ID(%1_KOD_GEN, 0) FROM "
                                                       "RDB$DATABASE")
                                            .arg(generator))
                        .toString();
    transaction.commit();
    return rows;
}

void execute(const QString &location, const QStringList &statements,
             const zbackup::Credentials &credentials)
{
    FbConnection connection;
    connection.attach(location, credentials.user, credentials.password);
    FbTransaction transaction(connection);
    transaction.start();
    for (const QString &sql : statements) {
        FbStatement statement(transaction);
        statement.prepare(sql);
        statement.execute();
    }
    transaction.commit();
}
