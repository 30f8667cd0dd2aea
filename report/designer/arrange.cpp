#include "arrange.h"

#include "report/report_units.h"

#include <cmath>

namespace zdesigner {

std::vector<QRectF> arranged(const std::vector<QRectF> &boxes, Arrangement arrangement)
{
    std::vector<QRectF> result = boxes;
    if (boxes.empty())
        return result;
    const QRectF &first = boxes.front();
    for (QRectF &box : result) {
        switch (arrangement) {
        case Arrangement::AlignLeft:
            box.moveLeft(first.left());
            break;
        case Arrangement::AlignRight:
            box.moveRight(first.right());
            break;
        case Arrangement::AlignTop:
            box.moveTop(first.top());
            break;
        case Arrangement::AlignBottom:
            box.moveBottom(first.bottom());
            break;
        case Arrangement::SameWidth:
            box.setWidth(first.width());
            break;
        case Arrangement::SameHeight:
            box.setHeight(first.height());
            break;
        }
    }
    return result;
}

double snapped(double units, double stepMm)
{
    if (stepMm <= 0)
        return units;
    const double steps = std::round(units / zreport::kUnitsPerMm / stepMm);
    return zreport::mmToUnits(steps * stepMm);
}

} // namespace zdesigner
