#include "number_check.h"

#include "auto_number.h"

#include "data/conflict_errors.h"
#include "data/fb_statement.h"
#include "data/program_tables.h"
#include "data/savepoint.h"
#include "data/tdm.h"

#include <QDeadlineTimer>
#include <QThread>

#include <ibase.h>

namespace {

constexpr NumberKind kKinds[] = {NumberInvoice,     NumberVatInvoice,  NumberAct,
                                 NumberWaybill,     NumberCashReceipt, NumberPowerOfAttorney,
                                 NumberPaymentOrder};

// Other users take the numbers being asked about again and again only on a busy day; the
// question is not put forever.
constexpr int kAskingRounds = 3;

// Another user holds the lock only from their "ОК" to their commit, a moment.
constexpr int kLockWaitMs = 3000;
constexpr int kLockRetryMs = 20;

void lockOnce(FbTransaction &transaction)
{
    FbStatement lock(transaction);
    if (tableExists(transaction, "NUMBERING")) {
        // The first user who stores a numbered document makes the row; making it locks it too.
        lock.prepare(QStringLiteral("UPDATE OR INSERT INTO NUMBERING (NAME) VALUES "
                                    "('DOCUMENTS') MATCHING (NAME)"));
        lock.execute();
        return;
    }
    // A server's database its owner has not opened since the table came: the requisites' row
    // serves, where there is one.
    lock.prepare(QStringLiteral("select KOD from REKVIZITY with lock"));
    lock.execute();
    while (lock.fetch()) {
    }
}

// Another user holds the lock, or is making its row at this very moment.
bool heldElsewhere(const DbError &error)
{
    return conflict::isConflict(error) ||
           error.hasAnyEngineCode({isc_unique_key_violation, isc_no_dup});
}

void lockNumbering(FbTransaction &transaction)
{
    QDeadlineTimer deadline(kLockWaitMs);
    for (;;) {
        try {
            lockOnce(transaction);
            return;
        } catch (const DbError &e) {
            if (!heldElsewhere(e))
                throw;
            if (deadline.hasExpired())
                throw DbError(QStringLiteral("Другой пользователь сейчас записывает документ с "
                                             "номером.\nПовторите «ОК» через несколько секунд."),
                              {isc_lock_conflict}, 0);
        }
        QThread::msleep(kLockRetryMs);
    }
}

QString otherDocument(TDM &dm, const QString &column, qint64 number, const QVariant &kod)
{
    FbStatement other(dm.TsnRW);
    other.prepare(QStringLiteral("select first 1 DATASCH, NAMEORG from DOCS where %1 = ? and "
                                 "KOD is distinct from ? order by KOD")
                      .arg(column));
    other.setParameter(0, number);
    other.setParameter(1, kod);
    other.execute();
    if (!other.fetch())
        return QString();
    QStringList parts;
    const QDate date = other.value(0).toDateTime().date();
    if (date.isValid())
        parts << QStringLiteral("от ") + date.toString(QStringLiteral("dd.MM.yyyy"));
    const QString client = other.value(1).toString().trimmed();
    if (!client.isEmpty())
        parts << client;
    other.closeCursor();
    return parts.isEmpty() ? QStringLiteral("без даты") : parts.join(QStringLiteral(", "));
}

} // namespace

QHash<int, qint64> documentNumbers(TDM &dm)
{
    QHash<int, qint64> numbers;
    for (NumberKind kind : kKinds) {
        const qint64 number = dm.DSetDocs->asInteger(numberColumn(kind));
        if (number != 0)
            numbers.insert(kind, number);
    }
    return numbers;
}

void storeNumbered(TDM &dm, const std::function<void()> &store)
{
    Savepoint numbering(dm.TsnRW, QStringLiteral("STORE_NUMBERED"));
    lockNumbering(dm.TsnRW);
    store();
    numbering.release();
}

void storeNumberedAsking(TDM &dm, QHash<int, qint64> unchanged,
                         const std::function<bool(const NumberClash &)> &takeNextFree)
{
    Dataset *docs = dm.DSetDocs;
    for (int round = 1; round <= kAskingRounds; ++round) {
        for (const NumberClash &clash : numberClashes(dm, unchanged)) {
            if (takeNextFree(clash))
                docs->setValue(numberColumn(clash.kind), clash.nextFree);
            else
                unchanged.insert(clash.kind, clash.number);
        }
        Savepoint numbering(dm.TsnRW, QStringLiteral("STORE_NUMBERED"));
        lockNumbering(dm.TsnRW);
        // Whoever stored one of these numbers while the question was open is seen now.
        if (!numberClashes(dm, unchanged).empty())
            continue; // the savepoint lets the lock go before the next question
        docs->post();
        numbering.release();
        return;
    }
    throw DbError(QStringLiteral("Другие пользователи тем временем заняли номера этого "
                                 "документа.\nПовторите «ОК»."),
                  {isc_lock_conflict}, 0);
}

std::vector<NumberClash> numberClashes(TDM &dm, const QHash<int, qint64> &unchanged)
{
    std::vector<NumberClash> clashes;
    const QVariant kod = dm.DSetDocs->value(QStringLiteral("KOD"));
    const QHash<int, qint64> numbers = documentNumbers(dm);
    for (NumberKind kind : kKinds) {
        const qint64 number = numbers.value(kind);
        if (number == 0 || unchanged.value(kind) == number)
            continue;
        const QString other = otherDocument(dm, numberColumn(kind), number, kod);
        if (!other.isEmpty())
            clashes.push_back({kind, number, other, nextNumber(dm, kind)});
    }
    return clashes;
}

QString clashQuestion(const NumberClash &clash)
{
    return QStringLiteral("%1 № %2 уже есть у другого документа (%3).\nПрисвоить этому документу "
                          "следующий свободный номер %4?")
        .arg(formName(clash.kind))
        .arg(clash.number)
        .arg(clash.otherDocument)
        .arg(clash.nextFree);
}
