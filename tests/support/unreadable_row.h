#pragma once

#include "data/tdm.h"

#include <QString>

// Fills the payment purpose codes with `rows` codes 1, 2, … and leaves DSetKNP closed on a
// statement whose row `unreadable` fails while it is fetched, as a row does whose connection is
// lost: a database error in the middle of a cursor.
inline void knpUnreadableAtRow(TDM &dm, int rows, int unreadable)
{
    dm.DSetKNP->open();
    for (int i = 1; i <= rows; ++i) {
        dm.DSetKNP->append();
        dm.DSetKNP->setValue(QStringLiteral("KNP"), QString::number(i));
        dm.DSetKNP->post();
    }
    dm.DSetKNP->close();
    dm.DSetKNP->setSelectSql(QStringLiteral("select K.*, 1 / (cast(K.KNP as integer) - %1) as "
                                            "UNREADABLE from KNP K order by K.KOD")
                                 .arg(unreadable));
}
