#include "auto_number.h"

#include "data/tdm.h"

namespace {

struct Sequence {
    const char *column;
    const char *query;
    const char *form;
};

// Documents without a number of the form come last in a descending order, so the first
// row holds the largest number.
const Sequence kSequences[] = {
    {"NUMSCH", "select * from  DOCS order by numsch desc", "Счет на оплату"},
    {"NUMSCHF", "select * from  DOCS order by numschf desc", "Счет-фактура"},
    {"NUMACT", "select * from  DOCS order by numact desc", "Акт выполненных работ"},
    {"NUMNAKL", "select * from  DOCS order by numnakl desc", "Накладная"},
    {"NUMPRIX", "select * from  DOCS order by numprix desc", "Приходный кассовый ордер"},
    {"NUMDOV", "select * from  DOCS order by numdov desc", "Доверенность"},
    {"NUMPLAT", "select * from  DOCS order by numplat desc", "Платежное поручение"},
};

const Sequence *sequence(int numberKind)
{
    if (numberKind < NumberInvoice || numberKind > NumberPaymentOrder)
        return nullptr;
    return &kSequences[numberKind - NumberInvoice];
}

} // namespace

QString numberColumn(int numberKind)
{
    const Sequence *s = sequence(numberKind);
    return s ? QString::fromLatin1(s->column) : QString();
}

QString formName(int numberKind)
{
    const Sequence *s = sequence(numberKind);
    return s ? QString::fromUtf8(s->form) : QString();
}

qint64 nextNumber(TDM &dm, int numberKind)
{
    const Sequence *s = sequence(numberKind);
    if (!s)
        return 0;
    const QString column = QString::fromLatin1(s->column);
    Dataset *largest = dm.DSetKOD;
    largest->close();
    largest->setSelectSql(QString::fromLatin1(s->query));
    largest->open();
    const qint64 stored = largest->isEmpty() ? 0 : largest->asInteger(column);
    largest->close();

    // Requisites not yet filled in count from 1, as new ones do.
    const qint64 start =
        dm.DSetRekvizity->isEmpty() ? 1 : dm.DSetRekvizity->asInteger(QStringLiteral("NUMSTART"));
    return stored == 0 ? start : stored + 1;
}

void AutoNumber(TDM &dm, int numberKind)
{
    const Sequence *s = sequence(numberKind);
    if (!s)
        return;
    Dataset *docs = dm.DSetDocs;
    docs->edit(); // nothing when a new document is being inserted already
    const qint64 proposal = nextNumber(dm, numberKind);
    docs->setValue(QString::fromLatin1(s->column), proposal);
}
