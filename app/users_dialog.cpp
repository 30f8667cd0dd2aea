#include "users_dialog.h"

#include "data/db_error.h"
#include "data/office_users.h"
#include "ui/command_row.h"
#include "ui/prompt_service.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("Пользователи");

} // namespace

UsersDialog::UsersDialog(FbConnection &connection, PromptService &prompts, QWidget *parent)
    : QDialog(parent), m_connection(connection), m_prompts(prompts),
      m_users(new QTableWidget(0, 2, this)), m_name(new QLineEdit(this)),
      m_password(new QLineEdit(this)), m_passwordAgain(new QLineEdit(this)),
      m_role(new QComboBox(this))
{
    setObjectName(QStringLiteral("UsersDialog"));
    setWindowTitle(kCaption);
    m_users->setObjectName(QStringLiteral("gridUsers"));
    m_users->setHorizontalHeaderLabels({QStringLiteral("Пользователь"), QStringLiteral("Роль")});
    m_users->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_users->setSelectionMode(QAbstractItemView::SingleSelection);
    m_users->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_users->horizontalHeader()->setStretchLastSection(true);
    m_users->verticalHeader()->hide();
    m_name->setObjectName(QStringLiteral("edName"));
    m_name->setMaxLength(31);
    m_password->setObjectName(QStringLiteral("edPassword"));
    m_passwordAgain->setObjectName(QStringLiteral("edPasswordAgain"));
    for (QLineEdit *edit : {m_password, m_passwordAgain})
        edit->setEchoMode(QLineEdit::Password);
    m_role->setObjectName(QStringLiteral("cbRole"));
    for (roles::Role role : roles::kAllRoles)
        m_role->addItem(roles::title(role), int(role));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Имя:"), m_name);
    form->addRow(QStringLiteral("Пароль:"), m_password);
    form->addRow(QStringLiteral("Пароль ещё раз:"), m_passwordAgain);
    form->addRow(QStringLiteral("Роль:"), m_role);
    QPushButton *add = commandButton(this, "btnAdd", QStringLiteral("Добавить"));
    QPushButton *setPassword =
        commandButton(this, "btnSetPassword", QStringLiteral("Сменить пароль"));
    QPushButton *setRole = commandButton(this, "btnSetRole", QStringLiteral("Сменить роль"));
    QPushButton *remove = commandButton(this, "btnRemove", QStringLiteral("Удалить"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_users);
    layout->addLayout(form);
    layout->addLayout(commandRow(*this, {add, setPassword, setRole, remove}));

    connect(add, &QPushButton::clicked, this, &UsersDialog::btnAddClick);
    connect(setPassword, &QPushButton::clicked, this, &UsersDialog::btnSetPasswordClick);
    connect(setRole, &QPushButton::clicked, this, &UsersDialog::btnSetRoleClick);
    connect(remove, &QPushButton::clicked, this, &UsersDialog::btnRemoveClick);
    // The chosen user's name and role, ready for a change.
    connect(m_users, &QTableWidget::itemSelectionChanged, this, [this] {
        const QString user = chosenUser();
        if (user.isEmpty())
            return;
        m_name->setText(user);
        const int row = m_users->currentRow();
        const int index = m_role->findText(m_users->item(row, 1)->text());
        if (index >= 0)
            m_role->setCurrentIndex(index);
    });
    reload();
}

void UsersDialog::reload(const QString &current)
{
    std::vector<office_users::User> users;
    try {
        users = office_users::list(m_connection);
    } catch (const DbError &e) {
        m_prompts.error(this, e.message(), kCaption);
    }
    const QSignalBlocker quiet(m_users);
    m_users->setRowCount(int(users.size()));
    for (int row = 0; row < int(users.size()); ++row) {
        const office_users::User &user = users[std::size_t(row)];
        m_users->setItem(row, 0, new QTableWidgetItem(user.name));
        m_users->setItem(row, 1,
                         new QTableWidgetItem(user.role ? roles::title(*user.role) : QString()));
        if (user.name.compare(current, Qt::CaseInsensitive) == 0)
            m_users->selectRow(row);
    }
}

QString UsersDialog::chosenUser() const
{
    const QList<QTableWidgetItem *> chosen = m_users->selectedItems();
    return chosen.isEmpty() ? QString() : m_users->item(chosen.first()->row(), 0)->text();
}

QString UsersDialog::typedPassword()
{
    if (m_password->text() != m_passwordAgain->text()) {
        m_prompts.error(this, QStringLiteral("Пароли не совпадают."), kCaption);
        return {};
    }
    if (const QString problem = office_users::passwordProblem(m_password->text());
        !problem.isEmpty()) {
        m_prompts.error(this, problem, kCaption);
        return {};
    }
    return m_password->text();
}

template <typename Change> void UsersDialog::change(const QString &user, Change &&work)
{
    try {
        work();
        m_password->clear();
        m_passwordAgain->clear();
    } catch (const DbError &e) {
        m_prompts.error(this, e.message(), kCaption);
    }
    reload(user);
}

void UsersDialog::btnAddClick()
{
    const QString name = m_name->text().trimmed();
    if (const QString problem = office_users::nameProblem(name); !problem.isEmpty()) {
        m_prompts.error(this, problem, kCaption);
        return;
    }
    const QString password = typedPassword();
    if (password.isEmpty())
        return;
    const auto role = roles::Role(m_role->currentData().toInt());
    change(name, [&] { office_users::add(m_connection, name, password, role); });
}

void UsersDialog::btnSetPasswordClick()
{
    const QString user = chosenUser();
    if (user.isEmpty())
        return;
    const QString password = typedPassword();
    if (password.isEmpty())
        return;
    change(user, [&] { office_users::setPassword(m_connection, user, password); });
}

void UsersDialog::btnSetRoleClick()
{
    const QString user = chosenUser();
    if (user.isEmpty())
        return;
    const auto role = roles::Role(m_role->currentData().toInt());
    change(user, [&] { office_users::setRole(m_connection, user, role); });
}

void UsersDialog::btnRemoveClick()
{
    const QString user = chosenUser();
    if (user.isEmpty() ||
        !m_prompts.confirm(this, QStringLiteral("Удалить пользователя %1?").arg(user)))
        return;
    change(QString(), [&] { office_users::remove(m_connection, user); });
}
