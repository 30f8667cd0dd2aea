// zarnik-cli import-goods and import-clients: errors stop the import with exit code 1 and
// nothing written unless --skip-bad; bad files and options are refused.
#include "cli_run.h"
#include "data/fb_statement.h"
#include "data/tdm.h"
#include "temp_database.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

CliRun cli(const QStringList &args)
{
    return runCli(args);
}

int goodsIn(const QString &path, int kind)
{
    TDM dm;
    dm.DataModuleCreate(path);
    if (!dm.TsnRW.isActive())
        dm.TsnRW.start();
    return FbStatement::scalar(dm.TsnRW, QStringLiteral("select count(*) from NOMENKLOTURA where "
                                                        "TIP = %1")
                                             .arg(kind))
        .toInt();
}

QString writeFile(const TempDatabase &db, const QString &name, const QByteArray &bytes)
{
    const QString path = db.folder() + u'/' + name;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

TEST(ImportCommand, ErrorsWriteNothingUnlessSkipBad)
{
    TempDatabase db;
    const QString file =
        writeFile(db, QStringLiteral("prices.csv"), "Товар,Цена\nМолоко,\"1 250,50\"\nСыр,12а\n");
    const QStringList args = {QStringLiteral("import-goods"), file,
                              QStringLiteral("--db"),         db.path(),
                              QStringLiteral("--kind"),       QStringLiteral("1")};
    const CliRun refused = cli(args);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, QStringLiteral("Строка 3, «Стоимость»: «12а» — не число\n"));
    EXPECT_TRUE(refused.err.contains(
        QStringLiteral("будет добавлено 1, обновлено 0, пропущено 0, с ошибками 1")));
    EXPECT_EQ(goodsIn(db.path(), 1), 0);

    const CliRun written = cli(args + QStringList{QStringLiteral("--skip-bad")});
    EXPECT_EQ(written.exitCode, 0) << written.err.toStdString();
    EXPECT_EQ(goodsIn(db.path(), 1), 1);
}

TEST(ImportCommand, RefusesBadFilesAndOptions)
{
    TempDatabase db;
    const QString empty = writeFile(db, QStringLiteral("empty.csv"), "");
    const QString good = writeFile(db, QStringLiteral("good.csv"), "Name;Price\nTea;1\n");
    const struct {
        QStringList args;
        int exitCode;
        const char *message;
    } cases[] = {
        {{QStringLiteral("import-goods"), empty, QStringLiteral("--db"), db.path()},
         1,
         "Файл пуст"},
        {{QStringLiteral("import-goods"), good}, 2, "--db is required"},
        {{QStringLiteral("import-goods"), good, QStringLiteral("--db"), db.path(),
          QStringLiteral("--kind"), QStringLiteral("3")},
         2,
         "--kind must be 0, 1 or 2"},
        {{QStringLiteral("import-clients"), good, QStringLiteral("--db"), db.path(),
          QStringLiteral("--mapping"), QStringLiteral("NAMEORG=Компания")},
         2,
         "В файле нет столбца «Компания» для поля NAMEORG"},
        {{QStringLiteral("import-goods"), good, QStringLiteral("--db"), db.path(),
          QStringLiteral("--duplicates"), QStringLiteral("merge")},
         2,
         "--duplicates must be skip, update or add"},
    };
    for (const auto &c : cases) {
        const CliRun run = cli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.message;
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message))) << run.err.toStdString();
    }
    EXPECT_EQ(goodsIn(db.path(), 0), 0);
}

} // namespace
