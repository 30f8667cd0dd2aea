#include "shift_tree.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zreport {

namespace {

constexpr double kTolerance = 0.0001;

bool overlaps(double a1, double a2, double b1, double b2)
{
    return b1 < a2 - kTolerance && a1 < b2 - kTolerance;
}

double hundredths(double v)
{
    return std::round(v * 100) / 100;
}

struct Extent {
    double left, top, right, bottom;
    bool leaf = false;
};

} // namespace

ShiftTree buildShiftTree(const std::vector<ShiftRect> &objects, double bandLeft, double bandTop,
                         double bandWidth)
{
    const int n = int(objects.size());
    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return hundredths(bandTop + objects[size_t(a)].top) <
               hundredths(bandTop + objects[size_t(b)].top);
    });
    // Position 0 is the virtual object standing above the band.
    std::vector<Extent> e;
    e.push_back({bandLeft, bandTop - 2, bandLeft + bandWidth, bandTop - 1});
    for (int index : order) {
        const ShiftRect &r = objects[size_t(index)];
        e.push_back({bandLeft + r.left, bandTop + r.top, bandLeft + r.left + r.width,
                     bandTop + r.top + r.height, r.leaf});
    }
    ShiftTree tree;
    tree.children.resize(size_t(n));
    const int count = n + 1;
    for (int a = 0; a < count; ++a) {
        if (e[size_t(a)].leaf)
            continue;
        for (int b = a + 1; b < count; ++b) {
            const Extent &A = e[size_t(a)], &B = e[size_t(b)];
            if (overlaps(A.top, A.bottom, B.top, B.bottom) || !(B.top > A.top))
                continue;
            if (!overlaps(A.left, A.right, B.left, B.right))
                continue;
            const double sharedLeft = std::max(A.left, B.left);
            const double sharedRight = std::min(A.right, B.right);
            bool blocked = false;
            for (int c = a + 1; c < b && !blocked; ++c) {
                const Extent &C = e[size_t(c)];
                blocked = !C.leaf && !overlaps(C.top, C.bottom, A.top, A.bottom) &&
                          !overlaps(C.top, C.bottom, B.top, B.bottom) &&
                          overlaps(C.left, C.right, sharedLeft, sharedRight);
            }
            if (blocked)
                continue;
            const int child = order[size_t(b - 1)];
            if (a == 0)
                tree.topLevel.push_back(child);
            else
                tree.children[size_t(order[size_t(a - 1)])].push_back(child);
        }
    }
    return tree;
}

namespace {

struct Shifter {
    const ShiftTree &tree;
    std::vector<ShiftState> &states;
    // An object under several parents is visited once per path; a budget keeps a pathological
    // layout from running for ever.
    long budget = 1000000;

    void process(int parent, double incoming)
    {
        const std::vector<int> &list = parent < 0 ? tree.topLevel : tree.children[size_t(parent)];
        for (int child : list) {
            if (--budget < 0)
                return;
            ShiftState &s = states[size_t(child)];
            double passed = 0;
            switch (s.mode) {
            case ShiftMode::smAlways:
                s.top += incoming;
                passed = incoming + s.shiftAmount;
                break;
            case ShiftMode::smDontShift:
                passed = incoming + s.shiftAmount;
                break;
            case ShiftMode::smWhenOverlapped: {
                if (parent < 0) {
                    passed = s.shiftAmount;
                    break;
                }
                const ShiftState &p = states[size_t(parent)];
                const double parentBottom = p.top + p.height;
                if (s.top >= parentBottom - 1e-9) {
                    passed = s.shiftAmount;
                } else {
                    const double moved = parentBottom - s.top;
                    s.top = parentBottom;
                    passed = moved + s.shiftAmount;
                }
                break;
            }
            }
            process(child, passed);
            s.shiftAmount = 0;
        }
    }
};

} // namespace

void applyShifts(const ShiftTree &tree, std::vector<ShiftState> &states)
{
    Shifter shifter{tree, states};
    shifter.process(-1, 0);
}

} // namespace zreport
