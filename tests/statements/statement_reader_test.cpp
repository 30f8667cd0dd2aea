// The reader of bank statements over small files written as each bank writes them, and the
// faults that refuse a file.
#include "statements/statement_reader.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString kKaspi = QStringLiteral("KZ12722S000012345678");
const QString kHalyk = QStringLiteral("KZ346010002000123456");

QByteArray fixture(const char *name)
{
    QFile file(QStringLiteral(ZARNIK_STATEMENT_FIXTURES "/") + QString::fromLatin1(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

struct ExpectedOperation {
    const char *number;
    QDate documentDate;
    QDate paymentDate;
    double amount;
    MoneyDirection direction;
    const char *payerName;
    const char *payerBin;
    const char *ownAccount;
    const char *purpose;
};

struct FileCase {
    const char *name;
    const char *file;
    const char *version;
    const char *encoding;
    size_t sections;
    std::vector<ExpectedOperation> operations;
};

void PrintTo(const FileCase &c, std::ostream *os)
{
    *os << c.name;
}

const QDate d1(2026, 12, 1), d2(2026, 12, 2), d3(2026, 12, 3), d4(2026, 12, 4);

const FileCase kFiles[] = {
    {"Kaspi_Utf8WithBomCrlf_IncomeAndExpenseColumns",
     "kaspi_bom_crlf.txt",
     "1.03",
     "UTF-8",
     1,
     {{"PP-418", d2, d3, 172950.00, MoneyDirection::In, "ТОО «Степной Ветер»", "150940023457",
       "KZ12722S000012345678", "Оплата по счету № 1 от 01.12.2026, в т.ч. НДС 12%"},
      {"77", d4, d4, 25000.00, MoneyDirection::Out, "ИП Ахметова", "850101400123",
       "KZ12722S000012345678", "Аренда за декабрь"}}},
    {"Halyk_Windows_KazakhLetters_PurposeOnThreeLines_DirectionByAccount",
     "halyk_windows.txt",
     "1.02",
     "Windows-1251",
     1,
     {{"0000123", d1, d1, 48300.50, MoneyDirection::In, "ТОО «Ақ Жол»", "060340005678",
       "KZ346010002000123456", "Оплата за товар согласно сч.12 и СФ 12 от 28.11.2026 без НДС"}}},
    {"Jusan_UpperCaseIndentedUndeclaredUtf8_SectionPerDay_MarkerWithEquals",
     "jusan_upper.txt",
     "2.00",
     "UTF-8",
     2,
     {{"1", d1, d1, 1000, MoneyDirection::In, "ИП Сейткали", "900202300456", "KZ12722S000012345678",
       "счет на оплату 7"},
      {"2", d2, d2, 2500.255, MoneyDirection::In, "ИП Сейткали", "900202300456",
       "KZ12722S000012345678", "аванс"}}},
    {"Bcc_Version101_Windows1251_OlderNames_NumberedPurposeLines",
     "bcc_v101_1251.txt",
     "1.01",
     "Windows-1251",
     0,
     {{"15А", d3, d3, 310, MoneyDirection::In, "ТОО «Кереге»", "170840012345",
       "KZ12722S000012345678", "Оплата по с/ф № 31 от 02.12.2026"}}},
    {"Kazpost_Version20_TransferBetweenOwnAccounts",
     "kazpost_v20.txt",
     "2.0",
     "UTF-8",
     0,
     {{"9", d4, d4, 50000, MoneyDirection::OwnTransfer, "ИП Ахметова", "", "KZ346010002000123456",
       "Перевод собственных средств"}}},
};

class StatementFiles : public ::testing::TestWithParam<FileCase> {};

TEST_P(StatementFiles, Read)
{
    const FileCase &c = GetParam();
    const auto read = readStatement(fixture(c.file), {kKaspi, kHalyk});
    ASSERT_TRUE(std::holds_alternative<Statement>(read))
        << std::get<StatementRefusal>(read).text().toStdString();
    const Statement &statement = std::get<Statement>(read);
    EXPECT_EQ(statement.version, QString::fromUtf8(c.version));
    EXPECT_EQ(statement.encoding, QString::fromUtf8(c.encoding));
    EXPECT_EQ(statement.sections.size(), c.sections);
    ASSERT_EQ(statement.operations.size(), c.operations.size());
    for (size_t i = 0; i < c.operations.size(); ++i) {
        const ExpectedOperation &e = c.operations[i];
        const StatementOperation &op = statement.operations[i];
        SCOPED_TRACE(e.number);
        EXPECT_EQ(op.number, QString::fromUtf8(e.number));
        EXPECT_EQ(op.documentDate, e.documentDate);
        EXPECT_EQ(op.paymentDate(), e.paymentDate);
        EXPECT_DOUBLE_EQ(op.amount, e.amount);
        EXPECT_EQ(op.direction, e.direction);
        EXPECT_EQ(op.payer.name, QString::fromUtf8(e.payerName));
        EXPECT_EQ(op.payer.biniin, QString::fromUtf8(e.payerBin));
        EXPECT_EQ(op.ownAccount(), QString::fromUtf8(e.ownAccount));
        EXPECT_EQ(op.purpose, QString::fromUtf8(e.purpose));
    }
}

INSTANTIATE_TEST_SUITE_P(Banks, StatementFiles, ::testing::ValuesIn(kFiles),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(StatementReader, SectionsKeepTheirBalancesAndTurnovers)
{
    const auto read = readStatement(fixture("jusan_upper.txt"), {});
    ASSERT_TRUE(std::holds_alternative<Statement>(read));
    const Statement &statement = std::get<Statement>(read);
    ASSERT_EQ(statement.sections.size(), 2u);
    const StatementAccountSection &second = statement.sections[1];
    EXPECT_EQ(second.account, kKaspi);
    EXPECT_EQ(second.from, d2);
    EXPECT_DOUBLE_EQ(*second.opening, 1000);
    EXPECT_DOUBLE_EQ(*second.income, 2500.255);
    EXPECT_DOUBLE_EQ(*second.outgo, 0);
    EXPECT_DOUBLE_EQ(*second.closing, 3500.255);
    EXPECT_EQ(statement.accounts, std::vector<QString>{kKaspi});
}

// A minimal statement around one document's lines.
QByteArray withDocument(const char *lines)
{
    return QByteArray("1CClientBankExchange\nВерсияФормата=1.02\nРасчСчет=KZ12722S000012345678\n"
                      "СекцияДокумент=Платежное поручение\n") +
           lines + "КонецДокумента\nКонецФайла\n";
}

const char *const kGoodDocument = "НомерДокумента=1\nДатаДокумента=01.12.2026\n"
                                  "ПолучательИИК=KZ12722S000012345678\n";

struct RefusalCase {
    const char *name;
    QByteArray bytes;
    int line;
    const char *reason;
};

void PrintTo(const RefusalCase &c, std::ostream *os)
{
    *os << c.name;
}

const RefusalCase kRefusals[] = {
    {"NotThisFormat", "Дата;Сумма;Назначение\n01.12.2026;100;x\n", 1,
     "это не выписка в формате 1CClientBankExchange"},
    {"EmptyFile", "", 0, "файл пуст"},
    {"AmountNotANumber",
     withDocument("НомерДокумента=1\nДатаДокумента=01.12.2026\nСумма=1 500,00,5\n"), 7,
     "сумма «1 500,00,5» не число"},
    {"AmountWithLetters", withDocument("НомерДокумента=1\nДатаДокумента=01.12.2026\nСумма=100тг\n"),
     7, "сумма «100тг» не число"},
    {"DateNotADate", withDocument("НомерДокумента=1\nДатаДокумента=31.11.2026\nСумма=100\n"), 6,
     "дата «31.11.2026» не дата ДД.ММ.ГГГГ"},
    {"DocumentWithoutAmount", withDocument(kGoodDocument), 8, "у документа из строки 4 нет суммы"},
    {"DocumentNotClosed",
     "1CClientBankExchange\nСекцияДокумент=Платежное поручение\nНомерДокумента=1\n"
     "СекцияДокумент=Платежное поручение\nКонецДокумента\nКонецФайла\n",
     4, "секция, начатая в строке 2, не закрыта"},
    {"AccountSectionNotClosed",
     "1CClientBankExchange\nСекцияРасчСчет\nРасчСчет=KZ12722S000012345678\n"
     "СекцияДокумент=Платежное поручение\n",
     4, "секция, начатая в строке 2, не закрыта"},
    {"CutInsideADocument",
     "1CClientBankExchange\r\nСекцияДокумент=Платежное поручение\r\nНомерДокумента=1\r\nСумма=10",
     4, "файл оборван: секция, начатая в строке 2, не закрыта"},
    {"CutBeforeTheEndOfFile",
     withDocument("НомерДокумента=1\nДатаДокумента=01.12.2026\nСумма=5\n"
                  "ПолучательИИК=KZ12722S000012345678\n")
         .replace("КонецФайла\n", ""),
     9, "файл оборван: нет строки КонецФайла"},
    {"EndWithoutStart", "1CClientBankExchange\nКонецДокумента\nКонецФайла\n", 2,
     "«КонецДокумента» без начала секции"},
    {"NeitherSideIsTheStatementsAccount",
     withDocument("НомерДокумента=1\nДатаДокумента=01.12.2026\nСумма=5\n"
                  "ПлательщикИИК=KZ75125KZT1001300335\nПолучательИИК=KZ998560000005551234\n"),
     4, "ни плательщик, ни получатель документа не владелец счета выписки"},
    {"LineThatIsNoKeyValue", "1CClientBankExchange\nкакой-то текст\nКонецФайла\n", 2,
     "строка не вида «Ключ=Значение»: «какой-то текст»"},
};

class StatementRefusals : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(StatementRefusals, SayLineAndReason)
{
    const RefusalCase &c = GetParam();
    const auto read = readStatement(c.bytes, {kKaspi});
    ASSERT_TRUE(std::holds_alternative<StatementRefusal>(read));
    const StatementRefusal &refusal = std::get<StatementRefusal>(read);
    EXPECT_EQ(refusal.line, c.line);
    EXPECT_EQ(refusal.reason, QString::fromUtf8(c.reason));
}

INSTANTIATE_TEST_SUITE_P(Faults, StatementRefusals, ::testing::ValuesIn(kRefusals),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
