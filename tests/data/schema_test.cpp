#include "data/database_file.h"
#include "data/fb_statement.h"
#include "data/tables.h"
#include "temp_database.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString trimmedText(const QVariant &v)
{
    return v.toString().trimmed();
}

struct Attached {
    FbConnection connection;
    FbTransaction transaction{connection};
    explicit Attached(const QString &path)
    {
        connection.attach(path, database::userName(), database::password());
        transaction.start();
    }
    std::vector<std::vector<QVariant>> rows(const QString &sql, const QVariant &parameter = {})
    {
        FbStatement st(transaction);
        st.prepare(sql);
        if (!st.parameterNames().isEmpty())
            st.setParameter(0, parameter);
        st.execute();
        std::vector<std::vector<QVariant>> result;
        while (st.fetch()) {
            std::vector<QVariant> row;
            for (int c = 0; c < st.columnCount(); ++c)
                row.push_back(st.value(c));
            result.push_back(row);
        }
        return result;
    }
};

int firebirdType(FieldType type)
{
    switch (type) {
    case FieldType::SmallInt:
        return 7;
    case FieldType::Integer:
        return 8;
    case FieldType::Float:
        return 27;
    case FieldType::DateTime:
        return 35;
    case FieldType::Text:
        return 37;
    }
    return 0;
}

TEST(Schema, NewDatabaseHasEveryTableColumnAndGeneratorAndNoRows)
{
    TempDatabase db;
    Attached a(db.path());
    for (const TableDef *table : allTables()) {
        SCOPED_TRACE(table->name.toStdString());
        const auto columns = a.rows(
            QStringLiteral("select rf.RDB$FIELD_NAME, f.RDB$FIELD_TYPE, f.RDB$FIELD_LENGTH, "
                           "rf.RDB$NULL_FLAG from RDB$RELATION_FIELDS rf join RDB$FIELDS f on "
                           "f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE where rf.RDB$RELATION_NAME = "
                           ":T order by rf.RDB$FIELD_POSITION"),
            table->name);
        ASSERT_EQ(columns.size(), table->columns.size());
        for (size_t i = 0; i < columns.size(); ++i) {
            const ColumnDef &expected = table->columns[i];
            EXPECT_EQ(trimmedText(columns[i][0]), expected.name);
            EXPECT_EQ(columns[i][1].toInt(), firebirdType(expected.type))
                << expected.name.toStdString();
            if (expected.type == FieldType::Text) {
                EXPECT_EQ(columns[i][2].toInt(), expected.size);
            }
            EXPECT_EQ(columns[i][3].toInt() == 1, expected.notNull) << expected.name.toStdString();
        }
        const auto key = a.rows(
            QStringLiteral("select s.RDB$FIELD_NAME from RDB$RELATION_CONSTRAINTS c join "
                           "RDB$INDEX_SEGMENTS s on s.RDB$INDEX_NAME = c.RDB$INDEX_NAME where "
                           "c.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY' and c.RDB$RELATION_NAME = :T"),
            table->name);
        ASSERT_EQ(key.size(), 1u);
        EXPECT_EQ(trimmedText(key[0][0]), QStringLiteral("KOD"));
        EXPECT_EQ(a.rows(QStringLiteral("select count(*) from ") + table->name)[0][0].toInt(), 0);
        EXPECT_EQ(a.rows(QStringLiteral("select RDB$GENERATOR_NAME from RDB$GENERATORS where "
                                        "RDB$GENERATOR_NAME = :G"),
                         table->generator())
                      .size(),
                  1u);
    }
}

TEST(Schema, DatesKeepTheirTimeOfDay)
{
    TempDatabase db;
    Attached a(db.path());
    a.rows(QStringLiteral("insert into DOCS (KOD, DATASCH) values (1, '2026-03-02 13:05:07')"));
    const auto rows = a.rows(QStringLiteral("select DATASCH from DOCS"));
    EXPECT_EQ(rows[0][0].toDateTime().time(), QTime(13, 5, 7));
}

int runCli(const QStringList &args, QString *errors = nullptr)
{
    QProcess process;
    process.start(QStringLiteral(ZARNIK_CLI), args);
    process.waitForFinished(60000);
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError());
    return process.exitCode();
}

TEST(InitDb, RefusesAnExistingFileAndLeavesItUntouched)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ZNDB1.2.GDB"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("my precious data");
    file.close();
    QString errors;
    EXPECT_EQ(runCli({QStringLiteral("init-db"), path}, &errors), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("already exists")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("my precious data"));
}

TEST(InitDb, DemoHoldsDocumentsWithLinesAndAnArchivedOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("demo.gdb"));
    ASSERT_EQ(runCli({QStringLiteral("init-db"), QStringLiteral("--demo"), path}), 0);
    Attached a(path);
    EXPECT_GE(a.rows(QStringLiteral("select count(*) from DOCS where KODARCHIV=0"))[0][0].toInt(),
              3);
    EXPECT_EQ(a.rows(QStringLiteral("select count(*) from DOCS where KODARCHIV=1"))[0][0].toInt(),
              1);
    EXPECT_EQ(a.rows(QStringLiteral("select count(distinct TIP) from CLIENTS"))[0][0].toInt(), 3);
    EXPECT_EQ(a.rows(QStringLiteral("select count(*) from REKVIZITY where STNDS=16"))[0][0].toInt(),
              1);
    EXPECT_EQ(a.rows(QStringLiteral("select count(*) from DOCS d where SUMTOV <> (select count(*) "
                                    "from DETAILDOCS l where l.KODDOCS = d.KOD)"))[0][0]
                  .toInt(),
              0);
}

TEST(InitDb, UnusableArgumentsGiveTheUsage)
{
    EXPECT_EQ(runCli({QStringLiteral("init-db")}), 2);
    EXPECT_EQ(runCli({QStringLiteral("init-db"), QStringLiteral("--bogus"), QStringLiteral("x")}),
              2);
}

} // namespace
