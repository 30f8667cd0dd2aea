#include "data/tables.h"
#include "data/update_sql.h"

#include <gtest/gtest.h>

TEST(UpdateSql, KnpStatementsAreExactlyTheRegisteredLines)
{
    const UpdateSql sql = makeUpdateSql(knpTable());
    EXPECT_EQ(sql.insertSql, QStringLiteral("insert into KNP\n  (KNP, KOD, NAME)\nvalues\n"
                                            "  (:KNP, :KOD, :NAME)"));
    EXPECT_EQ(sql.modifySql, QStringLiteral("update KNP\nset\n  KNP = :KNP,\n  KOD = :KOD,\n"
                                            "  NAME = :NAME\nwhere\n  KOD = :OLD_KOD"));
    EXPECT_EQ(sql.deleteSql, QStringLiteral("delete from KNP\nwhere\n  KOD = :OLD_KOD"));
    EXPECT_EQ(sql.refreshSql, QStringLiteral("Select \n  KOD,\n  KNP,\n  NAME\nfrom KNP \nwhere\n"
                                             "  KOD = :KOD"));
}

TEST(UpdateSql, InsertListsEveryColumnAlphabetically)
{
    const UpdateSql sql = makeUpdateSql(detailDocsTable());
    EXPECT_TRUE(sql.insertSql.startsWith(
        QStringLiteral("insert into DETAILDOCS\n  (CENASHT, CENASUMBEZNDS, EDIZM, KOD, KODDOCS, "
                       "KOLVO, NAME, NUM, STAKCIZ, STNDS, STREALIZ, SUMAKCIZ, SUMNDS)")));
}
