#pragma once

#include <QHash>
#include <QString>

#include <functional>
#include <vector>

class TDM;

// A number of one of the current document's forms that another stored document of the same
// form already bears.
struct NumberClash {
    int kind = 0; // a NumberKind
    qint64 number = 0;
    QString otherDocument; // "от 01.12.2026, ТОО «Альфа»"
    qint64 nextFree = 0;
};

// Numbers of the current document (DSetDocs, posted or being edited) as they stand, by kind;
// forms without a number are left out.
QHash<int, qint64> documentNumbers(TDM &dm);

// Runs `store` (which checks the document's numbers and posts it) while holding the numbering
// lock (the row of NUMBERING, see data/program_tables.h): of two users storing the same number at
// once, the second waits for the first's commit and then sees the first's document. The lock lasts
// until the one transaction ends, unless `store` throws: then it is let go at once, with anything
// `store` wrote, so that a window left open after an error holds nobody up. Waits a few seconds for
// another user's lock and throws DbError if it stays.
void storeNumbered(TDM &dm, const std::function<void()> &store);

// Posts the current document (DSetDocs, being edited) under the numbering lock. Each clash of
// its numbers is first put to `takeNextFree` without the lock, so that nobody waits on an
// open question; true gives the document the next free number, false keeps the number. Under
// the lock the numbers are checked again, and a clash that came meanwhile is asked about
// again after the lock is let go; after a few such rounds DbError asks for "ОК" once more.
// Numbers equal to `unchanged` are not checked, as with numberClashes.
void storeNumberedAsking(TDM &dm, QHash<int, qint64> unchanged,
                         const std::function<bool(const NumberClash &)> &takeNextFree);

// The numbers of the current document that clash with another stored document of their form.
// Numbers equal to `unchanged` (those the document had when it was opened) are not checked
// again: a clash the user kept once is not asked about at every edit.
std::vector<NumberClash> numberClashes(TDM &dm, const QHash<int, qint64> &unchanged = {});

// The question a clash asks ("Счет на оплату № 12 уже есть … Присвоить … 13?").
QString clashQuestion(const NumberClash &clash);
