#pragma once

#include <QString>
#include <QStringList>

// Enumerations of the template object model; the order of the members is their stored ordinal.
namespace zreport {

enum class StretchMode { smDontStretch, smActualHeight, smMaxHeight };
enum class ShiftMode { smDontShift, smAlways, smWhenOverlapped };
enum class HAlign { haLeft, haRight, haCenter, haBlock };
enum class VAlign { vaTop, vaBottom, vaCenter };
enum class FrameLineStyle {
    fsSolid,
    fsDash,
    fsDot,
    fsDashDot,
    fsDashDotDot,
    fsDouble,
    fsAltDot,
    fsSquare
};
enum class FormatKind { fkText, fkNumeric, fkDateTime, fkBoolean };
enum class PageOrientation { poPortrait, poLandscape };

// Frame sides as bits of a set.
enum FrameSide : unsigned { ftLeft = 1, ftRight = 2, ftTop = 4, ftBottom = 8 };

// Stored names of the members, index = ordinal.
const QStringList &stretchModeNames();
const QStringList &shiftModeNames();
const QStringList &hAlignNames();
const QStringList &vAlignNames();
const QStringList &frameLineStyleNames();
const QStringList &formatKindNames();
const QStringList &orientationNames();
const QStringList &frameSideNames(); // in bit order: ftLeft, ftRight, ftTop, ftBottom

template <typename E> QString enumName(const QStringList &names, E value)
{
    return names.value(int(value));
}

} // namespace zreport
