#include "connection_dialog.h"
#include "ui_connection_dialog.h"

#include "data/connection_check.h"
#include "data/server_address.h"
#include "ui/prompt_service.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kCaption = QStringLiteral("Подключение к базе данных");

} // namespace

ConnectionDialog::ConnectionDialog(PromptService &prompts, const ConnectionChoice &current,
                                   QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ConnectionDialog>()), m_prompts(prompts)
{
    m_ui->setupUi(this);
    showChoice(current);
    connect(m_ui->rbFile, &QRadioButton::toggled, this, &ConnectionDialog::enableChoice);
    connect(m_ui->btnChooseFile, &QPushButton::clicked, this,
            &ConnectionDialog::btnChooseFileClick);
    connect(m_ui->btnCheck, &QPushButton::clicked, this, &ConnectionDialog::btnCheckClick);
    connect(m_ui->btnOk, &QPushButton::clicked, this, &ConnectionDialog::btnOkClick);
    connect(m_ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

ConnectionDialog::~ConnectionDialog() = default;

void ConnectionDialog::showChoice(const ConnectionChoice &current)
{
    if (const auto server = database::parseServerAddress(current.location)) {
        m_ui->rbServer->setChecked(true);
        m_ui->edHost->setText(server->host);
        m_ui->spnPort->setValue(server->port);
        m_ui->edServerPath->setText(server->database);
        m_ui->edUser->setText(current.credentials.user);
        m_ui->edPassword->setText(current.credentials.password);
        m_ui->chkRememberPassword->setChecked(current.rememberPassword);
    } else {
        m_ui->rbFile->setChecked(true);
        m_ui->edFile->setText(current.location);
    }
    enableChoice();
}

void ConnectionDialog::enableChoice()
{
    const bool file = m_ui->rbFile->isChecked();
    m_ui->fileBox->setEnabled(file);
    m_ui->serverBox->setEnabled(!file);
}

ConnectionChoice ConnectionDialog::choice() const
{
    if (m_ui->rbFile->isChecked()) {
        const QString file = m_ui->edFile->text().trimmed();
        return {
            file.isEmpty() ? file : QDir::cleanPath(QFileInfo(file).absoluteFilePath()), {}, false};
    }
    const database::ServerAddress address{m_ui->edHost->text().trimmed(), m_ui->spnPort->value(),
                                          m_ui->edServerPath->text().trimmed()};
    return {database::connectionString(address),
            {m_ui->edUser->text().trimmed(), m_ui->edPassword->text()},
            m_ui->chkRememberPassword->isChecked()};
}

void ConnectionDialog::btnChooseFileClick()
{
    const QString current = m_ui->edFile->text().trimmed();
    const QString folder = current.isEmpty() ? QString() : QFileInfo(current).path();
    const QString file = m_prompts.chooseFile(
        this, QStringLiteral("Файл базы данных"), folder,
        QStringLiteral("Базы данных (*.GDB *.gdb *.FDB *.fdb);;Все файлы (*)"));
    if (!file.isEmpty())
        m_ui->edFile->setText(file);
}

bool ConnectionDialog::filledIn()
{
    const auto missing = [this](QWidget *box, const QString &text) {
        m_prompts.inform(this, text);
        box->setFocus();
        return false;
    };
    if (m_ui->rbFile->isChecked()) {
        if (m_ui->edFile->text().trimmed().isEmpty())
            return missing(m_ui->edFile, QStringLiteral("Укажите файл базы данных."));
        return true;
    }
    if (m_ui->edHost->text().trimmed().isEmpty())
        return missing(m_ui->edHost,
                       QStringLiteral("Укажите компьютер, на котором работает сервер."));
    if (m_ui->edServerPath->text().trimmed().isEmpty())
        return missing(m_ui->edServerPath,
                       QStringLiteral("Укажите путь к базе данных на сервере или её псевдоним."));
    if (m_ui->edUser->text().trimmed().isEmpty())
        return missing(m_ui->edUser, QStringLiteral("Укажите имя пользователя."));
    return true;
}

bool ConnectionDialog::connects()
{
    const ConnectionChoice chosen = choice();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString problem = database::connectionProblem(chosen.location, chosen.credentials);
    QApplication::restoreOverrideCursor();
    if (!problem.isEmpty())
        m_prompts.error(this, problem, kCaption);
    return problem.isEmpty();
}

void ConnectionDialog::btnCheckClick()
{
    if (filledIn() && connects())
        m_prompts.inform(this, QStringLiteral("Соединение установлено: база данных доступна."));
}

void ConnectionDialog::btnOkClick()
{
    if (filledIn() && connects())
        accept();
}
