#include "auto_number.h"

#include "data/tdm.h"
#include "modes.h"

namespace {

struct Sequence {
    const char *column;
    const char *query;
};

// Documents without a number of the form come last in a descending order, so the first
// row holds the largest number.
const Sequence kSequences[] = {
    {"NUMSCH", "select * from  DOCS order by numsch desc"},
    {"NUMSCHF", "select * from  DOCS order by numschf desc"},
    {"NUMACT", "select * from  DOCS order by numact desc"},
    {"NUMNAKL", "select * from  DOCS order by numnakl desc"},
    {"NUMPRIX", "select * from  DOCS order by numprix desc"},
    {"NUMDOV", "select * from  DOCS order by numdov desc"},
    {"NUMPLAT", "select * from  DOCS order by numplat desc"},
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

void AutoNumber(TDM &dm, int numberKind)
{
    const Sequence *s = sequence(numberKind);
    if (!s)
        return;
    Dataset *docs = dm.DSetDocs;
    // A new document is being inserted already.
    if (SchetMode == 2 || SchetMode == 3)
        docs->edit();

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
    const qint64 proposal = stored == 0 ? start : stored + 1;
    docs->setValue(column, proposal);
}
