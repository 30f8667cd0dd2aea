#include "work_session.h"

#include "data/tdm.h"

namespace {

const QString kKod = QStringLiteral("KOD");

} // namespace

WorkSession::WorkSession(TDM &dm, QObject *parent) : QObject(parent), m_dm(dm) {}

void WorkSession::refresh()
{
    Dataset *docs = m_dm.DSetDocs;
    // A register given a new statement starts at its first row: looking for no document there
    // would read every row, over the network on a server.
    if (!docs->isActive() || docs->isEmpty()) {
        reopen(std::nullopt);
        return;
    }
    reopen(docs->asInteger(kKod));
}

void WorkSession::refresh(qint64 kod)
{
    reopen(kod);
}

void WorkSession::commit()
{
    if (m_dm.TsnRW.isActive())
        m_dm.TsnRW.commit();
}

void WorkSession::reopen(std::optional<qint64> kod)
{
    commit();
    m_dm.closeAllDatasets();
    if (!m_dm.TsnRW.isActive())
        m_dm.TsnRW.start();
    for (Dataset *dataset : m_dm.mainDatasets())
        dataset->open();
    if (kod)
        m_dm.DSetDocs->locate(*kod);
    Q_EMIT reopened();
}
