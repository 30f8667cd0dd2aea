#pragma once

#include <QDialog>

#include <functional>

class PromptService;
class QPushButton;
class QTableWidget;
class TDM;

// "Бланки документов": every printed form with its title, and which of them the business
// changed (by whom, when). "Изменить..." opens the designer on the chosen form, "Восстановить
// стандартный" removes the business's version, "Экспорт..." writes the form as it prints to a
// file and "Импорт..." stores a file as the business's version once it reads as a template.
// Each change is committed at once, so every computer prints it from its next print.
class FormTemplatesDialog : public QDialog {
    Q_OBJECT

public:
    // Opens the designer on the template name; the list is read again when it returns.
    using OpenDesigner = std::function<void(const QString &name)>;

    // Without a designer "Изменить..." stays disabled.
    FormTemplatesDialog(TDM &dm, PromptService &prompts, OpenDesigner openDesigner,
                        QWidget *parent = nullptr);

    void btnEditClick();
    void btnResetClick();
    void btnExportClick();
    void btnImportClick();

private:
    void reload();
    QString chosenName() const;
    bool chosenIsChanged() const;
    void updateCommands();
    // Runs a change committed at once and reads the list again; a failure is shown.
    template <typename Change> void change(Change &&work);

    TDM &m_dm;
    PromptService &m_prompts;
    OpenDesigner m_openDesigner;
    QTableWidget *m_forms;
    QPushButton *m_edit;
    QPushButton *m_reset;
};
