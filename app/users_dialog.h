#pragma once

#include <QDialog>

class FbConnection;
class PromptService;
class QComboBox;
class QLineEdit;
class QTableWidget;

// "Пользователи": the users of a server's database with their roles, and adding one (name,
// password twice, role), a new password or role for the chosen one, and removing them, all
// through the server's own user management. Each change is made at once; a refusal is shown
// and the list stays as the server has it.
class UsersDialog : public QDialog {
    Q_OBJECT

public:
    UsersDialog(FbConnection &connection, PromptService &prompts, QWidget *parent = nullptr);

    void btnAddClick();
    void btnSetPasswordClick();
    void btnSetRoleClick();
    void btnRemoveClick();

private:
    void reload(const QString &current = {});
    QString chosenUser() const;
    // The password typed twice; empty, after saying why, when the two differ.
    QString typedPassword();
    template <typename Change> void change(const QString &user, Change &&work);

    FbConnection &m_connection;
    PromptService &m_prompts;
    QTableWidget *m_users;
    QLineEdit *m_name;
    QLineEdit *m_password;
    QLineEdit *m_passwordAgain;
    QComboBox *m_role;
};
