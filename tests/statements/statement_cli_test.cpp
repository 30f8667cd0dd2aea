// zarnik-cli import-statement on the demo database, whose Kaspi account is KZ64722S000001234567
// and whose invoice 1 (KOD 1) of ТОО «Степной Ветер» comes to 172,950.00.
#include "cli_run.h"
#include "temp_database.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray kStatement =
    "1CClientBankExchange\r\nВерсияФормата=1.03\r\nКодировка=UTF8\r\n"
    "РасчСчет=KZ64722S000001234567\r\n"
    "СекцияДокумент=Платежное поручение\r\nНомерДокумента=418\r\nДатаДокумента=02.12.2026\r\n"
    "ДатаОперации=03.12.2026\r\nСуммаПриход=172950.00\r\n"
    "ПлательщикНаименование=ТОО «Степной Ветер»\r\nПлательщикБИН_ИИН=150940023457\r\n"
    "ПлательщикИИК=KZ12601A861000123456\r\nПолучательИИК=KZ64722S000001234567\r\n"
    "НазначениеПлатежа=Оплата по счету № 1 от 01.12.2026\r\nКонецДокумента\r\n"
    "СекцияДокумент=Платежное поручение\r\nНомерДокумента=5\r\nДатаДокумента=03.12.2026\r\n"
    "Сумма=999.99\r\nПлательщикНаименование=ИП Нурланов Берик Ерланович\r\n"
    "ПлательщикБИН_ИИН=850612301236\r\nПлательщикИИК=KZ18722S000009876543\r\n"
    "ПолучательИИК=KZ64722S000001234567\r\nНазначениеПлатежа=за услуги\r\nКонецДокумента\r\n"
    "КонецФайла\r\n";

class ImportStatementCli : public ::testing::Test {
protected:
    QString write(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("vypiska%1.txt").arg(++m_files));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    CliRun import(const QString &file, const QStringList &more = {})
    {
        return runCli(
            QStringList{QStringLiteral("import-statement"), file, QStringLiteral("--db"), db.path()}
            << more);
    }

    TempDatabase db{TempDatabase::Demo};

private:
    QTemporaryDir m_dir;
    int m_files = 0;
};

const QString kLines = QStringLiteral(
    "03.12.2026\t418\t172950.00\t150940023457\tТОО «Степной Ветер»\t%1\n"
    "03.12.2026\t5\t999.99\t850612301236\tИП Нурланов Берик Ерланович\tне сопоставлено\n");

TEST_F(ImportStatementCli, DryRunThenRecordThenAgain)
{
    const QString file = write(kStatement);
    const CliRun dry = import(file, {QStringLiteral("--dry-run")});
    ASSERT_EQ(dry.exitCode, 0) << dry.err.toStdString();
    EXPECT_EQ(dry.out, kLines.arg(QStringLiteral("документ 1, счет № 1")));
    EXPECT_EQ(dry.err, QStringLiteral("import-statement: --dry-run: ничего не записано\n"));

    const CliRun recorded = import(file);
    ASSERT_EQ(recorded.exitCode, 0) << recorded.err.toStdString();
    EXPECT_EQ(recorded.out, dry.out);
    EXPECT_EQ(recorded.err, QStringLiteral("import-statement: записано 1, не сопоставлено 1, "
                                           "уже загружено 0\n"));

    const CliRun again = import(file);
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(again.out, kLines.arg(QStringLiteral("уже загружено")));
    EXPECT_EQ(again.err, QStringLiteral("import-statement: записано 0, не сопоставлено 1, "
                                        "уже загружено 1\n"));

    // The invoice is paid: nothing of ТОО «Степной Ветер»'s invoice 1 is due.
    const CliRun debts = runCli({QStringLiteral("debts"), QStringLiteral("--db"), db.path(),
                                 QStringLiteral("--date"), QStringLiteral("31.12.2026")});
    EXPECT_TRUE(debts.out.contains(QStringLiteral("ТОО «Степной Ветер»\t150940023457\t193950.00\t"
                                                  "172950.00\t21000.00")))
        << debts.out.toStdString();
}

struct RefusalCase {
    const char *name;
    QByteArray bytes;
    int exitCode;
    const char *err;
};

void PrintTo(const RefusalCase &c, std::ostream *os)
{
    *os << c.name;
}

QByteArray withAccount(const char *account)
{
    return QByteArray(kStatement).replace("KZ64722S000001234567", account);
}

const RefusalCase kRefusals[] = {
    {"AccountNotOurs", withAccount("KZ12722S000012345678"), 1,
     "import-statement: Счет KZ12722S000012345678 не найден в реквизитах; ничего не "
     "записано\n"},
    {"CutShort", kStatement.left(kStatement.indexOf("КонецФайла")), 1,
     "import-statement: строка 25: файл оборван: нет строки КонецФайла; ничего не записано\n"},
    {"AmountNotANumber", QByteArray(kStatement).replace("999.99", "999.9.9"), 1,
     "import-statement: строка 19: сумма «999.9.9» не число; ничего не записано\n"},
};

class ImportStatementCliRefusals : public ImportStatementCli,
                                   public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(ImportStatementCliRefusals, WriteNothing)
{
    const CliRun refused = import(write(GetParam().bytes));
    EXPECT_EQ(refused.exitCode, GetParam().exitCode);
    EXPECT_EQ(refused.out, QString());
    EXPECT_EQ(refused.err, QString::fromUtf8(GetParam().err));
    const CliRun dry = import(write(kStatement), {QStringLiteral("--dry-run")});
    EXPECT_TRUE(dry.out.contains(QStringLiteral("документ 1, счет № 1")));
}

INSTANTIATE_TEST_SUITE_P(Statements, ImportStatementCliRefusals, ::testing::ValuesIn(kRefusals),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ImportStatementCli, ArgumentsAndMissingFile)
{
    EXPECT_EQ(
        runCli({QStringLiteral("import-statement"), QStringLiteral("--db"), db.path()}).exitCode,
        2);
    const CliRun missing = import(QStringLiteral("/nonexistent/vypiska.txt"));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.startsWith(
        QStringLiteral("import-statement: не удалось открыть /nonexistent/vypiska.txt")))
        << missing.err.toStdString();
}

} // namespace
