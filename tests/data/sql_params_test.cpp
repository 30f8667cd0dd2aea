#include "data/sql_params.h"
#include "param_names.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct Case {
    const char *sql;
    const char *positional;
    QStringList names;
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.sql;
}

class PositionalSqlTest : public ::testing::TestWithParam<Case> {};

TEST_P(PositionalSqlTest, RewritesNamedParametersOnly)
{
    const Case &c = GetParam();
    const PositionalSql result = toPositionalSql(QString::fromUtf8(c.sql));
    EXPECT_EQ(result.sql, QString::fromUtf8(c.positional));
    EXPECT_EQ(result.parameterNames, c.names);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PositionalSqlTest,
    ::testing::Values(
        Case{"select * from T where KODDOCS=:KOD order by NUM",
             "select * from T where KODDOCS=? order by NUM",
             {"KOD"}},
        Case{"update T set A = :A where KOD = :OLD_KOD",
             "update T set A = ? where KOD = ?",
             {"A", "OLD_KOD"}},
        Case{"select ':X', \":Y\" from T where a = :Z",
             "select ':X', \":Y\" from T where a = ?",
             {"Z"}},
        Case{"select 'it''s :X' from T where a=:A", "select 'it''s :X' from T where a=?", {"A"}},
        Case{"select 1 -- :NOT\nfrom T /* :NOR */ where b=:B",
             "select 1 -- :NOT\nfrom T /* :NOR */ where b=?",
             {"B"}},
        Case{"select 'unterminated :X", "select 'unterminated :X", {}}),
    ztest::PrintedName());

} // namespace
