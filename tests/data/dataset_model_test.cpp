#include "data/dataset_model.h"
#include "data/tdm.h"
#include "temp_database.h"
#include "unreadable_row.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

TEST(DatasetModel, BehavesAsAModelThroughOpenFetchEditAndClose)
{
    TempDatabase db;
    TDM dm;
    dm.DataModuleCreate(db.path());
    dm.DSetKNP->open();
    DatasetModel model(dm.DSetKNP);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    EXPECT_EQ(model.columnCount(), 2) << "the hidden key is not a column";
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("КНП"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, DatasetModel::DisplayWidthRole).toInt(), 50);

    for (int i = 0; i < 300; ++i) {
        dm.DSetKNP->append();
        dm.DSetKNP->setValue(QStringLiteral("KNP"), QString::number(1000 + i));
        dm.DSetKNP->post();
    }
    EXPECT_EQ(model.rowCount(), 300);

    model.setEditable(true);
    EXPECT_TRUE(model.setData(model.index(5, 1), QStringLiteral("описание"), Qt::EditRole));
    EXPECT_EQ(dm.DSetKNP->currentIndex(), 5);
    dm.DSetKNP->first(); // posts
    EXPECT_EQ(model.data(model.index(5, 1), Qt::DisplayRole).toString(),
              QStringLiteral("описание"));

    dm.DSetKNP->remove();
    EXPECT_EQ(model.rowCount(), 299);
    dm.DSetKNP->setFieldVisible(QStringLiteral("NAME"), false);
    EXPECT_EQ(model.columnCount(), 1);
    dm.DSetKNP->close();
    EXPECT_EQ(model.rowCount(), 0);
}

// The model tester of this Qt version fetches from inside the reset notification, which
// no fetching model can satisfy; the lazy rows are checked here without it.
TEST(DatasetModel, GrowsAsTheGridFetchesMoreRows)
{
    TempDatabase db;
    TDM dm;
    dm.DataModuleCreate(db.path());
    dm.DSetKNP->open();
    for (int i = 0; i < 600; ++i) {
        dm.DSetKNP->append();
        dm.DSetKNP->setValue(QStringLiteral("KNP"), QString::number(1000 + i));
        dm.DSetKNP->post();
    }
    dm.TsnRW.commit();
    dm.DSetKNP->close();
    DatasetModel model(dm.DSetKNP);
    dm.DSetKNP->open();
    EXPECT_LT(model.rowCount(), 600);
    while (model.canFetchMore({}))
        model.fetchMore({});
    EXPECT_EQ(model.rowCount(), 600);
    EXPECT_EQ(model.data(model.index(599, 0), Qt::DisplayRole).toString(), QStringLiteral("1599"));
}

// Database errors met inside the view's calls stay in the model: a fetch that fails and a cell
// text the database cannot take are reported through failed(), and nothing is thrown into the
// view. A failed fetch is not tried again until the rows are read anew.
TEST(DatasetModel, ReportsDatabaseErrorsOfItsViewsCallsInsteadOfThrowingThem)
{
    TempDatabase db;
    TDM dm;
    dm.DataModuleCreate(db.path());
    knpUnreadableAtRow(dm, 600, 500);
    dm.DSetKNP->open();
    DatasetModel model(dm.DSetKNP);
    QSignalSpy failures(&model, &DatasetModel::failed);

    while (model.canFetchMore({}))
        EXPECT_NO_THROW(model.fetchMore({}));
    ASSERT_TRUE(failures.wait(1000));
    EXPECT_EQ(failures.size(), 1);
    EXPECT_LT(model.rowCount(), 500);
    EXPECT_FALSE(model.canFetchMore({}));

    model.setEditable(true);
    EXPECT_FALSE(model.setData(model.index(0, 1), QStringLiteral("Аренда 中"), Qt::EditRole));
    EXPECT_EQ(failures.size(), 2);
    EXPECT_TRUE(failures.last().first().toString().contains(QStringLiteral("中")));

    dm.DSetKNP->close();
    dm.DSetKNP->open();
    EXPECT_TRUE(model.canFetchMore({})) << "read anew, the rows may be fetched again";
}
