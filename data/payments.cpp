#include "payments.h"

#include "date_time.h"
#include "fb_statement.h"
#include "money.h"
#include "program_tables.h"

#include <QVariant>

namespace {

const QString kTermSetting = QStringLiteral("SROKOPLATY");

// The first column of the first row a statement gives for one document; null when none.
QVariant valueOf(FbTransaction &transaction, const QString &sql, int document)
{
    FbStatement statement(transaction);
    statement.prepare(sql);
    statement.setParameter(0, document);
    statement.execute();
    QVariant result;
    if (statement.fetch())
        result = statement.value(0);
    statement.closeCursor();
    return result;
}

void runWith(FbTransaction &transaction, const QString &sql, const QVariantList &values)
{
    FbStatement statement(transaction);
    statement.prepare(sql);
    for (int i = 0; i < values.size(); ++i)
        statement.setParameter(i, values[i]);
    statement.execute();
}

QVariant nullIfEmpty(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

} // namespace

QString paymentKindText(PaymentKind kind)
{
    switch (kind) {
    case PaymentKind::Bank:
        return QStringLiteral("банк");
    case PaymentKind::Cash:
        return QStringLiteral("касса");
    case PaymentKind::Other:
        return QStringLiteral("прочее");
    }
    return {};
}

PaymentInserter::PaymentInserter(FbTransaction &transaction)
    : m_key(std::make_unique<FbStatement>(transaction)),
      m_insert(std::make_unique<FbStatement>(transaction))
{
    m_key->prepare(QStringLiteral("select gen_id(PAYMENTS_KOD_GEN, 1) from RDB$DATABASE"));
    m_insert->prepare(
        QStringLiteral("insert into PAYMENTS (KOD, KODDOCS, DATAOPL, AMOUNT, KIND, NOTE, SOURCE, "
                       "DOCNUM, OPERATION) values (:KOD, :KODDOCS, :DATAOPL, :AMOUNT, :KIND, "
                       ":NOTE, :SOURCE, :DOCNUM, :OPERATION)"));
}

PaymentInserter::~PaymentInserter() = default;

int PaymentInserter::add(const Payment &payment)
{
    m_key->execute();
    m_key->fetch();
    const int kod = m_key->value(0).toInt();
    m_key->closeCursor();
    const QVariantList values = {kod,
                                 payment.document,
                                 datetime::make(payment.date),
                                 roundMoney(payment.amount),
                                 int(payment.kind),
                                 nullIfEmpty(payment.note),
                                 int(payment.source),
                                 nullIfEmpty(payment.docNumber),
                                 payment.operation ? QVariant(payment.operation) : QVariant()};
    for (int i = 0; i < values.size(); ++i)
        m_insert->setParameter(i, values[i]);
    m_insert->execute();
    return kod;
}

namespace payments {

std::vector<Payment> of(FbTransaction &transaction, int document)
{
    FbStatement statement(transaction);
    statement.prepare(
        QStringLiteral("select KOD, DATAOPL, AMOUNT, KIND, NOTE, SOURCE, DOCNUM, OPERATION, "
                       "MADE_BY, MADE_AT, CHANGED_BY, CHANGED_AT from PAYMENTS "
                       "where KODDOCS = :KODDOCS order by DATAOPL, KOD"));
    statement.setParameter(0, document);
    statement.execute();
    std::vector<Payment> result;
    while (statement.fetch()) {
        Payment payment;
        payment.kod = statement.value(0).toInt();
        payment.document = document;
        payment.date = statement.value(1).toDateTime().date();
        payment.amount = statement.value(2).toDouble();
        payment.kind = PaymentKind(statement.value(3).toInt());
        payment.note = statement.value(4).toString();
        payment.source = PaymentSource(statement.value(5).toInt());
        payment.docNumber = statement.value(6).toString();
        payment.operation = statement.value(7).toInt();
        payment.audit = {statement.value(8).toString().trimmed(), statement.value(9).toDateTime(),
                         statement.value(10).toString().trimmed(),
                         statement.value(11).toDateTime()};
        result.push_back(payment);
    }
    return result;
}

int add(FbTransaction &transaction, const Payment &payment)
{
    return PaymentInserter(transaction).add(payment);
}

void change(FbTransaction &transaction, const Payment &payment)
{
    runWith(transaction,
            QStringLiteral("update PAYMENTS set DATAOPL = :DATAOPL, AMOUNT = :AMOUNT, "
                           "KIND = :KIND, NOTE = :NOTE, DOCNUM = :DOCNUM where KOD = :KOD"),
            {datetime::make(payment.date), roundMoney(payment.amount), int(payment.kind),
             nullIfEmpty(payment.note), nullIfEmpty(payment.docNumber), payment.kod});
}

void remove(FbTransaction &transaction, int kod)
{
    runWith(transaction, QStringLiteral("delete from PAYMENTS where KOD = :KOD"), {kod});
}

void removeDocument(FbTransaction &transaction, int document)
{
    for (const char *table : {"PAYMENTS", "DUEDATES"}) {
        if (tableExists(transaction, table))
            runWith(transaction,
                    QStringLiteral("delete from %1 where KODDOCS = :KODDOCS")
                        .arg(QString::fromLatin1(table)),
                    {document});
    }
}

double documentAmount(FbTransaction &transaction, int document)
{
    return roundMoney(
        valueOf(transaction,
                QStringLiteral("select sum(STREALIZ) from DETAILDOCS where KODDOCS = :KODDOCS"),
                document)
            .toDouble());
}

double paidAmount(FbTransaction &transaction, int document)
{
    return roundMoney(
        valueOf(transaction,
                QStringLiteral("select sum(AMOUNT) from PAYMENTS where KODDOCS = :KODDOCS"),
                document)
            .toDouble());
}

int addCashReceipt(FbTransaction &transaction, int document, QDate orderDate, int orderNumber)
{
    Payment payment;
    payment.document = document;
    payment.date = orderDate;
    payment.amount = documentAmount(transaction, document);
    payment.kind = PaymentKind::Cash;
    payment.note = QStringLiteral("Прих. кас. ордер № %1").arg(orderNumber);
    payment.docNumber = QString::number(orderNumber);
    return add(transaction, payment);
}

std::optional<QDate> dueDate(FbTransaction &transaction, int document)
{
    const QVariant value =
        valueOf(transaction, QStringLiteral("select SROK from DUEDATES where KODDOCS = :KODDOCS"),
                document);
    if (value.isNull())
        return std::nullopt;
    return value.toDateTime().date();
}

void setDueDate(FbTransaction &transaction, int document, std::optional<QDate> date)
{
    if (!date || !date->isValid()) {
        runWith(transaction, QStringLiteral("delete from DUEDATES where KODDOCS = :KODDOCS"),
                {document});
        return;
    }
    runWith(
        transaction,
        QStringLiteral("update or insert into DUEDATES (KODDOCS, SROK) values (:KODDOCS, :SROK) "
                       "matching (KODDOCS)"),
        {document, datetime::make(*date)});
}

int termDays(FbTransaction &transaction)
{
    if (!tableExists(transaction, "SETTINGS"))
        return kDefaultTermDays;
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("select VAL from SETTINGS where NAME = :NAME"));
    statement.setParameter(0, kTermSetting);
    statement.execute();
    int days = kDefaultTermDays;
    if (statement.fetch()) {
        bool ok = false;
        const int stored = statement.value(0).toString().toInt(&ok);
        if (ok && stored >= 0)
            days = stored;
    }
    statement.closeCursor();
    return days;
}

void setTermDays(FbTransaction &transaction, int days)
{
    runWith(transaction,
            QStringLiteral(
                "update or insert into SETTINGS (NAME, VAL) values (:NAME, :VAL) matching (NAME)"),
            {kTermSetting, QString::number(days)});
}

} // namespace payments
