#include "report_enums.h"

namespace zreport {

const QStringList &stretchModeNames()
{
    static const QStringList names{"smDontStretch", "smActualHeight", "smMaxHeight"};
    return names;
}

const QStringList &shiftModeNames()
{
    static const QStringList names{"smDontShift", "smAlways", "smWhenOverlapped"};
    return names;
}

const QStringList &hAlignNames()
{
    static const QStringList names{"haLeft", "haRight", "haCenter", "haBlock"};
    return names;
}

const QStringList &vAlignNames()
{
    static const QStringList names{"vaTop", "vaBottom", "vaCenter"};
    return names;
}

const QStringList &frameLineStyleNames()
{
    static const QStringList names{"fsSolid",      "fsDash",   "fsDot",    "fsDashDot",
                                   "fsDashDotDot", "fsDouble", "fsAltDot", "fsSquare"};
    return names;
}

const QStringList &formatKindNames()
{
    static const QStringList names{"fkText", "fkNumeric", "fkDateTime", "fkBoolean"};
    return names;
}

const QStringList &orientationNames()
{
    static const QStringList names{"poPortrait", "poLandscape"};
    return names;
}

const QStringList &frameSideNames()
{
    static const QStringList names{"ftLeft", "ftRight", "ftTop", "ftBottom"};
    return names;
}

} // namespace zreport
