// The images of the business in the database: the table an older file gains on opening, and
// what a slot gives back after it was stored, replaced or removed.

#include "data/business_images.h"
#include "data/db_error.h"
#include "data/fb_statement.h"
#include "data/tdm.h"
#include "encoded_image.h"
#include "images/business_image.h"
#include "server_database.h"
#include "temp_database.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

bool hasImagesTable(FbConnection &connection)
{
    FbTransaction transaction(connection);
    transaction.start();
    const QVariant found = FbStatement::scalar(
        transaction,
        QStringLiteral("SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'IMAGES'"));
    transaction.commit();
    return !found.isNull();
}

void executeOn(FbConnection &connection, const QString &sql)
{
    FbTransaction transaction(connection);
    transaction.start();
    FbStatement statement(transaction);
    statement.prepare(sql);
    statement.execute();
    transaction.commit();
}

// Bytes that no codec touches, of a given length.
QByteArray pattern(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xff);
    return bytes;
}

TEST(BusinessImages, AnOlderDatabaseGainsTheTableOnOpeningAndKeepsItsImages)
{
    TempDatabase db(TempDatabase::Demo);
    {
        // A file made before images were kept has the eight tables only.
        FbConnection connection;
        connection.attach(db.path(), database::userName(), database::password());
        executeOn(connection, QStringLiteral("DROP TABLE IMAGES"));
        ASSERT_FALSE(hasImagesTable(connection));
        EXPECT_TRUE(BusinessImages(connection).load(QStringLiteral("stamp")).isNull());
        try {
            BusinessImages(connection).store(QStringLiteral("stamp"), "x");
            ADD_FAILURE() << "stored into a table that is not there";
        } catch (const DbError &e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("нет таблицы изображений")))
                << e.message().toStdString();
        }
    }
    QImage ring(40, 40, QImage::Format_ARGB32);
    ring.fill(Qt::transparent);
    const QByteArray stamp = encodedImage(ring, "PNG");
    {
        TDM dm;
        dm.DataModuleCreate(db.path());
        ASSERT_TRUE(hasImagesTable(dm.ZNDB));
        BusinessImages(dm.ZNDB).store(QStringLiteral("stamp"), stamp);
        // The data module's own work goes on beside it.
        dm.DSetDocs->open();
        EXPECT_FALSE(dm.DSetDocs->isEmpty());
    }
    TDM dm;
    dm.DataModuleCreate(db.path());
    EXPECT_EQ(BusinessImages(dm.ZNDB).load(QStringLiteral("stamp")), stamp);
}

TEST(BusinessImages, ADatabaseOfAnotherProgramIsLeftAsItIs)
{
    TempDatabase folder;
    const QString path = folder.folder() + QStringLiteral("/other.gdb");
    FbConnection::create(path, database::userName(), database::password());
    TDM dm;
    dm.DataModuleCreate(path);
    EXPECT_FALSE(hasImagesTable(dm.ZNDB));
}

TEST(BusinessImages, EachSlotGivesBackWhatWasStoredLast)
{
    TempDatabase db;
    TDM dm;
    dm.DataModuleCreate(db.path());
    BusinessImages images(dm.ZNDB);

    // A small JPEG is stored as the file holds it, byte for byte.
    QImage photo(320, 200, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    const QByteArray jpegFile = encodedImage(photo, "JPG");
    const zimages::LoadedImage jpeg = zimages::loadBusinessImage(jpegFile, zimages::Slot::Logo, {});
    ASSERT_TRUE(jpeg.ok()) << jpeg.error.toStdString();

    struct Case {
        const char *name;
        QByteArray image;
    };
    const Case cases[] = {
        {"a JPEG passed through", jpeg.data},
        {"one segment exactly", pattern(32768)},
        {"one byte over a segment", pattern(32769)},
        {"a few megabytes", pattern(3 * 1024 * 1024 + 5)},
        {"a single byte", QByteArray("\0", 1)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        images.store(QStringLiteral("logo"), c.image);
        EXPECT_EQ(images.load(QStringLiteral("logo")), c.image);
    }
    EXPECT_EQ(images.load(QStringLiteral("logo")), QByteArray("\0", 1));
    EXPECT_EQ(jpeg.data, jpegFile);

    EXPECT_TRUE(images.load(QStringLiteral("head")).isNull()) << "never stored";
    images.store(QStringLiteral("head"), pattern(100));
    images.remove(QStringLiteral("logo"));
    EXPECT_TRUE(images.load(QStringLiteral("logo")).isNull());
    EXPECT_EQ(images.load(QStringLiteral("head")), pattern(100)) << "other slots stay";
    images.remove(QStringLiteral("logo")); // removing an empty slot is no error
}

TEST(BusinessImages, OnAServerTheTableIsMadeAndAnImageTravelsWhole)
{
    ServerDatabase db;
    SKIP_WITHOUT_SERVER(db);
    TDM dm;
    dm.DataModuleCreate(db.location(), ServerDatabase::testUser());
    ASSERT_TRUE(hasImagesTable(dm.ZNDB));
    const QByteArray image = pattern(200000);
    BusinessImages(dm.ZNDB).store(QStringLiteral("stamp"), image);
    EXPECT_EQ(BusinessImages(dm.ZNDB).load(QStringLiteral("stamp")), image);
}

TEST(BusinessImages, AValueLargerThanTheReaderTakesIsRefused)
{
    TempDatabase db;
    TDM dm;
    dm.DataModuleCreate(db.path());
    BusinessImages(dm.ZNDB).store(QStringLiteral("stamp"), pattern(70000));
    FbTransaction transaction(dm.ZNDB);
    transaction.start();
    FbStatement select(transaction);
    select.prepare(QStringLiteral("SELECT DATA FROM IMAGES"));
    for (const qsizetype cap : {qsizetype(69999), qsizetype(32768), qsizetype(0)}) {
        SCOPED_TRACE(cap);
        select.execute();
        ASSERT_TRUE(select.fetch());
        EXPECT_THROW(select.blob(0, cap), DbError);
    }
    select.execute();
    ASSERT_TRUE(select.fetch());
    EXPECT_EQ(select.blob(0, 70000), pattern(70000));
    select.closeCursor();
    transaction.commit();
}

} // namespace
