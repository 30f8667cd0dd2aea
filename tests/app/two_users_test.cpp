// Two users of one database on the server, each with the register and the document editor open.
#include "app/tfrm_main.h"
#include "core/work_session.h"
#include "data/date_time.h"
#include "data/fb_statement.h"
#include "data/tdm.h"
#include "editor/document_editor.h"
#include "scoped_locale.h"
#include "scripted_prompts.h"
#include "server_database.h"
#include "ui/application_title.h"
#include "window_driver.h"

#include <QAbstractButton>
#include <QDateEdit>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// One user: a data module on the server database, the register over it, and an editor the
// test fills in the user's place.
struct User {
    TDM dm;
    WorkSession session{dm};
    ScriptedPrompts prompts;
    std::unique_ptr<TfrmMain> window;
    std::function<void(QDialog &)> inEditor;

    void open(const QString &location)
    {
        dm.DataModuleCreate(location, ServerDatabase::testUser());
        window = std::make_unique<TfrmMain>(session, prompts);
        window->setDocumentEditor([this](QWidget *parent, EditorMode mode) {
            return openDocumentEditor(dm, prompts, {}, mode, parent, [this](QDialog &editor) {
                editor.show();
                inEditor(editor);
                return editor.result();
            });
        });
        window->show();
    }
    ~User() { window.reset(); }
    QString current(const char *column) const
    {
        return dm.DSetDocs->asString(QString::fromLatin1(column));
    }
};

// Clicks a button of the editor, push button or tool button alike.
void press(const QWidget &window, const char *name)
{
    auto *button = child<QAbstractButton>(window, name);
    ASSERT_TRUE(button);
    button->click();
}

class TwoUsersWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_SERVER(db);
        first.open(db.location());
        second.open(db.location());
    }

    ServerDatabase db{TempDatabase::Demo};
    User first, second;

private:
    ScopedLocale m_locale{QLocale(QLocale::Russian, QLocale::Kazakhstan)};
};

// A document the first user adds is in the second user's register after "Запрос".
TEST_F(TwoUsersWindows, TheOtherUsersNewDocumentAppearsAfterQuery)
{
    const int before = second.dm.DSetDocs->recordCount();
    first.inEditor = [](QDialog &editor) {
        typeInto(editor, "dbNAMEORG_0", QStringLiteral("ТОО «Новый покупатель»"));
        press(editor, "btnOk");
    };
    click(*first.window, "btnAdd");

    // The register lists the days asked for; the new document is of today.
    child<QDateEdit>(*second.window, "date2")->setDate(datetime::today().date());
    click(*second.window, "btnZapros");
    EXPECT_EQ(second.dm.DSetDocs->recordCount(), before + 1);
    EXPECT_TRUE(columnTexts(*second.dm.DSetDocs, QStringLiteral("NAMEORG"))
                    .contains(QStringLiteral("ТОО «Новый покупатель»")));
}

// Both users edit one document. Whether the first has stored it or is still storing it, the
// second is told which document it is, keeps the editor with what was typed, and after
// "Запрос" can store the change.
class SameDocument : public TwoUsersWindows, public ::testing::WithParamInterface<bool> {};

TEST_P(SameDocument, TheSecondIsToldWhichAndKeepsTheEditorWithWhatWasTyped)
{
    const bool firstCommitted = GetParam();
    const qint64 kod = second.dm.DSetDocs->asInteger(QStringLiteral("KOD"));
    const QString number = second.current("NUMSCH");
    second.prompts.expectError({}, applicationTitle());

    second.inEditor = [&](QDialog &editor) {
        typeInto(editor, "dbNAMEORG_0", QStringLiteral("ТОО «Второй»"));
        // Meanwhile the first user changes the same document.
        ASSERT_TRUE(first.dm.DSetDocs->locate(kod));
        first.dm.DSetDocs->edit();
        first.dm.DSetDocs->setValue(QStringLiteral("ADRES"),
                                    QStringLiteral("г. Алматы, ул. Первая"));
        first.dm.DSetDocs->post();
        if (firstCommitted)
            first.dm.TsnRW.commit();

        press(editor, "btnOk");
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(child<QLineEdit>(editor, "dbNAMEORG_0")->text(), QStringLiteral("ТОО «Второй»"));
        press(editor, "btnCancel");
    };
    click(*second.window, "btnEdit");
    ASSERT_EQ(second.prompts.shown().size(), 1u);
    const QString told = second.prompts.shown()[0].text;
    EXPECT_TRUE(told.contains(QStringLiteral("другой пользователь"))) << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("\nДокумент: счет № ") + number))
        << told.toStdString();

    if (!firstCommitted)
        first.dm.TsnRW.commit();
    click(*second.window, "btnZapros");
    ASSERT_TRUE(second.dm.DSetDocs->locate(kod));
    second.inEditor = [](QDialog &editor) {
        typeInto(editor, "dbNAMEORG_0", QStringLiteral("ТОО «Второй»"));
        press(editor, "btnOk");
    };
    click(*second.window, "btnEdit");

    // Both changes are stored: neither user undid the other's.
    click(*first.window, "btnZapros");
    ASSERT_TRUE(first.dm.DSetDocs->locate(kod));
    EXPECT_EQ(first.current("NAMEORG"), QStringLiteral("ТОО «Второй»"));
    EXPECT_EQ(first.current("ADRES"), QStringLiteral("г. Алматы, ул. Первая"));
}

INSTANTIATE_TEST_SUITE_P(FirstUser, SameDocument, ::testing::Values(true, false),
                         [](const auto &info) {
                             return std::string(info.param ? "Stored" : "StillStoring");
                         });

// Both users add an invoice and press the number button before either stores it: the second
// is asked to take the next free number, and no two stored invoices share one.
TEST_F(TwoUsersWindows, TheSecondOfTwoEqualNumbersIsOfferedTheNextFree)
{
    qint64 number = 0;
    first.inEditor = [&](QDialog &editor) {
        press(editor, "btnNumSch");
        EXPECT_EQ(child<QLineEdit>(editor, "dbNUMSCH_0")->text().toLongLong(), number);
        press(editor, "btnOk");
    };
    second.inEditor = [&](QDialog &editor) {
        press(editor, "btnNumSch");
        number = child<QLineEdit>(editor, "dbNUMSCH_0")->text().toLongLong();
        click(*first.window, "btnAdd"); // the first user stores an invoice meanwhile

        second.prompts.expectConfirm(
            QStringLiteral("Счет на оплату № %1 уже есть у другого документа (от %2).\nПрисвоить "
                           "этому документу следующий свободный номер %3?")
                .arg(number)
                .arg(datetime::today().date().toString(QStringLiteral("dd.MM.yyyy")))
                .arg(number + 1),
            true);
        press(editor, "btnOk");
        EXPECT_FALSE(editor.isVisible());
    };
    click(*second.window, "btnAdd");

    const auto stored = [&](qint64 invoice) {
        return FbStatement::scalar(
                   first.dm.TsnRW,
                   QStringLiteral("select count(*) from DOCS where NUMSCH = %1").arg(invoice))
            .toInt();
    };
    EXPECT_EQ(stored(number), 1);
    EXPECT_EQ(stored(number + 1), 1);
}

// While the second user's question about a taken number is open, the first stores the next
// number without waiting for them: the question holds no lock. The second is then asked
// about the number taken meanwhile, and no two stored invoices share one.
TEST_F(TwoUsersWindows, AnOpenNumberQuestionHoldsNobodyUp)
{
    qint64 number = 0;
    first.inEditor = [&](QDialog &editor) {
        press(editor, "btnNumSch");
        press(editor, "btnOk");
        EXPECT_FALSE(editor.isVisible());
    };
    const auto question = [](qint64 taken) {
        return QStringLiteral(
                   "Счет на оплату № %1 уже есть у другого документа (от %2).\nПрисвоить "
                   "этому документу следующий свободный номер %3?")
            .arg(taken)
            .arg(datetime::today().date().toString(QStringLiteral("dd.MM.yyyy")))
            .arg(taken + 1);
    };
    second.inEditor = [&](QDialog &editor) {
        press(editor, "btnNumSch");
        number = child<QLineEdit>(editor, "dbNUMSCH_0")->text().toLongLong();
        click(*first.window, "btnAdd"); // takes `number`

        second.prompts.expectConfirm(question(number), true);
        second.prompts.whileShown([&] {
            click(*first.window, "btnAdd"); // takes `number + 1` while the question is open
            EXPECT_TRUE(first.prompts.shown().empty());
        });
        second.prompts.expectConfirm(question(number + 1), true);
        press(editor, "btnOk");
        EXPECT_FALSE(editor.isVisible());
    };
    click(*second.window, "btnAdd");

    for (qint64 invoice : {number, number + 1, number + 2}) {
        EXPECT_EQ(FbStatement::scalar(
                      first.dm.TsnRW,
                      QStringLiteral("select count(*) from DOCS where NUMSCH = %1").arg(invoice))
                      .toInt(),
                  1)
            << invoice;
    }
}

} // namespace
