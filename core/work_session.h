#pragma once

#include <QObject>

#include <optional>

class TDM;

// The user's unit of work on the open database: what the register and the commands posted is
// committed, and the main datasets are read again, at a step the user sees as done (a document
// stored, a reference book closed, a copy about to be made). Windows follow the reopened data
// through reopened(); commands and tests refresh here, without a window.
class WorkSession : public QObject {
    Q_OBJECT

public:
    explicit WorkSession(TDM &dm, QObject *parent = nullptr);

    TDM &dm() const { return m_dm; }

    // Commits, closes and reopens the main datasets; the register rests on the document it
    // rested on, or on its first row when it was closed or empty (as after a new statement).
    void refresh();
    // The same, resting on the document kod (on the first row when it is not listed).
    void refresh(qint64 kod);
    // Commits what is pending, leaving the datasets as they are.
    void commit();

Q_SIGNALS:
    // The main datasets are open again, the register on its document.
    void reopened();

private:
    void reopen(std::optional<qint64> kod);

    TDM &m_dm;
};
