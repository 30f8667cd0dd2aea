// The statements through which datasets write each table, run against a real database: what
// one inserts, refresh reads back, modify changes and delete removes.
#include "data/database_file.h"
#include "data/date_time.h"
#include "data/fb_connection.h"
#include "data/fb_statement.h"
#include "data/tables.h"
#include "data/update_sql.h"
#include "temp_database.h"

#include <gtest/gtest.h>

namespace {

// A value of the column's type that the test can recognise: distinct per column and per turn.
QVariant sample(const ColumnDef &column, int turn)
{
    const int seed = int(qHash(column.name) % 1000) + turn;
    switch (column.type) {
    case FieldType::Integer:
    case FieldType::SmallInt:
        return column.name == QLatin1String("KOD") ? 7 : seed;
    case FieldType::Float:
        return seed + 0.25;
    case FieldType::DateTime:
        return datetime::make(QDate(2026, 1, 1).addDays(seed));
    case FieldType::Text:
        return QStringLiteral("%1 «%2»").arg(column.name).arg(turn);
    }
    return {};
}

// Runs sql with every parameter taken from row (OLD_X from X); returns the statement, its
// cursor open for a select.
std::unique_ptr<FbStatement> run(FbTransaction &transaction, const QString &sql,
                                 const QVariantMap &row)
{
    auto statement = std::make_unique<FbStatement>(transaction);
    statement->prepare(sql);
    for (int i = 0; i < statement->parameterNames().size(); ++i) {
        QString name = statement->parameterNames()[i];
        if (name.startsWith(QLatin1String("OLD_")))
            name = name.mid(4);
        EXPECT_TRUE(row.contains(name)) << sql.toStdString() << " needs " << name.toStdString();
        statement->setParameter(i, row.value(name));
    }
    statement->execute();
    return statement;
}

QVariantMap readBack(FbTransaction &transaction, const TableDef &table, const QVariantMap &key)
{
    auto statement = run(transaction, makeUpdateSql(table).refreshSql, key);
    QVariantMap row;
    if (statement->fetch()) {
        for (int c = 0; c < statement->columnCount(); ++c)
            row.insert(statement->columnName(c), statement->value(c));
    }
    return row;
}

class UpdateStatements : public ::testing::TestWithParam<const TableDef &(*)()> {};

TEST_P(UpdateStatements, InsertRefreshModifyAndDeleteOneRow)
{
    const TableDef &table = GetParam()();
    TempDatabase db;
    FbConnection connection;
    connection.attach(db.path(), database::userName(), database::password());
    FbTransaction transaction(connection);
    transaction.start();
    const UpdateSql sql = makeUpdateSql(table);

    QVariantMap row;
    for (const ColumnDef &column : table.columns)
        row.insert(column.name, sample(column, 1));
    run(transaction, sql.insertSql, row);
    EXPECT_EQ(readBack(transaction, table, row), row);

    QVariantMap changed;
    for (const ColumnDef &column : table.columns)
        changed.insert(column.name, sample(column, 2));
    changed.insert(QStringLiteral("KOD"), row.value(QStringLiteral("KOD")));
    run(transaction, sql.modifySql, changed);
    EXPECT_EQ(readBack(transaction, table, row), changed);

    run(transaction, sql.deleteSql, row);
    EXPECT_TRUE(readBack(transaction, table, row).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Tables, UpdateStatements,
                         ::testing::Values(&docsTable, &detailDocsTable, &clientsTable,
                                           &rasschetTable, &osnovanieTable, &nomenklaturaTable,
                                           &knpTable, &rekvizityTable),
                         [](const auto &info) { return info.param().name.toStdString(); });

} // namespace
