#include "backup/database_backup.h"
#include "backup/database_validation.h"
#include "backup/validation_report.h"
#include "data/database_file.h"
#include "data/fb_connection.h"
#include "data/fb_statement.h"
#include "temp_database.h"

#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <optional>

namespace {

// The on-disk page layout the damage is aimed with: every page starts with its type; a data
// page names its table's id, an index page its table's id further on.
constexpr int kPageSizeOffset = 16;
constexpr char kDataPage = 5;
constexpr char kIndexPage = 7;
constexpr int kDataPageTableOffset = 20;
constexpr int kIndexPageTableOffset = 28;
constexpr int kFirstTableId = 128; // the ids below are the engine's own tables

quint16 littleEndian16(const QByteArray &bytes, qsizetype at)
{
    return quint16(quint8(bytes[at]) | quint8(bytes[at + 1]) << 8);
}

struct Page {
    qint64 number;
    int tableId;
};

// The first page of `type` that belongs to a table of the program, past the first few.
std::optional<Page> findPage(const QByteArray &file, int pageSize, char type, int tableOffset)
{
    for (qint64 page = 4; (page + 1) * pageSize <= file.size(); ++page) {
        const qsizetype at = page * pageSize;
        const int table = littleEndian16(file, at + tableOffset);
        if (file[at] == type && table >= kFirstTableId)
            return Page{page, table};
    }
    return std::nullopt;
}

QString tableName(const QString &path, int tableId)
{
    FbConnection connection;
    connection.attach(path, database::userName(), database::password());
    FbTransaction transaction(connection);
    transaction.start();
    const QString name =
        FbStatement::scalar(transaction, QStringLiteral("SELECT TRIM(RDB$RELATION_NAME) FROM "
                                                        "RDB$RELATIONS WHERE RDB$RELATION_ID "
                                                        "= %1")
                                             .arg(tableId))
            .toString();
    transaction.commit();
    return name;
}

struct Damage {
    const char *name;
    char pageType;
    int tableOffset;
    int garbageFrom; // where in the page the garbage starts: 0 overwrites its header too
    const char *plainWords;
};

TEST(DamagedDatabase, ValidationTellsWhichTableIsDamagedInPlainWords)
{
    const Damage cases[] = {
        {"records of a data page", kDataPage, kDataPageTableOffset, 24,
         "испорчена запись на странице данных"},
        {"a whole data page", kDataPage, kDataPageTableOffset, 0, "испорчена: на её месте чужие"},
        {"entries of an index page", kIndexPage, kIndexPageTableOffset, 40, "испорчен индекс"},
    };
    for (const Damage &damage : cases) {
        SCOPED_TRACE(damage.name);
        TempDatabase database(TempDatabase::Demo);
        QFile file(database.path());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const QByteArray bytes = file.readAll();
        const int pageSize = littleEndian16(bytes, kPageSizeOffset);
        ASSERT_GE(pageSize, 1024);
        const std::optional<Page> page =
            findPage(bytes, pageSize, damage.pageType, damage.tableOffset);
        ASSERT_TRUE(page);
        file.close();
        const QString table = tableName(database.path(), page->tableId);
        ASSERT_FALSE(table.isEmpty());

        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        QByteArray garbage(pageSize - damage.garbageFrom, '\0');
        QRandomGenerator random(7);
        for (char &byte : garbage)
            byte = char(random.bounded(256));
        ASSERT_TRUE(file.seek(page->number * pageSize + damage.garbageFrom));
        ASSERT_EQ(file.write(garbage), garbage.size());
        file.close();

        const zbackup::Validation validation = zbackup::validateDatabase(database.path());
        EXPECT_TRUE(validation.checked) << validation.message.toStdString();
        EXPECT_FALSE(validation.findings.isEmpty());
        EXPECT_TRUE(validation.message.startsWith(
            QStringLiteral("В базе данных найдены повреждения:\n— таблица %1 (ошибок: ")
                .arg(table)))
            << validation.message.toStdString();
        EXPECT_TRUE(validation.message.contains(QString::fromUtf8(damage.plainWords)))
            << validation.message.toStdString();
        EXPECT_TRUE(validation.message.contains(QStringLiteral("Восстановить из копии")));
    }
}

TEST(ValidationReport, TheEnginesLinesInPlainWords)
{
    const struct {
        const char *name;
        QStringList output;
        QString report; // its first lines, up to the advice
    } cases[] = {
        {"sound",
         {QStringLiteral("01:27:34.46 Validation started"),
          QStringLiteral("01:27:34.46 Relation 128 (DOCS)"),
          QStringLiteral("01:27:34.46 Relation 128 (DOCS) is ok"),
          QStringLiteral("01:27:34.47 Validation finished")},
         QStringLiteral("ошибок не найдено")},
        {"faults grouped under their table",
         {QStringLiteral("01:27:42.94 Error: Page 187 wrong type (expected index B-tree "
                         "encountered unknown (28))"),
          QStringLiteral("01:27:42.94 Error: Index 1 is corrupt on page 187 level 228"),
          QStringLiteral("01:27:42.94 Error: Index 1 is corrupt {missing entries for record 0}"),
          QStringLiteral("01:27:42.94 Relation 128 (DOCS) : 3 ERRORS found"),
          QStringLiteral("01:27:42.95 Relation 129 (DETAILDOCS) is ok")},
         QStringLiteral("В базе данных найдены повреждения:\n— таблица DOCS (ошибок: 3): "
                        "страница 187 испорчена: на её месте чужие данные; испорчен индекс 1: "
                        "поиск и порядок строк могут быть неверными.")},
        {"a fault of no table, in the engine's words",
         {QStringLiteral("Error: Transaction inventory pages lost"),
          QStringLiteral("Error: Something new 5"), QStringLiteral("Warning: Page 7 is an orphan")},
         QStringLiteral("В базе данных найдены повреждения:\n— испорчен учёт транзакций базы "
                        "данных.\n— Something new 5.\n— страница 7 учтена неверно (занимает "
                        "место, данные не затронуты).")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString report = zbackup::validationReport(zbackup::validationFaults(c.output));
        EXPECT_EQ(report.section(QStringLiteral("\nДанные этих таблиц"), 0, 0), c.report);
    }
}

} // namespace
