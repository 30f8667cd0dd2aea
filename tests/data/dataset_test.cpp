#include "data/date_time.h"
#include "data/db_error.h"
#include "data/tdm.h"
#include "data_module_test.h"

#include <QLocale>

#include <set>

#include <gtest/gtest.h>

namespace {

class DatasetTest : public DataModuleTest {
protected:
    qint64 addKnp(const QString &code, const QString &name = {})
    {
        dm.DSetKNP->append();
        dm.DSetKNP->setValue(QStringLiteral("KNP"), code);
        dm.DSetKNP->setValue(QStringLiteral("NAME"), name);
        dm.DSetKNP->post();
        return dm.DSetKNP->asInteger(QStringLiteral("KOD"));
    }
    void reopen(Dataset *d)
    {
        d->close();
        d->open();
    }
};

TEST_F(DatasetTest, InsertPostLocateAndDelete)
{
    const qint64 a = addKnp(QStringLiteral("710"));
    const qint64 b = addKnp(QStringLiteral("859"));
    EXPECT_EQ(b, a + 1);
    reopen(dm.DSetKNP);
    EXPECT_EQ(dm.DSetKNP->recordCount(), 2);
    EXPECT_EQ(dm.DSetKNP->asString(QStringLiteral("KNP")), QStringLiteral("710"));

    EXPECT_TRUE(dm.DSetKNP->locate(b));
    EXPECT_EQ(dm.DSetKNP->asString(QStringLiteral("KNP")), QStringLiteral("859"));
    EXPECT_FALSE(dm.DSetKNP->locate(b + 100));
    EXPECT_EQ(dm.DSetKNP->asInteger(QStringLiteral("KOD")), b) << "a failed locate moves nothing";

    dm.DSetKNP->first();
    dm.DSetKNP->remove();
    EXPECT_EQ(dm.DSetKNP->asInteger(QStringLiteral("KOD")), b) << "the next row becomes current";
    reopen(dm.DSetKNP);
    EXPECT_EQ(dm.DSetKNP->recordCount(), 1);
}

TEST_F(DatasetTest, EditPostAndCancel)
{
    addKnp(QStringLiteral("710"), QStringLiteral("старое"));
    dm.DSetKNP->edit();
    dm.DSetKNP->setValue(QStringLiteral("NAME"), QStringLiteral("новое"));
    dm.DSetKNP->cancel();
    EXPECT_EQ(dm.DSetKNP->asString(QStringLiteral("NAME")), QStringLiteral("старое"));
    dm.DSetKNP->edit();
    dm.DSetKNP->setValue(QStringLiteral("NAME"), QStringLiteral("новое"));
    dm.DSetKNP->post();
    reopen(dm.DSetKNP);
    EXPECT_EQ(dm.DSetKNP->asString(QStringLiteral("NAME")), QStringLiteral("новое"));
}

TEST_F(DatasetTest, CancelledInsertStillConsumesItsKey)
{
    dm.DSetKNP->insert();
    const qint64 cancelled = dm.DSetKNP->asInteger(QStringLiteral("KOD"));
    dm.DSetKNP->cancel();
    EXPECT_TRUE(dm.DSetKNP->isEmpty());
    EXPECT_EQ(addKnp(QStringLiteral("1")), cancelled + 1);
}

TEST_F(DatasetTest, EditOnAnEmptyDatasetStartsANewRow)
{
    ASSERT_TRUE(dm.DSetRekvizity->isEmpty());
    dm.DSetRekvizity->edit();
    EXPECT_EQ(dm.DSetRekvizity->state(), Dataset::State::Insert);
    EXPECT_FALSE(dm.DSetRekvizity->isNull(QStringLiteral("KOD")));
}

TEST_F(DatasetTest, NullReadingsAndEmptyTextStoresNull)
{
    dm.DSetDocs->append();
    for (const char *column : {"NUMSCH", "STNDS", "DATASCH", "NAMEORG"})
        EXPECT_TRUE(dm.DSetDocs->isNull(QString::fromLatin1(column)));
    EXPECT_EQ(dm.DSetDocs->asInteger(QStringLiteral("NUMSCH")), 0);
    EXPECT_EQ(dm.DSetDocs->asFloat(QStringLiteral("STNDS")), 0.0);
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("NAMEORG")), QString());
    EXPECT_EQ(dm.DSetDocs->asDateTime(QStringLiteral("DATASCH")), datetime::zero());

    dm.DSetDocs->setAsString(QStringLiteral("NUMSCH"), QStringLiteral("12"));
    dm.DSetDocs->setAsString(QStringLiteral("NUMSCH"), QString());
    EXPECT_TRUE(dm.DSetDocs->isNull(QStringLiteral("NUMSCH")));
    dm.DSetDocs->setAsString(QStringLiteral("DATASCH"), QString());
    EXPECT_TRUE(dm.DSetDocs->isNull(QStringLiteral("DATASCH")));

    EXPECT_THROW(dm.DSetDocs->setAsString(QStringLiteral("NUMSCH"), QStringLiteral("12a")),
                 DbError);
    EXPECT_TRUE(dm.DSetDocs->isNull(QStringLiteral("NUMSCH"))) << "a refused text changes nothing";
}

TEST_F(DatasetTest, TextRoundTripsThroughTheSingleByteCodePage)
{
    const QString everything =
        QStringLiteral("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя "
                       "ӘәҒғҚқҢңӨөҰұҮүҺһІі №€ «» — \"quotes\" 'и' $|$");
    addKnp(QStringLiteral("1"), everything);
    dm.TsnRW.commit();
    reopen(dm.DSetKNP);
    EXPECT_EQ(dm.DSetKNP->asString(QStringLiteral("NAME")), everything);
}

TEST_F(DatasetTest, TextThatTheCodePageCannotHoldIsRefusedNotMangled)
{
    dm.DSetKNP->append();
    dm.DSetKNP->setValue(QStringLiteral("NAME"), QStringLiteral("Почта"));
    try {
        dm.DSetKNP->setValue(QStringLiteral("NAME"), QStringLiteral("Қазақстан ² 中"));
        ADD_FAILURE() << "a text the code page cannot hold was taken";
    } catch (const DbError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Текст поля «Описание КНП» содержит символы, "
                                              "которые нельзя сохранить в базе данных: ²中"));
    }
    EXPECT_EQ(dm.DSetKNP->asString(QStringLiteral("NAME")), QStringLiteral("Почта"));
}

TEST_F(DatasetTest, AStatementErrorLeavesTheRowBeingEdited)
{
    const qint64 kod = addKnp(QStringLiteral("1"));
    dm.DSetKNP->append();
    dm.DSetKNP->setValue(QStringLiteral("KOD"), int(kod)); // a key that is taken
    dm.DSetKNP->setValue(QStringLiteral("KNP"), QStringLiteral("2"));
    EXPECT_THROW(dm.DSetKNP->post(), DbError);
    EXPECT_EQ(dm.DSetKNP->state(), Dataset::State::Insert);
    EXPECT_EQ(dm.DSetKNP->asString(QStringLiteral("KNP")), QStringLiteral("2"));
    dm.DSetKNP->setValue(QStringLiteral("KOD"), int(kod + 50));
    EXPECT_NO_THROW(dm.DSetKNP->post());
}

TEST_F(DatasetTest, DetailFollowsItsMaster)
{
    std::vector<qint64> docs;
    for (int n = 1; n <= 2; ++n) {
        dm.DSetDocs->append();
        dm.DSetDocs->setValue(QStringLiteral("NUMSCH"), n);
        dm.DSetDocs->post();
        docs.push_back(dm.DSetDocs->asInteger(QStringLiteral("KOD")));
        for (int line = 1; line <= n; ++line) {
            dm.DSetDetail->append();
            EXPECT_EQ(dm.DSetDetail->asInteger(QStringLiteral("KODDOCS")), docs.back());
            dm.DSetDetail->setValue(QStringLiteral("NUM"), line);
            dm.DSetDetail->post();
        }
    }
    reopen(dm.DSetDocs);
    EXPECT_EQ(dm.DSetDetail->recordCount(), 1);
    dm.DSetDocs->next();
    EXPECT_EQ(dm.DSetDetail->recordCount(), 2);
    dm.DSetDocs->first();
    EXPECT_EQ(dm.DSetDetail->recordCount(), 1);

    // A new document has its key at once and no lines; lines added before it is posted
    // carry that key and are stored at once.
    dm.DSetDocs->insert();
    EXPECT_TRUE(dm.DSetDetail->isEmpty());
    const qint64 fresh = dm.DSetDocs->asInteger(QStringLiteral("KOD"));
    dm.DSetDetail->append();
    dm.DSetDetail->post();
    EXPECT_EQ(dm.DSetDetail->asInteger(QStringLiteral("KODDOCS")), fresh);
    dm.DSetDocs->cancel();
}

TEST_F(DatasetTest, MovingAwayPostsAChangedRowAndDropsAnUnchangedOne)
{
    addKnp(QStringLiteral("1"));
    addKnp(QStringLiteral("2"));
    dm.DSetKNP->first();
    dm.DSetKNP->edit();
    dm.DSetKNP->setValue(QStringLiteral("NAME"), QStringLiteral("изменено"));
    dm.DSetKNP->next();
    EXPECT_EQ(dm.DSetKNP->state(), Dataset::State::Browse);
    reopen(dm.DSetKNP);
    EXPECT_EQ(dm.DSetKNP->asString(QStringLiteral("NAME")), QStringLiteral("изменено"));
}

TEST_F(DatasetTest, LargeResultIsFetchedLazilyAndNeverListsARowTwice)
{
    for (int i = 0; i < 300; ++i) {
        dm.DSetDocs->append();
        dm.DSetDocs->setValue(QStringLiteral("NUMSCH"), i);
        dm.DSetDocs->post();
    }
    dm.TsnRW.commit();
    reopen(dm.DSetDocs);
    EXPECT_LT(dm.DSetDocs->rowCount(), 300) << "opening reads only what it shows";
    EXPECT_TRUE(dm.DSetDocs->canFetchMore());

    // Renumber the first row so that the still-open cursor, walking the number order,
    // meets it again further on; add one that it would meet too.
    dm.DSetDocs->edit();
    dm.DSetDocs->setValue(QStringLiteral("NUMSCH"), 10000);
    dm.DSetDocs->post();
    dm.DSetDocs->insert();
    dm.DSetDocs->setValue(QStringLiteral("NUMSCH"), 10001);
    dm.DSetDocs->post();
    EXPECT_EQ(dm.DSetDocs->recordCount(), 301);
    std::set<qint64> keys;
    for (int row = 0; row < dm.DSetDocs->rowCount(); ++row)
        keys.insert(dm.DSetDocs->valueAt(row, 0).toLongLong());
    EXPECT_EQ(keys.size(), 301u);
}

TEST_F(DatasetTest, LookupTelephoneComesFromTheClientListAsItIsFiltered)
{
    dm.clientsPage = 1;
    dm.DSetClients->append();
    dm.DSetClients->setValue(QStringLiteral("TIP"), 1);
    dm.DSetClients->setValue(QStringLiteral("NAMEORG"), QStringLiteral("ИП Петров"));
    dm.DSetClients->setValue(QStringLiteral("TEL"), QStringLiteral("555"));
    dm.DSetClients->post();
    dm.DSetDocs->append();
    dm.DSetDocs->setValue(QStringLiteral("NAMEORG"), QStringLiteral("ИП Петров"));
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("tel")), QStringLiteral("555"));
    dm.DSetDocs->post();
    dm.TsnRW.commit();
    reopen(dm.DSetClients); // organisations only
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("tel")), QString());
    dm.DSetClients->close();
    EXPECT_EQ(dm.DSetDocs->asString(QStringLiteral("tel")), QString());
}

TEST(DataModule, ShutdownCommitsWhatWasPosted)
{
    TempDatabase db;
    {
        TDM dm;
        dm.DataModuleCreate(db.path());
        dm.DSetKNP->open();
        dm.DSetKNP->append();
        dm.DSetKNP->setValue(QStringLiteral("KNP"), QStringLiteral("710"));
        dm.DSetKNP->post();
    }
    TDM dm;
    dm.DataModuleCreate(db.path());
    dm.DSetKNP->open();
    EXPECT_EQ(dm.DSetKNP->recordCount(), 1);
}

// The datasets keep their statements prepared between uses; another database opened by the same
// data module must not be read or written through the first one's statements.
TEST(DataModule, ReadsAndWritesTheDatabaseItWasSwitchedTo)
{
    TempDatabase first, second;
    TDM dm;
    const auto addCode = [&dm](const QString &code) {
        dm.DSetKNP->open();
        dm.DSetKNP->append();
        dm.DSetKNP->setValue(QStringLiteral("KNP"), code);
        dm.DSetKNP->post();
        dm.TsnRW.commit();
    };
    dm.DataModuleCreate(first.path());
    addCode(QStringLiteral("710"));
    dm.DataModuleCreate(second.path());
    addCode(QStringLiteral("911"));
    dm.DSetKNP->close();
    dm.DSetKNP->open();
    EXPECT_EQ(dm.DSetKNP->recordCount(), 1);
    EXPECT_EQ(dm.DSetKNP->asString(QStringLiteral("KNP")), QStringLiteral("911"));
}

TEST(DataModule, OpeningAMissingOrForeignFileFails)
{
    QTemporaryDir dir;
    TDM dm;
    EXPECT_THROW(dm.DataModuleCreate(dir.filePath(QStringLiteral("none.gdb"))), DbError);
    QFile file(dir.filePath(QStringLiteral("text.gdb")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(16384, 'x'));
    file.close();
    EXPECT_THROW(dm.DataModuleCreate(file.fileName()), DbError);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray(16384, 'x'));
}

} // namespace
