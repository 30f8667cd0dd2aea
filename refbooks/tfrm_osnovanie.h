#pragma once

#include "reference_list.h"

#include "ui/pick_modes.h"

class QLabel;

// The grounds (contracts) of one client. Opened from the client list (ListPick::Browse) it
// keeps the grounds of the client selected there; opened with IntoDocument it finds the
// document's client by its exact name and puts the chosen ground into the document.
class TfrmOsnovanie : public ReferenceList {
    Q_OBJECT

public:
    TfrmOsnovanie(const RefbookContext &context, QWidget *parent = nullptr,
                  ListPick mode = ListPick::Browse);
    // The grounds follow the current client again.
    ~TfrmOsnovanie() override;

    // Picking into the document: whether a client bears the document's name; without one the list
    // is empty and nothing can be added.
    bool clientFound() const { return m_clientFound; }

protected:
    void pick() override;

private:
    void findDocumentsClient();
    void BitBtn1Click();

    bool m_clientFound = true;
    QLabel *m_note;
};
