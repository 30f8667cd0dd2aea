#include "payments.h"
#include "savepoint.h"
#include "tdm.h"

namespace {

// Runs the steps of one deletion inside a savepoint of the one transaction. When a step fails,
// the rows already deleted come back and `master` is read again where it stood, since its
// rows in memory no longer match what is stored.
template <class Steps> void allOrNothing(TDM &dm, Dataset &master, Steps steps)
{
    try {
        Savepoint deletion(dm.TsnRW, QStringLiteral("DELETE_WITH_DETAILS"));
        steps();
        deletion.release();
    } catch (...) {
        const int row = master.currentIndex();
        master.close();
        master.open();
        if (!master.isEmpty())
            master.setCurrentIndex(std::min(row, master.recordCount() - 1));
        throw;
    }
}

} // namespace

void TDM::deleteDocument()
{
    allOrNothing(*this, *DSetDocs, [this] {
        payments::removeDocument(TsnRW, DSetDocs->value(QStringLiteral("KOD")).toInt());
        DSetDetail->removeAll();
        DSetDocs->remove();
    });
}

void TDM::deleteClient()
{
    allOrNothing(*this, *DSetClients, [this] {
        DSetSchets->removeAll();
        DSetOsnovanie->removeAll();
        DSetClients->remove();
    });
}
