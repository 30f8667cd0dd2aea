#include "data/tdm.h"
#include "temp_database.h"
#include "ui/db_grid.h"
#include "window_driver.h"

#include <QHeaderView>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

class Grid : public ::testing::Test {
protected:
    void SetUp() override
    {
        dm.DataModuleCreate(db.path());
        for (Dataset *dataset : dm.mainDatasets())
            dataset->open();
        grid.resize(800, 300);
        grid.setDataset(dm.DSetDocs, {{QStringLiteral("NUMSCH"), QStringLiteral("№счета"), 50},
                                      {QStringLiteral("NAMEORG"), {}, 200}});
        grid.show();
    }

    TempDatabase db{TempDatabase::Demo};
    TDM dm;
    DbGrid grid;
};

TEST_F(Grid, CurrentRowIsOneWithTheDatasetBothWays)
{
    clickRow(grid, 2);
    EXPECT_EQ(dm.DSetDocs->currentIndex(), 2);
    EXPECT_EQ(dm.DSetDocs->asInteger(QStringLiteral("NUMSCH")), 3);

    dm.DSetDocs->first();
    EXPECT_EQ(grid.currentIndex().row(), 0);
    dm.DSetDocs->append();
    EXPECT_EQ(grid.currentIndex().row(), 4) << "a new row is current in the grid too";
    dm.DSetDocs->cancel();
    dm.DSetDocs->last();
    dm.DSetDocs->remove();
    EXPECT_EQ(grid.currentIndex().row(), dm.DSetDocs->currentIndex());
    EXPECT_TRUE(grid.selectionModel()->isRowSelected(grid.currentIndex().row(), {}));
}

TEST_F(Grid, ColumnsKeepTheirTitlesAndWidthsWhenTheDatasetReopens)
{
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(),
              QStringLiteral("Наименование компании"));
    EXPECT_EQ(grid.columnWidth(0), 50);
    grid.horizontalHeader()->resizeSection(1, 321);
    dm.DSetDocs->close();
    dm.DSetDocs->open();
    EXPECT_EQ(grid.columnWidth(0), 50);
    EXPECT_EQ(grid.columnWidth(1), 321);

    QSignalSpy titles(&grid, &DbGrid::titleClicked);
    clickTitle(grid, 1);
    ASSERT_EQ(titles.size(), 1);
    EXPECT_EQ(grid.fieldName(titles.front().front().toInt()), QStringLiteral("NAMEORG"));
}

TEST_F(Grid, ColumnsWithoutAPixelWidthTakeTheirFieldsWidthInCharacters)
{
    DbGrid lines;
    lines.setDataset(dm.DSetDetail);
    const int name = lines.datasetModel()->columnOfField(QStringLiteral("NAME"));
    const int unit = lines.datasetModel()->columnOfField(QStringLiteral("EDIZM"));
    ASSERT_GE(name, 0);
    EXPECT_GE(lines.columnWidth(name),
              45 * lines.fontMetrics().horizontalAdvance(QLatin1Char('0')));
    EXPECT_LT(lines.columnWidth(unit), lines.columnWidth(name));
}

} // namespace
