#include "server_bench_database.h"

#include "bench_database.h"
#include "data/database_file.h"
#include "data/db_error.h"
#include "data/fb_connection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The documents' clients, each listed, as an office's client list would be. The documents are
// dated in the order of their numbers, forty a day, as an office's are.
constexpr int kClients = 977;

// The rows are made by the server in one statement, so the generation does not pay a round
// trip for each of its 400,000 rows. Run as it is, without parameters: the colons mark the
// block's own variables.
QString fillStatement()
{
    return QStringLiteral(
               "execute block as "
               "declare d integer = 1; declare n integer; declare line integer = 0; "
               "declare lines integer; "
               "begin "
               "  while (d <= %1) do begin "
               "    insert into DOCS (KOD, KODARCHIV, NAMEORG, BINIIN, ADRES, IIK, BANK, BIK, "
               "      OSNOVANIE, KNP, DATASCH, NUMSCH, NUMSCHF, NUMACT, NUMNAKL, NUMPRIX, NUMDOV, "
               "      NUMPLAT, STNDS) values (:d, iif(:d = %2, 1, 0), "
               "      'ТОО «Клиент № ' || mod(:d, 977) || '»', '150940023456', "
               "      '010000, г. Астана, ул. Кенесары, 40', 'KZ45601A861000123456', "
               "      'АО «Халык Банк»', 'HSBKKZKX', 'Договор поставки № 15 от 10.01.2026', '710', "
               "      cast('2020-01-01' as date) + floor(:d / 40), :d + 1, :d + 2, :d + 3, :d + 4, "
               "      :d + 5, :d + 6, :d + 7, 16); "
               "    lines = iif(d = %2, %3, %4); "
               "    n = 1; "
               "    while (n <= lines) do begin "
               "      line = line + 1; "
               "      insert into DETAILDOCS (KOD, KODDOCS, NUM, NAME, EDIZM, KOLVO, CENASHT, "
               "        CENASUMBEZNDS, STNDS, SUMNDS, STREALIZ) values (:line, :d, :n, "
               "        'Бумага офисная А4, 80 г/м2, 500 листов', 'пачка', 40, 2350, 81034.48, "
               "        16, 12965.52, 94000); "
               "      n = n + 1; "
               "    end "
               "    d = d + 1; "
               "  end "
               "  n = 1; "
               "  while (n <= %5) do begin "
               "    insert into CLIENTS (KOD, TIP, NAMEORG, KBE, BINIIN, ADRES, IIK, BANK, BIK, "
               "TEL) "
               "      values (:n, 0, 'ТОО «Клиент № ' || mod(:n, %5) || '»', '17', '150940023456', "
               "      '010000, г. Астана, ул. Кенесары, 40', 'KZ45601A861000123456', "
               "      'АО «Халык Банк»', 'HSBKKZKX', '+7 7172 55-66-77'); "
               "    insert into NOMENKLOTURA (KOD, TIP, NAME, EDIZM, CENA, OSTATOK) values (:n, 0, "
               "      'Товар № ' || :n, 'шт', 1250.5, 10); "
               "    n = n + 1; "
               "  end "
               "  n = gen_id(CLIENTS_KOD_GEN, %5); "
               "  n = gen_id(NOMENKLOTURA_KOD_GEN, %5); "
               "  d = gen_id(DOCS_KOD_GEN, d - 1); "
               "  line = gen_id(DETAILDOCS_KOD_GEN, line); "
               "end")
        .arg(kLongDocument)
        .arg(kLongDocument)
        .arg(kLongDocumentLines)
        .arg(kBenchLinesPerDocument)
        .arg(kClients);
}

} // namespace

database::Credentials benchServerUser()
{
    const database::Credentials fromEnvironment = database::environmentCredentials();
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return {QStringLiteral("ZARNIK_TEST"), QStringLiteral("zarnik-test")};
}

QString serverBenchFolder()
{
    QString folder = qEnvironmentVariable("ZARNIK_BENCH_SERVER_DIR");
    if (folder.isEmpty())
        folder = QStringLiteral("/var/tmp/zarnik-bench");
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::Permissions(0x7777));
    return folder;
}

QString serverLocation(const QString &path, int port)
{
    return QStringLiteral("127.0.0.1/%1:%2").arg(port).arg(path);
}

QString serverRegisterDatabase()
{
    const QString path = serverBenchFolder() + QStringLiteral("/register-100k-v3.gdb");
    if (QFileInfo::exists(path))
        return path;
    // A run broken off leaves only the ".part" file, never a half-filled database.
    const QString partial = path + QStringLiteral(".part");
    const database::Credentials user = benchServerUser();
    if (QFileInfo::exists(partial)) {
        FbConnection old;
        old.attach(serverLocation(partial), user.user, user.password);
        old.drop();
    }
    database::create(serverLocation(partial), user);
    {
        FbConnection connection;
        connection.attach(serverLocation(partial), user.user, user.password);
        executeCommitted(connection, fillStatement());
    }
    if (!QFile::rename(partial, path))
        throw DbError(QStringLiteral("Не удалось переименовать %1").arg(partial));
    return path;
}
