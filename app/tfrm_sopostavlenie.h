#pragma once

#include "statements/statement_import.h"

#include <QDialog>

class PromptService;
class QRadioButton;
class QTableWidget;

// "Сопоставление": what an incoming operation the matching left alone pays. The client's open
// documents are listed with what each still owes; the user types the part of the amount that
// goes to each (one or several), or leaves the money on account of the client, or ignores it.
class TfrmSopostavlenie : public QDialog {
public:
    TfrmSopostavlenie(const PlannedOperation &planned, std::vector<OpenDocument> documents,
                      PromptService &prompts, QWidget *parent = nullptr);

    // What was chosen; valid after the window was accepted.
    const OperationChoice &choice() const { return m_choice; }

private:
    void btnOkClick();
    // The choice the window shows now; nullopt with a message shown when a typed amount is not
    // a number.
    std::optional<OperationChoice> shownChoice();

    PlannedOperation m_planned;
    std::vector<OpenDocument> m_documents;
    PromptService &m_prompts;
    OperationChoice m_choice;
    QRadioButton *m_documentsButton;
    QRadioButton *m_advanceButton;
    QRadioButton *m_ignoreButton;
    QRadioButton *m_leaveButton;
    QTableWidget *m_grid;
};
