#pragma once

#include <QDialog>

class FieldLinks;
class PromptService;
class TDM;

// Asks the quantity of the line just added and takes it off the item's stock. "Отмена"
// leaves the quantity 0 and the stock as it was, for the user to fill in later.
class TfrmKolvo : public QDialog {
    Q_OBJECT

public:
    TfrmKolvo(TDM &dm, PromptService &prompts, QWidget *parent = nullptr);

    void reject() override;

private:
    void Button1Click();
    void cancelQuantity();

    TDM &m_dm;
    PromptService &m_prompts;
    FieldLinks *m_links;
};
