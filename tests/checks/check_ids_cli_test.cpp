// zarnik-cli check-ids over generated databases: the demo passes, typing errors are listed
// one line each with whose they are and why, unusable options are refused.
#include "cli_run.h"
#include "data/fb_statement.h"
#include "data/tdm.h"
#include "server_database.h"
#include "temp_database.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

CliRun checkIds(const QStringList &args)
{
    return runCli(QStringList{QStringLiteral("check-ids")} + args);
}

void execute(FbTransaction &transaction, const QString &sql, const QVariantMap &values)
{
    FbStatement statement(transaction);
    statement.prepare(sql);
    for (auto it = values.begin(); it != values.end(); ++it)
        statement.setParameter(it.key(), it.value());
    statement.execute();
}

TEST(CheckIdsCommand, TheDemoDatabasePasses)
{
    TempDatabase db(TempDatabase::Demo);
    const CliRun run = checkIds({QStringLiteral("--db"), db.path()});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    EXPECT_EQ(run.out, QString());
    EXPECT_TRUE(run.err.contains(QStringLiteral("check-ids: every identifier passes\n")));
}

TEST(CheckIdsCommand, ListsEveryFailingValueWithWhoseItIs)
{
    TempDatabase db(TempDatabase::Demo);
    {
        TDM dm;
        dm.DataModuleCreate(db.path());
        FbTransaction &t = dm.TsnRW;
        if (!t.isActive())
            t.start();
        execute(t, QStringLiteral("update REKVIZITY set BINIIN = :BIN"),
                {{QStringLiteral("BIN"), QStringLiteral("123")}});
        execute(t,
                QStringLiteral("insert into RASSCHET (KOD, KODORG, IIK, BIK) values (900, 0, "
                               ":IIK, :BIK)"),
                {{QStringLiteral("IIK"), QStringLiteral("KZ306017131000012345")},
                 {QStringLiteral("BIK"), QStringLiteral("KZKOKZKX")}});
        execute(t,
                QStringLiteral("insert into CLIENTS (KOD, TIP, NAMEORG, BINIIN, KBE, IIK, BIK) "
                               "values (901, 0, :NAME, :BIN, '17', :IIK, 'HSBKKZKX')"),
                {{QStringLiteral("NAME"), QStringLiteral("ТОО «Опечатка»")},
                 {QStringLiteral("BIN"), QStringLiteral("060440019474")},
                 {QStringLiteral("IIK"), QStringLiteral("KZ476010131000179715")}});
        execute(t,
                QStringLiteral("insert into RASSCHET (KOD, KODORG, IIK) values (902, 901, 'KZ1')"),
                {});
        t.commit();
    }
    const CliRun run = checkIds({QStringLiteral("--db"), db.path()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              QStringList({
                  QStringLiteral("Реквизиты компании: БИН (ИИН) 123: нужно 12 цифр, а введено 3"),
                  QStringLiteral("Счет компании (КОД 900): БИК KZKOKZKX: этот БИК был у банка "
                                 "АО «Казкоммерцбанк», который больше не работает"),
                  QStringLiteral("Клиент «ТОО «Опечатка»» (КОД 901): БИН (ИИН) 060440019474: не "
                                 "сходится контрольная (последняя) цифра: в номере опечатка или "
                                 "переставлены цифры"),
                  QStringLiteral("Клиент «ТОО «Опечатка»» (КОД 901): ИИК KZ476010131000179715: не "
                                 "сходятся контрольные цифры: в номере опечатка или переставлены "
                                 "знаки"),
                  QStringLiteral("Счет клиента «ТОО «Опечатка»» (КОД 902): ИИК KZ1: в ИИК 20 "
                                 "знаков, а введено 3"),
              }));
}

// Every command that reads or writes the data module's database takes a server's one as well,
// with the server's user given as the backup commands take it.
TEST(DatabaseCommands, TakeAServerLocation)
{
    ServerDatabase db(TempDatabase::Demo);
    SKIP_WITHOUT_SERVER(db);
    QTemporaryDir here;
    const QString goods = here.filePath(QStringLiteral("goods.csv"));
    {
        QFile file(goods);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Name;Price\nTea;1\n");
    }
    const QStringList server = {QStringLiteral("--db"),       db.location(),
                                QStringLiteral("--user"),     ServerDatabase::testUser().user,
                                QStringLiteral("--password"), ServerDatabase::testUser().password};
    const struct {
        QStringList args;
        const char *said;
    } cases[] = {
        {QStringList{QStringLiteral("check-ids")} + server, "check-ids: every identifier passes"},
        {QStringList{QStringLiteral("import-goods"), goods} + server, "import-goods: записано"},
    };
    for (const auto &c : cases) {
        const CliRun run = runCli(c.args);
        EXPECT_EQ(run.exitCode, 0) << c.args.front().toStdString() << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.said))) << run.err.toStdString();
    }
}

TEST(CheckIdsCommand, UnusableOptionsAreRefusedWithCode2)
{
    for (const QStringList &args :
         {QStringList{}, QStringList{QStringLiteral("--db")},
          QStringList{QStringLiteral("--db"), QStringLiteral("/no/such/file.gdb")},
          QStringList{QStringLiteral("--database"), QStringLiteral("x")},
          QStringList{QStringLiteral("--db"), QStringLiteral("a"), QStringLiteral("extra")}}) {
        const CliRun run = checkIds(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("check-ids: "))) << run.err.toStdString();
    }
}

} // namespace
