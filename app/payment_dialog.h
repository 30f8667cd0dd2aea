#pragma once

#include "data/payments.h"

#include <QDialog>

#include <optional>

class DateEdit;
class PromptService;
class QComboBox;
class QLineEdit;

// One payment as the user types it: its date, amount, kind and note. "OK" closes it only
// when the amount is a number of at least a tiyn; otherwise it says what to type and keeps
// what was typed.
class PaymentDialog : public QDialog {
    Q_OBJECT

public:
    PaymentDialog(PromptService &prompts, const Payment &payment, QWidget *parent = nullptr);

    // The payment given, with what was typed.
    Payment payment() const;

    // The message for an amount that cannot be taken, for the tests.
    static const char *const kBadAmount;

private:
    void btnOkClick();

    PromptService &m_prompts;
    Payment m_payment;
    DateEdit *m_date;
    QLineEdit *m_amount;
    QComboBox *m_kind;
    QLineEdit *m_note;
};

// An amount as people type it: with a comma or a point before the kopecks (tiyn), spaces
// between the thousands allowed; nullopt for anything else.
std::optional<double> parseTypedAmount(const QString &text);
