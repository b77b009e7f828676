#include "app/PositionState.h"

#include <gtest/gtest.h>

using namespace zentaris;
using enum PositionState;
using platform::Rect;

namespace {
PositionState press(SingleWindowAction action, int times, PositionState from = none) {
    for (int i = 0; i < times; ++i) from = nextPositionState(action, from);
    return from;
}
} // namespace

TEST(PositionState, CyclesOfEveryAction) {
    EXPECT_EQ(press(SingleWindowAction::left, 1), leftQuarter);
    EXPECT_EQ(press(SingleWindowAction::left, 6), leftFullWidth);
    EXPECT_EQ(press(SingleWindowAction::left, 7), leftQuarter) << "the left cycle wraps";
    EXPECT_EQ(press(SingleWindowAction::right, 3), rightHalf);
    EXPECT_EQ(nextPositionState(SingleWindowAction::right, leftThirty), rightQuarter)
        << "right after left steps starts the right cycle";
    EXPECT_EQ(nextPositionState(SingleWindowAction::left, rightFullWidth), leftQuarter);

    EXPECT_EQ(nextPositionState(SingleWindowAction::center, leftHalf), centerHalf);
    EXPECT_EQ(press(SingleWindowAction::center, 4), fullscreen);
    EXPECT_EQ(press(SingleWindowAction::center, 5), centerHalf);
    EXPECT_EQ(nextPositionState(SingleWindowAction::center, fullscreen), centerHalf);

    for (auto state : {none, leftHalf, fullscreen, topHalf}) {
        EXPECT_EQ(nextPositionState(SingleWindowAction::fullscreen, state), fullscreen);
    }
    EXPECT_EQ(nextPositionState(SingleWindowAction::up, topHalf), bottomHalf);
    EXPECT_EQ(nextPositionState(SingleWindowAction::up, leftHalf), topHalf);
    EXPECT_EQ(nextPositionState(SingleWindowAction::down, bottomHalf), topHalf);
    EXPECT_EQ(nextPositionState(SingleWindowAction::down, none), bottomHalf);
}

TEST(PositionState, RectanglesInTheUsableArea) {
    const Rect f(100, 50, 1000, 800);
    EXPECT_EQ(rectForPositionState(none, f), std::nullopt);
    EXPECT_EQ(rectForPositionState(leftThirty, f), Rect(100, 50, 300, 800)) << "left thirty is 0.3 of the width";
    EXPECT_EQ(rectForPositionState(rightThirty, f), Rect(770, 50, 330, 800)) << "right thirty is 0.33 from 0.67";
    EXPECT_EQ(rectForPositionState(rightQuarter, f), Rect(850, 50, 250, 800));
    EXPECT_EQ(rectForPositionState(centerSeventy, f), Rect(265, 50, 670, 800));
    EXPECT_EQ(rectForPositionState(topHalf, f), Rect(100, 450, 1000, 400));
    EXPECT_EQ(rectForPositionState(bottomHalf, f), Rect(100, 50, 1000, 400));
    EXPECT_EQ(rectForPositionState(fullscreen, f), f);
}

TEST(PositionState, ArrowPairsPickCornersInEitherOrder) {
    using enum ArrowDirection;
    EXPECT_EQ(cornerForArrows(left, up), 0);
    EXPECT_EQ(cornerForArrows(up, left), 0);
    EXPECT_EQ(cornerForArrows(up, right), 1);
    EXPECT_EQ(cornerForArrows(down, left), 2);
    EXPECT_EQ(cornerForArrows(right, down), 3);
    EXPECT_EQ(cornerForArrows(left, left), std::nullopt);
    EXPECT_EQ(cornerForArrows(left, right), std::nullopt);
    EXPECT_EQ(cornerForArrows(down, up), std::nullopt);
}
