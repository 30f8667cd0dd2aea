// Two users of one database on the server: whose change wins, what the other is told, and what
// is left of both.
#include "core/auto_number.h"
#include "core/number_check.h"
#include "data/conflict_errors.h"
#include "data/date_time.h"
#include "data/db_error.h"
#include "data/fb_statement.h"
#include "data/tdm.h"
#include "scoped_locale.h"
#include "server_database.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class TwoUsers : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_SERVER(db);
        for (TDM *user : {&first, &second}) {
            user->DataModuleCreate(db.location(), ServerDatabase::testUser());
            for (Dataset *dataset : user->mainDatasets())
                dataset->open();
        }
    }

    // Commits what a user has written and reads everything again, as "Запрос" does.
    static void query(TDM &user)
    {
        user.TsnRW.commit();
        user.closeAllDatasets();
        user.TsnRW.start();
        for (Dataset *dataset : user.mainDatasets())
            dataset->open();
    }

    // A new document of `user` with the invoice number the number button gives.
    static void newInvoice(TDM &user, const QString &client)
    {
        user.DSetDocs->append();
        user.DSetDocs->setValue(QStringLiteral("NAMEORG"), client);
        user.DSetDocs->setValue(QStringLiteral("DATASCH"), datetime::today());
        AutoNumber(user, NumberInvoice);
    }

    // The text of the DbError `work` throws; empty when it throws none.
    static QString errorOf(const std::function<void()> &work)
    {
        try {
            work();
        } catch (const DbError &e) {
            EXPECT_TRUE(conflict::isConflict(e)) << e.message().toStdString();
            return e.message();
        }
        return QString();
    }

    // The stored documents of a client, by its name and BIN.
    static int documentsOf(TDM &user, const QString &name, const QString &bin)
    {
        FbStatement stored(user.TsnRW);
        stored.prepare(
            QStringLiteral("select count(*) from DOCS where NAMEORG = :NAME and BINIIN = :BIN"));
        stored.setParameter(0, name);
        stored.setParameter(1, bin);
        stored.execute();
        return stored.fetch() ? stored.value(0).toInt() : -1;
    }

    ServerDatabase db{TempDatabase::Demo};
    TDM first, second;

private:
    ScopedLocale m_locale{QLocale(QLocale::Russian, QLocale::Kazakhstan)};
};

// Both users take the next invoice number at once: the second waits for the first to store
// its document, and then the clash is found with the next free number to offer.
TEST_F(TwoUsers, TheSecondOfTwoEqualNumbersIsFoundAndTheNextFreeOneOffered)
{
    newInvoice(first, QStringLiteral("ТОО «Первый»"));
    newInvoice(second, QStringLiteral("ТОО «Второй»"));
    const qint64 number = first.DSetDocs->asInteger(QStringLiteral("NUMSCH"));
    ASSERT_EQ(second.DSetDocs->asInteger(QStringLiteral("NUMSCH")), number);

    storeNumbered(first, [&] {
        EXPECT_TRUE(numberClashes(first).empty());
        first.DSetDocs->post();
        // The second user presses "ОК" while the first is storing.
        const QString told = errorOf([&] { storeNumbered(second, [] {}); });
        EXPECT_TRUE(told.startsWith(QStringLiteral("Другой пользователь сейчас записывает")))
            << told.toStdString();
    });
    first.TsnRW.commit();

    std::vector<NumberClash> clashes;
    storeNumbered(second, [&] {
        clashes = numberClashes(second);
        ASSERT_EQ(clashes.size(), 1u);
        second.DSetDocs->setValue(numberColumn(clashes[0].kind), clashes[0].nextFree);
        second.DSetDocs->post();
    });
    ASSERT_EQ(clashes.size(), 1u);
    EXPECT_EQ(clashQuestion(clashes[0]),
              QStringLiteral("Счет на оплату № %1 уже есть у другого документа (от %2, ТОО "
                             "«Первый»).\nПрисвоить этому документу следующий свободный номер %3?")
                  .arg(number)
                  .arg(datetime::today().date().toString(QStringLiteral("dd.MM.yyyy")))
                  .arg(number + 1));
    query(second);

    QList<qint64> numbers;
    for (second.DSetDocs->first(); !second.DSetDocs->eof(); second.DSetDocs->next())
        numbers << second.DSetDocs->asInteger(QStringLiteral("NUMSCH"));
    EXPECT_EQ(numbers.count(number), 1);
    EXPECT_EQ(numbers.count(number + 1), 1);
}

// The second user has a client picked into a new document when the first deletes the client:
// the document keeps what was picked and is stored whole.
TEST_F(TwoUsers, AClientDeletedWhileTheOtherHasItPickedLeavesTheDocumentWhole)
{
    Dataset &clients = *second.DSetClients;
    const QString name = clients.asString(QStringLiteral("NAMEORG"));
    const QString bin = clients.asString(QStringLiteral("BINIIN"));
    const int before = documentsOf(second, name, bin);
    newInvoice(second, name);
    second.DSetDocs->setValue(QStringLiteral("BINIIN"), bin);

    const qint64 kod = clients.asInteger(QStringLiteral("KOD"));
    ASSERT_TRUE(first.DSetClients->locate(kod));
    first.deleteClient();
    first.TsnRW.commit();

    storeNumbered(second, [&] { second.DSetDocs->post(); });
    query(second);
    EXPECT_FALSE(second.DSetClients->locate(kod));
    EXPECT_EQ(documentsOf(second, name, bin), before + 1);
}

// A record of a reference book or a document, and how a user deletes it.
struct RecordCase {
    const char *name;
    Dataset *TDM::*dataset;
    const char *column; // a text column the other user changes
    const char *title;  // how the messages name the record
    void (*remove)(TDM &);
};

void PrintTo(const RecordCase &c, std::ostream *os)
{
    *os << c.name;
}

class TwoUsersOnARecord : public TwoUsers, public ::testing::WithParamInterface<RecordCase> {
protected:
    Dataset &in(TDM &user) { return *(user.*GetParam().dataset); }
    QString column() const { return QString::fromLatin1(GetParam().column); }
    // The second line of a message about the record: what kind of record it is, then which.
    QString titleLine() const { return QLatin1Char('\n') + QString::fromUtf8(GetParam().title); }
    void change(TDM &user, const QString &text)
    {
        in(user).edit();
        in(user).setValue(column(), text);
        in(user).post();
    }
};

// A record the other user is changing (not yet committed) can be neither changed nor deleted:
// the message names it, and nothing of it is gone.
TEST_P(TwoUsersOnARecord, OneTheOtherIsChangingIsNamedAndKeptWhole)
{
    change(first, QStringLiteral("Изменено первым"));

    const QString changing = errorOf([&] { change(second, QStringLiteral("Изменено вторым")); });
    EXPECT_TRUE(changing.startsWith(QStringLiteral("Эти данные сейчас изменяет другой")));
    EXPECT_TRUE(changing.contains(titleLine())) << changing.toStdString();
    in(second).cancel();

    const QString deleting = errorOf([&] { GetParam().remove(second); });
    EXPECT_TRUE(deleting.contains(titleLine())) << deleting.toStdString();

    first.TsnRW.commit();
    query(second);
    EXPECT_EQ(in(second).asString(column()), QStringLiteral("Изменено первым"));
}

// The other user has committed a change since this user read the record: writing over it would
// undo that change unseen, so it is refused until the record is read again; a record deleted
// meanwhile is said to be gone.
TEST_P(TwoUsersOnARecord, OneChangedOrDeletedSinceItWasReadIsNotWrittenOver)
{
    change(first, QStringLiteral("Изменено первым"));
    first.TsnRW.commit();

    const QString told = errorOf([&] { change(second, QStringLiteral("Изменено вторым")); });
    EXPECT_TRUE(told.startsWith(QStringLiteral("Эти данные изменил другой пользователь")))
        << told.toStdString();
    EXPECT_TRUE(told.contains(titleLine())) << told.toStdString();
    in(second).cancel();
    in(second).refreshCurrentRow();
    EXPECT_EQ(in(second).asString(column()), QStringLiteral("Изменено первым"));
    change(second, QStringLiteral("Изменено вторым"));
    second.TsnRW.commit();

    query(first);
    ASSERT_TRUE(in(first).locate(in(second).asInteger(QStringLiteral("KOD"))));
    GetParam().remove(first);
    first.TsnRW.commit();
    const QString gone = errorOf([&] { in(second).refreshCurrentRow(); });
    EXPECT_TRUE(gone.startsWith(QStringLiteral("Эти данные удалил другой пользователь")))
        << gone.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Records, TwoUsersOnARecord,
    ::testing::Values(RecordCase{"Document", &TDM::DSetDocs, "NAMEORG", "Документ: счет № ",
                                 [](TDM &user) { user.deleteDocument(); }},
                      RecordCase{"Client", &TDM::DSetClients, "NAMEORG",
                                 "Клиент: ", [](TDM &user) { user.deleteClient(); }},
                      RecordCase{"Goods", &TDM::DSetNomenkl, "NAME", "Товар или услуга: ",
                                 [](TDM &user) { user.DSetNomenkl->remove(); }},
                      RecordCase{"PaymentCode", &TDM::DSetKNP, "NAME", "Код назначения платежа: ",
                                 [](TDM &user) { user.DSetKNP->remove(); }}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
