#include "cash_receipt_payment.h"

#include "prompt_service.h"

#include "data/date_time.h"
#include "data/payment_status.h"
#include "data/payments.h"
#include "data/tdm.h"

#include <QLocale>

const char *const kCashReceiptQuestion = "Записать оплату наличными по приходному кассовому ордеру "
                                         "№ %1 от %2 на сумму %3?";

bool offerCashReceiptPayment(QWidget *parent, TDM &dm, PromptService &prompts)
{
    Dataset &docs = *dm.DSetDocs;
    if (!docs.isActive() || docs.isEmpty())
        return false;
    const int document = int(docs.asInteger(QStringLiteral("KOD")));
    if (!dm.TsnRW.isActive())
        dm.TsnRW.start();
    const double amount = payments::documentAmount(dm.TsnRW, document);
    const double paid = payments::paidAmount(dm.TsnRW, document);
    const PaymentStatus status = paymentStatus(amount, paid, std::nullopt, QDate::currentDate());
    if (amount < 0.005 || status == PaymentStatus::Paid || status == PaymentStatus::Overpaid)
        return false;
    const QDateTime stored = docs.value(QStringLiteral("DATAPRIX")).toDateTime();
    const QDate date =
        stored.isValid() && stored != datetime::zero() ? stored.date() : QDate::currentDate();
    const int number = int(docs.asInteger(QStringLiteral("NUMPRIX")));
    const QString question =
        QString::fromUtf8(kCashReceiptQuestion)
            .arg(number)
            .arg(date.toString(QStringLiteral("dd.MM.yyyy")), QLocale().toString(amount, 'f', 2));
    if (!prompts.confirm(parent, question))
        return false;
    payments::addCashReceipt(dm.TsnRW, document, date, number);
    return true;
}
