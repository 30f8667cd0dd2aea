#include "report/shift_tree.h"

#include <gtest/gtest.h>

using namespace zreport;

namespace {

struct Object {
    ShiftRect rect;
    ShiftMode mode = ShiftMode::smAlways;
    double growth = 0;
};

// Grows the objects as given and returns their tops after shifting.
std::vector<double> shifted(const std::vector<Object> &objects)
{
    std::vector<ShiftRect> rects;
    std::vector<ShiftState> states;
    for (const Object &o : objects) {
        rects.push_back(o.rect);
        states.push_back({o.rect.top, o.rect.height + o.growth, o.growth, o.mode});
    }
    applyShifts(buildShiftTree(rects, 0, 100, 500), states);
    std::vector<double> tops;
    for (const ShiftState &s : states)
        tops.push_back(s.top);
    return tops;
}

TEST(ShiftTree, ChildrenLieBelowAndOverlapHorizontally)
{
    const std::vector<ShiftRect> rects{{0, 0, 100, 10},   // 0
                                       {0, 20, 50, 10},   // 1 below 0
                                       {200, 20, 50, 10}, // 2 beside, nothing above
                                       {0, 40, 100, 10},  // 3 below 1 (0 is hidden by 1)
                                       {60, 40, 30, 10}}; // 4 below 0 where 1 does not reach
    const ShiftTree tree = buildShiftTree(rects, 0, 100, 500);
    EXPECT_EQ(tree.topLevel, (std::vector<int>{0, 2}));
    EXPECT_EQ(tree.children[0], (std::vector<int>{1, 4}));
    EXPECT_EQ(tree.children[1], (std::vector<int>{3}));
    // Touching edges do not overlap: 3 (0..100) and 4 (60..90) share 60..90, 1 ends at 50.
    EXPECT_TRUE(tree.children[4].empty());
}

TEST(ShiftModes, AlwaysMovesByTheGrowthAbove)
{
    const auto tops = shifted(
        {{{0, 0, 100, 10}, ShiftMode::smAlways, 15}, {{0, 20, 100, 10}}, {{0, 40, 100, 10}}});
    EXPECT_EQ(tops, (std::vector<double>{0, 35, 55}));
}

TEST(ShiftModes, DontShiftStaysWhileObjectsBelowMove)
{
    const auto tops = shifted({{{0, 0, 100, 10}, ShiftMode::smAlways, 10},
                               {{0, 20, 100, 10}, ShiftMode::smDontShift},
                               {{0, 40, 100, 10}}});
    EXPECT_EQ(tops, (std::vector<double>{0, 20, 50}));
}

TEST(ShiftModes, WhenOverlappedMovesOnlyWhenTheGrowthReachesIt)
{
    const auto tops = shifted({{{0, 0, 100, 10}, ShiftMode::smWhenOverlapped, 15}, // top row
                               {{0, 20, 40, 10}, ShiftMode::smWhenOverlapped},     // reached
                               {{50, 30, 40, 10}, ShiftMode::smWhenOverlapped}});  // not reached
    EXPECT_EQ(tops, (std::vector<double>{0, 25, 30}));
}

TEST(ShiftModes, ObjectBelowTwoGrownNeighbours)
{
    const auto below = [](ShiftMode mode) {
        return shifted({{{0, 0, 50, 10}, ShiftMode::smAlways, 10},
                        {{50, 0, 50, 10}, ShiftMode::smAlways, 10},
                        {{0, 10, 100, 10}, mode}})[2];
    };
    EXPECT_EQ(below(ShiftMode::smAlways), 30);
    EXPECT_EQ(below(ShiftMode::smWhenOverlapped), 20);
}

// A picture beside a text gives the text below it a second way down; it must move with the
// text above it and leave the text below exactly where it goes without the picture.
TEST(ShiftTree, PictureMovesWithTheTextAboveAndNeverMovesTheTextBelow)
{
    const auto tops = [](bool withPicture) {
        std::vector<ShiftRect> rects{{0, 0, 100, 10}, {0, 20, 50, 10}, {0, 40, 100, 10}};
        std::vector<ShiftState> states{{0, 25, 15, ShiftMode::smAlways},
                                       {20, 10, 0, ShiftMode::smAlways},
                                       {40, 10, 0, ShiftMode::smAlways}};
        if (withPicture) {
            rects.push_back({0, 15, 100, 20, true});
            states.push_back({15, 20, 0, ShiftMode::smAlways});
        }
        applyShifts(buildShiftTree(rects, 0, 100, 500), states);
        std::vector<double> out;
        for (const ShiftState &s : states)
            out.push_back(s.top);
        return out;
    };
    EXPECT_EQ(tops(false), (std::vector<double>{0, 35, 55}));
    EXPECT_EQ(tops(true), (std::vector<double>{0, 35, 55, 30}));
}

} // namespace
