#pragma once

#include "reference_list.h"

#include "ui/pick_modes.h"

class QLineEdit;

// The client list: clients of one kind per tab, with their accounts and grounds kept in
// the windows it opens. Opened to pick, it fills what `mode` names.
class TfrmOrg : public ReferenceList {
    Q_OBJECT

public:
    TfrmOrg(const RefbookContext &context, QWidget *parent = nullptr,
            ClientPick mode = ClientPick::Browse);

    // The register's client filter box, which ClientPick::RegisterFilter fills.
    void setClientFilterBox(QLineEdit *box) { m_clientFilter = box; }

    // Deletes the current client with its accounts and grounds, all or nothing.
    void deleteClient();

protected:
    void pick() override;
    void rowDoubleClicked() override;

private:
    void BitBtn1Click();
    void BitBtn3Click();
    void btnOsnovClick();
    void btnAktSverkiClick();
    void openClient();

    ClientPick m_mode;
    QLineEdit *m_clientFilter = nullptr;
};
