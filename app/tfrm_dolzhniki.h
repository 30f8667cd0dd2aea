#pragma once

#include "printing/report_shower.h"

#include <QDate>
#include <QDialog>

#include <functional>

class DateEdit;
class DebtorDocumentsModel;
class DebtorsModel;
class FbTransaction;
class PromptService;
class QPushButton;
class QTableView;
class TDM;
struct ClientDebt;

// "Должники": what each client owes at a date, by how long it is overdue, with the totals; the
// documents of the client chosen below. The figures are read from what is stored each time the
// date changes, so payments another user recorded count as soon as they are committed.
class TfrmDolzhniki : public QDialog {
    Q_OBJECT

public:
    // The reconciliation act of a client at a date, opened by "Акт сверки...".
    using ReconciliationAct =
        std::function<void(QWidget *parent, const ClientDebt &client, QDate at)>;

    // Reads the figures at today's date; database errors are thrown.
    TfrmDolzhniki(TDM &dm, PromptService &prompts, ReportShower showReport,
                  QWidget *parent = nullptr);
    ~TfrmDolzhniki() override;

    // Without one, "Акт сверки..." stays disabled.
    void setReconciliationAct(ReconciliationAct act);

    // The figures at `at`, as if the user had chosen that date.
    void setDate(QDate at);

private:
    void dtpNaDatuChange();
    void dbgrDolzhnikiRowChange();
    void dbgrDolzhnikiDblClick();
    void btnPrintClick();
    void btnAktSverkiClick();
    FbTransaction &readTransaction();
    const ClientDebt *currentClient() const;
    void updateCommands();

    TDM &m_dm;
    PromptService &m_prompts;
    ReportShower m_showReport;
    ReconciliationAct m_reconciliationAct;
    DateEdit *m_date;
    QTableView *m_clients;
    QTableView *m_documents;
    QPushButton *m_aktSverki;
    DebtorsModel *m_clientsModel;
    DebtorDocumentsModel *m_documentsModel;
};
