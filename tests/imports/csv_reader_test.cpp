// Reading table files: the separator and the encoding told by the bytes, quoted fields, and
// every kind of file that is not a table refused with a message and no rows.
#include "data/kz1048.h"
#include "imports/csv_reader.h"

#include <gtest/gtest.h>

namespace {

QByteArray windows1251(const char *utf8)
{
    return *kz1048::encode(QString::fromUtf8(utf8));
}

struct ReadCase {
    const char *name;
    QByteArray bytes;
    QStringList header;
    QStringList firstRow;
    QString encoding;
    const char *error; // a part of the message, or nullptr when the file reads
};

void PrintTo(const ReadCase &c, std::ostream *os)
{
    *os << c.name;
}

class CsvRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(CsvRead, ReadsOrRefuses)
{
    const ReadCase &c = GetParam();
    const TableRead read = csv::readBytes(c.bytes);
    if (c.error) {
        EXPECT_TRUE(read.error.contains(QString::fromUtf8(c.error))) << read.error.toStdString();
        EXPECT_TRUE(read.table.rows.empty());
        return;
    }
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_EQ(read.table.header, c.header);
    ASSERT_FALSE(read.table.rows.empty());
    EXPECT_EQ(read.table.rows.front(), c.firstRow);
    EXPECT_EQ(read.table.encoding, c.encoding);
}

const QStringList kHeader = {QStringLiteral("Наименование"), QStringLiteral("Цена")};
const QStringList kMilk = {QStringLiteral("Молоко"), QStringLiteral("1 250,50")};

QByteArray longLine()
{
    return "Наименование;Цена\n" + QByteArray(csv::kMaxRecordChars + 10, 'x') + ";1\n";
}

QByteArray manyColumns()
{
    QByteArray header = "Наименование";
    for (int c = 0; c < 100000; ++c)
        header += ";c";
    return header + "\nМолоко;1\n";
}

INSTANTIATE_TEST_SUITE_P(
    Files, CsvRead,
    ::testing::Values(
        ReadCase{"Utf8WithBomAndSemicolons", "\xEF\xBB\xBFНаименование;Цена\nМолоко;1 250,50\n",
                 kHeader, kMilk, QStringLiteral("UTF-8"), nullptr},
        ReadCase{"Utf8CommasAndCrLf", "Наименование,Цена\r\nМолоко,\"1 250,50\"\r\n", kHeader,
                 kMilk, QStringLiteral("UTF-8"), nullptr},
        ReadCase{"Tabs", "Наименование\tЦена\nМолоко\t1 250,50\n", kHeader, kMilk,
                 QStringLiteral("UTF-8"), nullptr},
        ReadCase{"Windows1251", windows1251("Наименование;Цена\nМолоко;1 250,50\n"), kHeader, kMilk,
                 QStringLiteral("Windows-1251"), nullptr},
        ReadCase{"KazakhLettersInKz1048",
                 windows1251("Наименование;Цена\nҚымыз;1\n"),
                 kHeader,
                 {QStringLiteral("Қымыз"), QStringLiteral("1")},
                 QStringLiteral("Windows-1251"),
                 nullptr},
        ReadCase{"QuotedLineBreakAndDoubledQuotes",
                 "Наименование;Цена\n\"Хлеб \"\"Бородинский\"\";\nнарезка\";300\n",
                 kHeader,
                 {QStringLiteral("Хлеб \"Бородинский\";\nнарезка"), QStringLiteral("300")},
                 QStringLiteral("UTF-8"),
                 nullptr},
        ReadCase{"BlankLinesSkipped", "Наименование;Цена\n\n\nМолоко;1 250,50\n\n", kHeader, kMilk,
                 QStringLiteral("UTF-8"), nullptr},
        ReadCase{"Empty", "", {}, {}, {}, "Файл пуст"},
        ReadCase{"OnlyBlankLines", "\n\r\n", {}, {}, {}, "Файл пуст"},
        ReadCase{"OnlyHeader", "Наименование;Цена\n", {}, {}, {}, "только заголовок"},
        ReadCase{
            "Binary", QByteArray("PK\x03\x04\x14\x00\x06\x00", 8), {}, {}, {}, "двоичные данные"},
        ReadCase{"Utf16", QByteArray("\xFF\xFEH\0i\0", 6), {}, {}, {}, "UTF-16"},
        ReadCase{"Cp866",
                 QByteArray::fromHex("8da0a8aca5adaea2a0ada8a53b96a5ada00a8caeabaeaaae20e1a2a5a6a5"
                                     "a53b3130300a95aba5a13b35300a"),
                 {},
                 {},
                 {},
                 "Не удалось определить кодировку"},
        ReadCase{"BrokenUtf8AfterBom",
                 "\xEF\xBB\xBFНаименование\n\xC0\x80\n",
                 {},
                 {},
                 {},
                 "помечен как UTF-8"},
        ReadCase{"UnclosedQuote", "Наименование;Цена\n\"Молоко;1\n", {}, {}, {}, "кавычка открыта"},
        ReadCase{"LineOf10Megabytes", longLine(), {}, {}, {}, "длиннее 10 МБ"},
        ReadCase{"HundredThousandColumns", manyColumns(), {}, {}, {}, "больше 1000 столбцов"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CsvRead, ReportsAFileThatCannotBeOpened)
{
    const TableRead read = csv::readFile(QStringLiteral("/nonexistent/prices.csv"));
    EXPECT_TRUE(read.error.startsWith(QStringLiteral("Не удалось открыть файл")))
        << read.error.toStdString();
}

} // namespace
