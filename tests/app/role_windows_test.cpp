// The windows of an office database's user: what the user's role may not do is disabled, with
// the reason, and a document shows who made and last changed it.
#include "app/tfrm_main.h"
#include "core/work_session.h"
#include "data/fb_statement.h"
#include "data/payments.h"
#include "data/tdm.h"
#include "editor/document_editor.h"
#include "office_user.h"
#include "scoped_locale.h"
#include "scripted_prompts.h"
#include "server_database.h"
#include "ui/db_grid.h"
#include "window_driver.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

using roles::Role;

// The register of one user of the database, with an editor the test answers.
struct UserWindow {
    TDM dm;
    WorkSession session{dm};
    ScriptedPrompts prompts;
    std::unique_ptr<TfrmMain> window;
    int editorOpened = 0;
    std::function<void(QDialog &)> inEditor = [](QDialog &) {};

    UserWindow(const QString &location, const database::Credentials &credentials)
    {
        dm.DataModuleCreate(location, credentials);
        window = std::make_unique<TfrmMain>(session, prompts);
        window->setDocumentEditor([this](QWidget *parent, EditorMode mode) {
            ++editorOpened;
            return openDocumentEditor(dm, prompts, {}, mode, parent, [this](QDialog &editor) {
                editor.show();
                inEditor(editor);
                return int(QDialog::Rejected);
            });
        });
        window->show();
    }
    ~UserWindow() { window.reset(); }

    // Runs check on the window that the register's command opener opens, then closes it.
    void inWindowOf(const char *opener, const std::function<void(QDialog &)> &check)
    {
        bool opened = false;
        window->setDialogRunner([&](QDialog &dialog) {
            opened = true;
            dialog.show();
            check(dialog);
            return int(QDialog::Rejected);
        });
        click(*window, opener);
        EXPECT_TRUE(opened) << opener;
    }
};

struct ControlCase {
    const char *opener; // the register's command that opens the window; none: the register
    const char *control;
    bool accountant, manager, viewer;
};

const ControlCase kControls[] = {
    {nullptr, "btnAdd", true, true, false},        {nullptr, "btnEdit", true, true, false},
    {nullptr, "btnUse", true, true, false},        {nullptr, "btnVArchiv", true, true, false},
    {nullptr, "btnDel", true, false, false},       {nullptr, "btnSch", true, true, true},
    {"btnOplaty", "btnAdd", true, true, false},    {"btnOplaty", "btnPolnostyu", true, true, false},
    {"btnRekviz", "btnClose", true, false, false}, {"btnRekviz", "GroupBox1", true, false, false},
    {"btnOrg", "BitBtn2", true, true, false},      {"btnOrg", "btnExport", true, true, true},
    {"btnOrg", "btnPrint", true, true, true},
};

void expectControl(const QWidget &window, const ControlCase &c, std::optional<Role> role)
{
    SCOPED_TRACE(c.control);
    auto *control = child<QWidget>(window, c.control);
    ASSERT_TRUE(control);
    const bool allowed = !role                       ? true
                         : *role == Role::Accountant ? c.accountant
                         : *role == Role::Manager    ? c.manager
                                                     : c.viewer;
    EXPECT_EQ(control->isEnabled(), allowed);
    if (!allowed) {
        EXPECT_EQ(control->toolTip(),
                  QStringLiteral("Недоступно для роли «%1»").arg(roles::title(*role)));
    }
}

class RoleWindows : public ::testing::Test {
protected:
    ServerDatabase db{TempDatabase::Demo};

private:
    ScopedLocale m_locale{QLocale(QLocale::Russian, QLocale::Kazakhstan)};
};

// The database's owner has no role and may do everything, as with a file of this computer.
TEST_F(RoleWindows, DisableWhatTheRoleMayNotDoAndSayWhy)
{
    SKIP_WITHOUT_SERVER(db);
    SKIP_WITHOUT_ADMINISTRATOR();
    for (std::optional<Role> role : {std::optional<Role>(), std::optional(Role::Accountant),
                                     std::optional(Role::Manager), std::optional(Role::Viewer)}) {
        SCOPED_TRACE(role ? roles::sqlName(*role).toStdString() : "owner");
        std::optional<OfficeUser> user;
        if (role)
            user.emplace(db.location(), *role);
        UserWindow user_window(db.location(),
                               user ? user->credentials() : ServerDatabase::testUser());
        ASSERT_EQ(user_window.dm.role(), role);
        for (const ControlCase &c : kControls) {
            if (c.opener)
                user_window.inWindowOf(c.opener,
                                       [&](QDialog &window) { expectControl(window, c, role); });
            else
                expectControl(*user_window.window, c, role);
        }
        // The double click on a document edits it only where "Изменить" may.
        emit child<DbGrid>(*user_window.window, "dbgrSchets")->gridDoubleClicked();
        EXPECT_EQ(user_window.editorOpened, role == Role::Viewer ? 0 : 1);
    }
}

TEST_F(RoleWindows, ShowWhoMadeADocumentAndItsPaymentAndWhoChangedThemLast)
{
    SKIP_WITHOUT_SERVER(db);
    SKIP_WITHOUT_ADMINISTRATOR();
    const OfficeUser manager(db.location(), Role::Manager);
    const OfficeUser accountant(db.location(), Role::Accountant);
    {
        TDM dm;
        dm.DataModuleCreate(db.location(), manager.credentials());
        executeCommitted(dm.ZNDB, QStringLiteral("INSERT INTO DOCS (KOD, KODARCHIV, NUMSCH, "
                                                 "NAMEORG) VALUES (9001, 0, 901, 'ТОО Альфа')"));
        Payment payment;
        payment.document = 9001;
        payment.date = QDate(2026, 3, 20);
        payment.amount = 5;
        if (!dm.TsnRW.isActive())
            dm.TsnRW.start();
        payments::add(dm.TsnRW, payment);
        dm.TsnRW.commit();
        dm.DataModuleDestroy();
    }
    UserWindow user(db.location(), accountant.credentials());
    executeCommitted(user.dm.ZNDB,
                     QStringLiteral("UPDATE DOCS SET NAMEORG = 'ТОО Бета' WHERE KOD = 9001"));
    click(*user.window, "btnClear"); // read again
    ASSERT_TRUE(user.dm.DSetDocs->locate(9001));
    const QString made = QStringLiteral("создал %1, ").arg(manager.credentials().user.toUpper());
    const QString changed =
        QStringLiteral("изменил %1, ").arg(accountant.credentials().user.toUpper());

    const QStringList tip =
        rowToolTip(*child<DbGrid>(*user.window, "dbgrSchets"), user.dm.DSetDocs->currentIndex())
            .split(u'\n');
    ASSERT_EQ(tip.size(), 2) << tip.join(u'|').toStdString();
    EXPECT_TRUE(tip[0].startsWith(made)) << tip[0].toStdString();
    EXPECT_TRUE(tip[1].startsWith(changed)) << tip[1].toStdString();

    QString status;
    user.inEditor = [&](QDialog &editor) { status = child<QLabel>(editor, "lblAudit")->text(); };
    click(*user.window, "btnEdit");
    EXPECT_TRUE(status.startsWith(made) && status.contains(QStringLiteral("; ") + changed))
        << status.toStdString();

    user.inWindowOf("btnOplaty", [&](QDialog &payments) {
        const QTableWidgetItem *item = child<QTableWidget>(payments, "dbgrOplaty")->item(0, 0);
        ASSERT_TRUE(item);
        EXPECT_TRUE(item->toolTip().startsWith(made)) << item->toolTip().toStdString();
    });
}

} // namespace
