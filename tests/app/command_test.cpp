// Errors of commands, grid row changes and edit boxes reach the user as a message and the
// program goes on: nothing is thrown through the toolkit's signals.
#include "data_module_test.h"
#include "scripted_prompts.h"
#include "ui/application_title.h"
#include "ui/command.h"
#include "ui/db_grid.h"
#include "ui/field_links.h"
#include "window_driver.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString kTitle = QStringLiteral("ТОО Тест Zarnik 1.2");
const QString kName = QStringLiteral("NAMEORG");

class Commands : public DataModuleTest {
protected:
    Commands() : DataModuleTest(TempDatabase::Demo) {}
    void SetUp() override
    {
        DataModuleTest::SetUp();
        setApplicationTitle(kTitle);
        window.resize(800, 300);
    }

    // A name longer than the column: the database refuses the row when it is posted.
    static QString tooLong() { return QString(300, QLatin1Char('x')); }

    ScriptedPrompts prompts;
    QWidget window;
};

TEST_F(Commands, ADatabaseErrorInAButtonsCommandIsShownAndTheProgramGoesOn)
{
    auto *button = new QPushButton(QStringLiteral("ОК"), &window);
    Dataset &docs = *dm.DSetDocs;
    int runs = 0;
    connectCommand(button, &window, prompts, [&] {
        ++runs;
        docs.edit();
        docs.setValue(kName, tooLong());
        docs.post();
    });
    window.show();

    prompts.expectError({}, kTitle);
    QTest::mouseClick(button, Qt::LeftButton);
    prompts.verify();
    EXPECT_TRUE(docs.isEditing()) << "the refused row keeps its state";
    docs.cancel();

    prompts.expectError({}, kTitle);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(runs, 2) << "the button works again after the error";
    docs.cancel();
}

TEST_F(Commands, ARowTheDatabaseRefusesKeepsTheGridOnItWithTheMessageShown)
{
    auto *grid = new DbGrid(&window);
    grid->resize(780, 280);
    grid->setPrompts(prompts);
    grid->setDataset(dm.DSetDocs, {{QStringLiteral("NUMSCH"), {}, 50}, {kName, {}, 200}});
    window.show();
    Dataset &docs = *dm.DSetDocs;
    docs.first();
    docs.edit();
    docs.setValue(kName, tooLong());

    prompts.expectError({}, kTitle);
    clickRow(*grid, 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.shown().empty(); }, 2000));
    QCoreApplication::processEvents();
    EXPECT_EQ(docs.currentIndex(), 0);
    EXPECT_EQ(grid->currentIndex().row(), 0) << "the grid stays on the row to put right";
    EXPECT_TRUE(docs.isEditing());
    EXPECT_EQ(docs.asString(kName), tooLong());

    docs.setValue(kName, QStringLiteral("ТОО Поправлено"));
    clickRow(*grid, 2);
    EXPECT_EQ(docs.currentIndex(), 2) << "once put right the row is left as usual";
}

TEST_F(Commands, ATextTheFieldCannotTakeStaysInItsBoxWithTheMessageShown)
{
    auto *box = new QLineEdit(&window);
    auto *other = new QLineEdit(&window);
    other->move(0, 40);
    auto *links = new FieldLinks(dm.DSetDocs, prompts, &window);
    links->bind(box, QStringLiteral("DATASCH"));
    window.show();
    window.activateWindow();
    box->setFocus();

    prompts.expectError({}, kTitle);
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("31.02.2026"));
    QTest::keyClick(box, Qt::Key_Return);
    prompts.verify();
    EXPECT_EQ(box->text(), QStringLiteral("31.02.2026")) << "the text stays to be put right";
    EXPECT_TRUE(dm.DSetDocs->isEditing());
    dm.DSetDocs->cancel();
}

} // namespace
