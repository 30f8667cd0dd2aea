#pragma once

#include <QRectF>

#include <vector>

// Lining objects up and sizing them alike, on their boxes in page units. The first box is the
// one the others follow (the object chosen first).
namespace zdesigner {

enum class Arrangement { AlignLeft, AlignRight, AlignTop, AlignBottom, SameWidth, SameHeight };

std::vector<QRectF> arranged(const std::vector<QRectF> &boxes, Arrangement arrangement);

// A length put on the grid of `step` millimetres; the result is a whole number of steps, as
// the same number of millimetres reads from a template.
double snapped(double units, double stepMm);

} // namespace zdesigner
