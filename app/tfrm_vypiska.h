#pragma once

#include "statements/statement_import.h"
#include "ui/dialog_runner.h"

#include <QDialog>

#include <optional>

class PromptService;
class QLabel;
class QPushButton;
class QTableWidget;
class WorkSession;

// "Выписка банка": a bank statement's incoming operations with what each pays, checked against
// the statement's own totals; the unmatched are highlighted and decided with "Сопоставление";
// "Загрузить" records all of it in one step.
class TfrmVypiska : public QDialog {
public:
    TfrmVypiska(WorkSession &session, PromptService &prompts, DialogRunner runDialog = execDialog,
                QWidget *parent = nullptr);

    // Reads the statement in `path` and lists it; false when it was refused or not wanted.
    bool loadFile(const QString &path);

private:
    void btnFileClick();
    void btnSopostavlenieClick();
    void btnZagruzitClick();
    void fillGrid();
    QString matchText(const PlannedOperation &planned) const;

    WorkSession &m_session;
    PromptService &m_prompts;
    DialogRunner m_runDialog;
    std::optional<Statement> m_statement;
    std::optional<StatementPlan> m_plan;
    QLabel *m_statementLabel;
    QLabel *m_totalsLabel;
    QTableWidget *m_grid;
    QPushButton *m_matchButton;
    QPushButton *m_loadButton;
};

class QMenu;

// "Выписка банка..." in the main window's "Сервис" menu.
void addBankStatementCommand(QMenu &menu, WorkSession &session, PromptService &prompts,
                             QWidget *parent);
