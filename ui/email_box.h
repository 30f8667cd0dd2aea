#pragma once

#include <QLineEdit>

class FbTransaction;

// "E-mail:" of a card: the address is kept apart from the card's row, in the program's table
// of addresses, under owner (a client's KOD, or the business's "own"). What does not look like
// an address is framed in red with the reason as the tooltip as it is typed, and kept all the
// same, as the identifiers' checks do.
class EmailBox : public QLineEdit {
public:
    EmailBox(const QString &owner, QWidget *parent);

    void load(FbTransaction &transaction);
    // Writes the address when it was changed. Throws DbError.
    void save(FbTransaction &transaction);
    bool isMarkedWrong() const { return m_wrong; }

private:
    void mark();

    QString m_owner;
    QString m_stored;
    bool m_wrong = false;
};
