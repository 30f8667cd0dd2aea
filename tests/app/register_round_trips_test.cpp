// On a server each call to the engine is a network round trip: the register's common actions
// must not grow them. The counts do not depend on where the database is, so a file shows them.

#include "data/engine_calls.h"
#include "data/fb_statement.h"
#include "main_window_test.h"
#include "window_driver.h"

#include <QDialog>
#include <QPushButton>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

namespace engine_calls {
void PrintTo(const Counts &c, std::ostream *os)
{
    *os << "prepared " << c.prepared << ", executed " << c.executed << ", fetched " << c.fetched
        << ", transactions " << c.transactions;
}
} // namespace engine_calls

namespace {

class RegisterRoundTrips : public MainWindowTest {
protected:
    RegisterRoundTrips() : MainWindowTest(TempDatabase::Demo) {}

    template <class Action> engine_calls::Counts callsOf(Action action)
    {
        const engine_calls::Counts before = engine_calls::sinceStart();
        action();
        return engine_calls::sinceStart() - before;
    }

    // More current documents than the register reads at once, none dated.
    void addDocuments(int count)
    {
        FbTransaction transaction(dm.ZNDB);
        transaction.start();
        FbStatement insert(transaction);
        insert.prepare(QStringLiteral("insert into DOCS (KOD, KODARCHIV, NAMEORG, NUMSCH) values "
                                      "(:KOD, 0, 'ТОО «Покупатель»', :NUMSCH)"));
        for (int i = 1; i <= count; ++i) {
            insert.setParameter(0, 1000 + i);
            insert.setParameter(1, 1000 + i);
            insert.execute();
        }
        transaction.commit();
    }
};

// Over a network each row costs its share of the round trips: the register opens, and opens
// again after a query, without reading all its documents.
TEST_F(RegisterRoundTrips, TheRegisterReadsOnlyItsFirstRows)
{
    addDocuments(600);
    openWindow();
    EXPECT_LT(dm.DSetDocs->rowCount(), 600);
    click(*window, "btnClear");
    click(*window, "btnZapros");
    EXPECT_LT(dm.DSetDocs->rowCount(), 600);
    EXPECT_EQ(dm.DSetDocs->currentIndex(), 0);
}

// Everything committed and reopened: each dataset's statement, and that of the client
// telephones the register looks up, runs once, prepared already.
TEST_F(RegisterRoundTrips, QueryRunsEachStatementOnceWithoutPreparingItAgain)
{
    openWindow();
    click(*window, "btnZapros"); // the query's statement replaces the opening sort's
    const engine_calls::Counts calls = callsOf([&] { click(*window, "btnZapros"); });
    EXPECT_EQ(calls.prepared, 0u) << testing::PrintToString(calls);
    EXPECT_EQ(calls.executed, 10u) << testing::PrintToString(calls);
    EXPECT_EQ(calls.transactions, 2u) << testing::PrintToString(calls);
}

// Moving a document to another view, or copying it, shows it there with one commit and one
// reopening of the data: no second pass over the register and its lookups.
struct MoveCase {
    const char *name;
    const char *button;
    const char *question;
    engine_calls::Counts calls;
};

void PrintTo(const MoveCase &c, std::ostream *os)
{
    *os << c.name;
}

class RegisterMoveRoundTrips : public RegisterRoundTrips,
                               public ::testing::WithParamInterface<MoveCase> {};

TEST_P(RegisterMoveRoundTrips, ShowTheDocumentWithinOneRefresh)
{
    openWindow();
    window->setDocumentEditor([](QWidget *, EditorMode) { return int(QDialog::Accepted); });
    const qint64 second = (dm.DSetDocs->next(), dm.DSetDocs->asInteger(QStringLiteral("KOD")));
    prompts.expectConfirm(QString::fromUtf8(GetParam().question), true);
    const engine_calls::Counts calls = callsOf([&] { click(*window, GetParam().button); });
    EXPECT_EQ(calls, GetParam().calls);
    if (std::string_view(GetParam().button) == "btnVArchiv")
        EXPECT_EQ(dm.DSetDocs->asInteger(QStringLiteral("KOD")), second);
    else
        EXPECT_NE(dm.DSetDocs->asInteger(QStringLiteral("KOD")), second);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegisterMoveRoundTrips,
    ::testing::Values(MoveCase{"archive",
                               "btnVArchiv",
                               "Вы уверены что хотите переместить выделенную запись в архив?",
                               {3, 12, 17, 2}},
                      MoveCase{"copy", "btnUse", "Скопировать выделенную запись?", {4, 17, 23, 2}}),
    [](const auto &info) { return std::string(info.param.name); });

// The next document costs the one run of its lines' statement and the fetches of its lines.
TEST_F(RegisterRoundTrips, NextDocumentRunsItsLinesStatementOnce)
{
    openWindow();
    dm.DSetDocs->recordCount(); // as the grid has read them
    const engine_calls::Counts calls = callsOf([&] { dm.DSetDocs->next(); });
    const auto lines = std::uint64_t(dm.DSetDetail->recordCount());
    ASSERT_GT(lines, 0u);
    EXPECT_EQ(calls, (engine_calls::Counts{0, 1, lines + 1, 0}));
}

} // namespace
