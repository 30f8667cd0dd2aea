#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmAddClient;
}

class EmailBox;
class FieldLinks;
class PromptService;
class TDM;

// One client's requisites and bank accounts. The opener has put the client into insert
// (a new client) or edit state; the window posts or cancels it. Accounts are stored as
// soon as they are added; a new client given up with "Отмена" takes its accounts with it.
class TfrmAddClient : public QDialog {
    Q_OBJECT

public:
    TfrmAddClient(TDM &dm, PromptService &prompts, QWidget *parent = nullptr);

    ~TfrmAddClient() override;

    void reject() override;

private:
    void btnCloseClick();
    void cancelClient();
    void Button1Click();
    void BitBtn3Click();
    void BitBtn2Click();
    void DBGrid1TitleClick(int column);

    std::unique_ptr<Ui::TfrmAddClient> m_ui;
    TDM &m_dm;
    PromptService &m_prompts;
    FieldLinks *m_links;
    EmailBox *m_email = nullptr;
    bool m_newClient;
};
