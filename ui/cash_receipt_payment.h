#pragma once

class PromptService;
class QWidget;
class TDM;

// Called once the cash receipt order of the register's current document has been printed: the
// form attests that its amount was received in cash, so, unless the document is paid in full
// already, asks once whether to record it, and on "Да" stores a cash payment of the document's
// amount at the order's date (or today when it has none). What is stored is committed with the
// rest at the next "Запрос". True when a payment was recorded.
bool offerCashReceiptPayment(QWidget *parent, TDM &dm, PromptService &prompts);

// The question asked, for the tests.
extern const char *const kCashReceiptQuestion;
