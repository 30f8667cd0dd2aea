#pragma once

#include "data/payments.h"
#include "ui/dialog_runner.h"

#include <QDialog>

#include <functional>
#include <vector>

class PromptService;
class QLabel;
class QPushButton;
class QTableWidget;
class TDM;

// The payments of one document: listed with the document's amount, what was paid and what is
// still due, added, changed and deleted one at a time. Each change is stored and committed in a
// transaction of its own at once, so that another user sees it and a failure stores nothing of
// it; what is listed is read again after each.
class TfrmOplaty : public QDialog {
    Q_OBJECT

public:
    TfrmOplaty(TDM &dm, PromptService &prompts, int document, QWidget *parent = nullptr);

    // Runs the payment entry window.
    void setDialogRunner(DialogRunner runner) { m_runDialog = std::move(runner); }

    // The questions asked, for the tests.
    static const char *const kOverpayQuestion;
    static const char *const kDeleteQuestion;

private:
    void btnAddClick();
    void btnEditClick();
    void btnDelClick();
    void btnPolnostyuClick();

    // Reads the payments and the amounts again and shows them.
    void reread();
    // The payment of the selected row, if one is selected.
    const Payment *selectedPayment() const;
    // Opens the entry window on payment; true when the user gave one, in payment.
    bool enter(Payment &payment);
    // Asks first when storing payment (in place of the one of key `replaced`, 0 none) would
    // make the paid total exceed the document's amount; true unless the user said no.
    bool acceptOverpayment(const Payment &payment, int replaced);
    void store(const std::function<void(FbTransaction &)> &change);

    TDM &m_dm;
    PromptService &m_prompts;
    const int m_document;
    DialogRunner m_runDialog = execDialog;

    std::vector<Payment> m_payments;
    double m_amount = 0;
    double m_paid = 0;

    QTableWidget *m_grid;
    QLabel *m_lblAmount;
    QLabel *m_lblPaid;
    QLabel *m_lblDue;
    QPushButton *m_btnEdit;
    QPushButton *m_btnDel;
    QPushButton *m_btnPolnostyu;
};
