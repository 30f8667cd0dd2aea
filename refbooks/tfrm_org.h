#pragma once

#include "reference_list.h"

class QLineEdit;

// The client list: clients of one kind per tab, with their accounts and grounds kept in
// the windows it opens. Opened with OrgPickMode 1 it fills the document's client, with 2
// the register's client filter, with 3 the holder of a power of attorney.
class TfrmOrg : public ReferenceList {
    Q_OBJECT

public:
    TfrmOrg(const RefbookContext &context, QWidget *parent = nullptr);

    // The register's client filter box, which mode 2 fills.
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
    void openClient();

    int m_mode;
    QLineEdit *m_clientFilter = nullptr;
};
