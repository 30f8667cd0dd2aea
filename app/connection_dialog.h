#pragma once

#include "data/server_location.h"

#include <QDialog>

#include <memory>

class PromptService;

namespace Ui {
class ConnectionDialog;
}

// A database the user chose: where it is and, for a server, who connects.
struct ConnectionChoice {
    QString location;
    database::Credentials credentials; // empty for a file of this computer
    bool rememberPassword = false;
};

// "Подключение к базе данных": a file on this computer or a database on a server. "Проверить"
// and "ОК" try the connection and say plainly what failed; "ОК" closes only on a database
// that works.
class ConnectionDialog : public QDialog {
    Q_OBJECT

public:
    ConnectionDialog(PromptService &prompts, const ConnectionChoice &current,
                     QWidget *parent = nullptr);
    ~ConnectionDialog() override;

    ConnectionChoice choice() const;

private:
    void showChoice(const ConnectionChoice &current);
    void enableChoice();
    void btnChooseFileClick();
    void btnCheckClick();
    void btnOkClick();
    // What is missing from the boxes, said to the user; false when something is.
    bool filledIn();
    // Tries the chosen database; says what failed and gives false when it does not work.
    bool connects();

    std::unique_ptr<Ui::ConnectionDialog> m_ui;
    PromptService &m_prompts;
};
