#include "bench_database.h"

#include "data/database_file.h"
#include "data/date_time.h"
#include "data/fb_statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

void fill(FbConnection &connection)
{
    FbTransaction transaction(connection);
    transaction.start();
    FbStatement doc(transaction);
    doc.prepare(QStringLiteral(
        "insert into DOCS (KOD, KODARCHIV, NAMEORG, BINIIN, ADRES, IIK, BANK, BIK, OSNOVANIE, "
        "KNP, DATASCH, NUMSCH, NUMSCHF, NUMACT, NUMNAKL, NUMPRIX, NUMDOV, NUMPLAT, STNDS) values "
        "(:KOD, :KODARCHIV, :NAMEORG, '150940023456', '010000, г. Астана, ул. Кенесары, 40', "
        "'KZ45601A861000123456', 'АО «Халык Банк»', 'HSBKKZKX', "
        "'Договор поставки № 15 от 10.01.2026', '710', :DATASCH, :N1, :N2, :N3, :N4, :N5, :N6, "
        ":N7, 16)"));
    FbStatement line(transaction);
    line.prepare(
        QStringLiteral("insert into DETAILDOCS (KOD, KODDOCS, NUM, NAME, EDIZM, KOLVO, CENASHT, "
                       "CENASUMBEZNDS, STNDS, SUMNDS, STREALIZ) values (:KOD, :KODDOCS, :NUM, "
                       "'Бумага офисная А4, 80 г/м2, 500 листов', 'пачка', 40, 2350, 81034.48, 16, "
                       "12965.52, 94000)"));
    int lineKey = 0;
    const auto addDocument = [&](int kod, int archive, int lines) {
        doc.setParameter(0, kod);
        doc.setParameter(1, archive);
        doc.setParameter(2, QStringLiteral("ТОО «Клиент № %1»").arg(kod % 977));
        doc.setParameter(3, datetime::make(QDate(2020, 1, 1).addDays(kod % 2000)));
        // Every form numbered, each sequence of its own.
        for (int form = 1; form <= 7; ++form)
            doc.setParameter(QStringLiteral("N%1").arg(form), kod + form);
        doc.execute();
        for (int n = 1; n <= lines; ++n) {
            line.setParameter(0, ++lineKey);
            line.setParameter(1, kod);
            line.setParameter(2, n);
            line.execute();
        }
    };
    for (int d = 1; d <= kBenchDocuments; ++d)
        addDocument(d, 0, kBenchLinesPerDocument);
    // Archived, so that the register's current documents stay the 100,000 above.
    addDocument(kLongDocument, 1, kLongDocumentLines);
    transaction.commit();
    runStatement(connection, QStringLiteral("SET GENERATOR DOCS_KOD_GEN TO %1").arg(kLongDocument));
    runStatement(connection, QStringLiteral("SET GENERATOR DETAILDOCS_KOD_GEN TO %1").arg(lineKey));
}

} // namespace

void runStatement(FbConnection &connection, const QString &sql)
{
    FbTransaction transaction(connection);
    transaction.start();
    FbStatement statement(transaction);
    statement.prepare(sql);
    statement.execute();
    transaction.commit();
}

QString generatedDatabase(const char *pathVariable, const QString &fileName,
                          const std::function<void(FbConnection &)> &fill)
{
    QString path = qEnvironmentVariable(pathVariable);
    if (path.isEmpty())
        path = QDir::temp().filePath(fileName);
    if (QFileInfo::exists(path))
        return path;
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    database::create(partial);
    {
        FbConnection connection;
        connection.attach(partial, database::userName(), database::password());
        fill(connection);
    }
    QFile::rename(partial, path);
    return path;
}

QString benchDatabase()
{
    return generatedDatabase("ZARNIK_BENCH_DB", QStringLiteral("zarnik-bench-100k-v2.gdb"), fill);
}
