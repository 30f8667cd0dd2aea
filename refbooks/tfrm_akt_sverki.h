#pragma once

#include "reference_list.h"

#include "data/reconciliation_act.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class DateEdit;

// "Акт сверки...": the client, the period (with its quick choices), the ground and whether the
// client's half is filled as the mirror of ours; "ОК" shows the act in the preview, with the
// stamp and signatures when the context reads them.
class TfrmAktSverki : public QDialog {
    Q_OBJECT

public:
    // Opened on the client of clientKod, or the first of the list when it has no such client.
    TfrmAktSverki(const RefbookContext &context, int clientKod, QWidget *parent = nullptr);

    // Builds the act as chosen, shows it and closes; what cannot be used is said, and the
    // window stays open.
    void btnOKClick();

private:
    void clientChanged();
    void setPeriod(ActPeriod period);

    RefbookContext m_context;
    QComboBox *m_client;
    DateEdit *m_from;
    DateEdit *m_to;
    QComboBox *m_ground;
    QCheckBox *m_mirror;
};

// What the client list and the debtors window call: "Акт сверки..." on the client of
// clientKod (its KOD in the client list; 0 when none is current).
void openReconciliationAct(QWidget *parent, const RefbookContext &context, int clientKod);
