#pragma once

#include "reference_list.h"

#include "data/reconciliation_act.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QComboBox;
class DateEdit;

// "Акт сверки...": the client, the period (with its quick choices), the ground and whether the
// client's half is filled as the mirror of ours; "ОК" shows the act in the preview, with the
// stamp and signatures when the context reads them.
class TfrmAktSverki : public QDialog {
    Q_OBJECT

public:
    // Opened on client: the one of its BIN/IIN in the client list (of its name where it has
    // none), or itself when the list does not hold it; the first of the list for an empty one.
    TfrmAktSverki(const RefbookContext &context, const ActClient &client,
                  QWidget *parent = nullptr);

    // Builds the act as chosen, shows it and closes; what cannot be used is said, and the
    // window stays open.
    void btnOKClick();

private:
    void clientChanged();
    void setPeriod(ActPeriod period);

    RefbookContext m_context;
    std::vector<ActClientChoice> m_choices; // the items of m_client, in order
    QComboBox *m_client;
    DateEdit *m_from;
    DateEdit *m_to;
    QComboBox *m_ground;
    QCheckBox *m_mirror;
};

// "Акт сверки..." on a client as the debtors list it (by name and BIN/IIN)...
void openReconciliationAct(QWidget *parent, const RefbookContext &context, const ActClient &client);
// ...and as the client list has it: its KOD there, 0 when none is current.
void openReconciliationAct(QWidget *parent, const RefbookContext &context, int clientKod);
