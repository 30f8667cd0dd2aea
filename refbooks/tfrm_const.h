#pragma once

#include <QDialog>

class QSpinBox;
class BusinessImagesGroup;
class DbGrid;
class EmailBox;
class FieldLinks;
class PromptService;
class TDM;

// The business's own requisites (the one REKVIZITY row), its own bank accounts (the
// RASSCHET rows of KODORG 0) and the images its forms print. The window edits the shared
// datasets directly; the opener's RefreshMain commits what it posted. The images are stored
// by "ОК" itself.
class TfrmConst : public QDialog {
    Q_OBJECT

public:
    TfrmConst(TDM &dm, PromptService &prompts, QWidget *parent = nullptr);

    // "Отмена", Esc and the close box: pending changes are dropped.
    void reject() override;

private:
    QWidget *createRequisites();
    QWidget *createTermDays(QWidget *group);
    QWidget *createAccounts();

    void btnCloseClick();
    void Button1Click();
    void BitBtn3Click();
    void BitBtn2Click();
    void DBGrid1TitleClick(int column);

    TDM &m_dm;
    PromptService &m_prompts;
    FieldLinks *m_links;
    DbGrid *m_DBGrid1 = nullptr;
    BusinessImagesGroup *m_images;
    QSpinBox *m_termDays = nullptr; // "Срок оплаты, дней", kept apart from the requisites' row
    int m_storedTermDays = 0;
    EmailBox *m_email = nullptr; // "E-mail:", kept apart from the requisites' row
};
