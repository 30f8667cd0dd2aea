#pragma once

#include "report_enums.h"

#include <vector>

// Which objects of a band move when objects above them grow, and by how much.
namespace zreport {

struct ShiftRect {
    double left = 0, top = 0, width = 0, height = 0; // relative to the band
    // Moves with the objects above it but neither moves nor shields the objects below: a
    // picture, whose presence must not change where the text goes.
    bool leaf = false;
};

struct ShiftTree {
    std::vector<std::vector<int>> children; // per object, in the band's top-to-bottom order
    std::vector<int> topLevel;              // children of the band itself
};

// Built once per run from the stored positions of the band's objects.
ShiftTree buildShiftTree(const std::vector<ShiftRect> &objects, double bandLeft, double bandTop,
                         double bandWidth);

struct ShiftState {
    double top = 0;
    double height = 0;
    double shiftAmount = 0; // how much the object grew
    ShiftMode mode = ShiftMode::smAlways;
};

// Moves the objects down by the growth above them; every shift amount is 0 afterwards.
void applyShifts(const ShiftTree &tree, std::vector<ShiftState> &states);

} // namespace zreport
