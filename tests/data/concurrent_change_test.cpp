#include "data/database_file.h"
#include "data/db_error.h"
#include "data/fb_connection.h"
#include "data/fb_statement.h"
#include "temp_database.h"

#include <gtest/gtest.h>

namespace {

void renameFirstDocument(FbTransaction &transaction, const QString &name)
{
    FbStatement update(transaction);
    update.prepare(QStringLiteral(
        "UPDATE DOCS SET NAMEORG = :NAMEORG WHERE KOD = (SELECT MIN(KOD) FROM DOCS)"));
    update.setParameter(0, name);
    update.execute();
}

QString firstDocumentName(FbTransaction &transaction)
{
    FbStatement select(transaction);
    select.prepare(
        QStringLiteral("SELECT NAMEORG FROM DOCS WHERE KOD = (SELECT MIN(KOD) FROM DOCS)"));
    select.execute();
    return select.fetch() ? select.value(0).toString() : QString();
}

} // namespace

// Two users change one document: the second is told in plain words what happened and what to
// do, keeps a working transaction, and succeeds once the first user's change is committed.
TEST(ConcurrentChange, TheSecondUserIsToldAndCanRetryAfterTheFirstCommits)
{
    TempDatabase db(TempDatabase::Demo);
    FbConnection first, second;
    first.attach(db.path(), database::userName(), database::password());
    second.attach(db.path(), database::userName(), database::password());
    FbTransaction firstWork(first), secondWork(second);
    firstWork.start();
    secondWork.start();

    renameFirstDocument(firstWork, QStringLiteral("ТОО «Первый»"));
    try {
        renameFirstDocument(secondWork, QStringLiteral("ТОО «Второй»"));
        FAIL() << "the second change went through while the first was not committed";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().startsWith(
            QStringLiteral("Эти данные сейчас изменяет другой пользователь")))
            << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral("«Запрос»")));
    }

    firstWork.commit();
    EXPECT_EQ(firstDocumentName(secondWork), QStringLiteral("ТОО «Первый»"));
    renameFirstDocument(secondWork, QStringLiteral("ТОО «Второй»"));
    secondWork.commit();

    FbTransaction check(first);
    check.start();
    EXPECT_EQ(firstDocumentName(check), QStringLiteral("ТОО «Второй»"));
}
