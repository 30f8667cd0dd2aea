#include "app/users_dialog.h"
#include "scripted_prompts.h"
#include "server_database.h"

#include "data/db_error.h"
#include "data/fb_connection.h"
#include "data/office_users.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {

// The role shown for `user`, or "(absent)".
QString shownRole(UsersDialog &dialog, const QString &user)
{
    auto *grid = dialog.findChild<QTableWidget *>(QStringLiteral("gridUsers"));
    for (int row = 0; row < grid->rowCount(); ++row) {
        if (grid->item(row, 0)->text() == user)
            return grid->item(row, 1)->text();
    }
    return QStringLiteral("(absent)");
}

void choose(UsersDialog &dialog, const QString &user)
{
    auto *grid = dialog.findChild<QTableWidget *>(QStringLiteral("gridUsers"));
    for (int row = 0; row < grid->rowCount(); ++row) {
        if (grid->item(row, 0)->text() == user)
            grid->selectRow(row);
    }
}

void type(UsersDialog &dialog, const char *name, const QString &text)
{
    dialog.findChild<QLineEdit *>(QString::fromLatin1(name))->setText(text);
}

void click(UsersDialog &dialog, const char *name)
{
    dialog.findChild<QPushButton *>(QString::fromLatin1(name))->click();
}

void chooseRole(UsersDialog &dialog, const QString &title)
{
    auto *roles = dialog.findChild<QComboBox *>(QStringLiteral("cbRole"));
    roles->setCurrentIndex(roles->findText(title));
}

TEST(UsersWindow, TheAdministratorAddsAColleagueChangesTheRoleAndRemovesThem)
{
    const ServerDatabase db;
    SKIP_WITHOUT_SERVER(db);
    const database::Credentials admin = ServerDatabase::administrator();
    if (admin.isEmpty())
        GTEST_SKIP() << "the server administrator's password is not readable here";
    FbConnection connection;
    connection.attach(db.location(), admin.user, admin.password);
    const QString name = ServerDatabase::uniqueUserName();
    const auto dropUser = qScopeGuard([&] {
        try {
            office_users::remove(connection, name);
        } catch (const DbError &) {
        }
    });
    ScriptedPrompts prompts;
    UsersDialog dialog(connection, prompts);

    type(dialog, "edName", name);
    type(dialog, "edPassword", QStringLiteral("Anna-1"));
    type(dialog, "edPasswordAgain", QStringLiteral("Anna-2"));
    chooseRole(dialog, QStringLiteral("Менеджер"));
    prompts.expectError(QStringLiteral("Пароли не совпадают."), QStringLiteral("Пользователи"));
    click(dialog, "btnAdd");
    prompts.verify();
    EXPECT_EQ(shownRole(dialog, name.toUpper()), QStringLiteral("(absent)"));

    type(dialog, "edPasswordAgain", QStringLiteral("Anna-1"));
    click(dialog, "btnAdd");
    EXPECT_EQ(shownRole(dialog, name.toUpper()), QStringLiteral("Менеджер"));

    choose(dialog, name.toUpper());
    chooseRole(dialog, QStringLiteral("Просмотр"));
    click(dialog, "btnSetRole");
    EXPECT_EQ(shownRole(dialog, name.toUpper()), QStringLiteral("Просмотр"));

    choose(dialog, name.toUpper());
    type(dialog, "edPassword", QStringLiteral("Anna-3"));
    type(dialog, "edPasswordAgain", QStringLiteral("Anna-3"));
    click(dialog, "btnSetPassword");
    FbConnection anna;
    EXPECT_NO_THROW(anna.attach(db.location(), name, QStringLiteral("Anna-3")));
    anna.detach();

    choose(dialog, name.toUpper());
    prompts.expectConfirm(QStringLiteral("Удалить пользователя %1?").arg(name.toUpper()), true);
    click(dialog, "btnRemove");
    prompts.verify();
    EXPECT_EQ(shownRole(dialog, name.toUpper()), QStringLiteral("(absent)"));
}

} // namespace
