#include "app/PositionState.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zentaris;
using enum PositionState;
using platform::Rect;

TEST(PositionState, EveryActionWalksItsWholeCycleAndWraps) {
    using Action = SingleWindowAction;
    const std::pair<Action, std::vector<PositionState>> cycles[] = {
        {Action::left, {leftQuarter, leftThirty, leftHalf, leftSeventy, leftThreeQuarters, leftFullWidth, leftQuarter}},
        {Action::right,
         {rightQuarter, rightThirty, rightHalf, rightSeventy, rightThreeQuarters, rightFullWidth, rightQuarter}},
        {Action::center, {centerHalf, centerSeventy, centerThreeQuarters, fullscreen, centerHalf}},
        {Action::fullscreen, {fullscreen, fullscreen}},
        {Action::up, {topHalf, bottomHalf, topHalf}},
        {Action::down, {bottomHalf, topHalf, bottomHalf}},
    };
    for (const auto& [action, expected] : cycles) {
        PositionState state = none;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            state = nextPositionState(action, state);
            EXPECT_EQ(state, expected[i]) << "action " << static_cast<int>(action) << ", press " << i + 1;
        }
    }
}

TEST(PositionState, AnotherActionStartsItsOwnCycle) {
    using Action = SingleWindowAction;
    EXPECT_EQ(nextPositionState(Action::right, leftThirty), rightQuarter);
    EXPECT_EQ(nextPositionState(Action::left, rightFullWidth), leftQuarter);
    EXPECT_EQ(nextPositionState(Action::left, centerHalf), leftQuarter);
    EXPECT_EQ(nextPositionState(Action::center, leftHalf), centerHalf);
    EXPECT_EQ(nextPositionState(Action::center, topHalf), centerHalf);
    EXPECT_EQ(nextPositionState(Action::up, leftHalf), topHalf);
    EXPECT_EQ(nextPositionState(Action::down, topHalf), bottomHalf);
    EXPECT_EQ(nextPositionState(Action::fullscreen, leftHalf), fullscreen);
}

TEST(PositionState, EveryStateHasItsRectangleInTheUsableArea) {
    const Rect f(100, 50, 1000, 800);
    const std::pair<PositionState, std::optional<Rect>> table[] = {
        {none, std::nullopt},
        {leftQuarter, Rect(100, 50, 250, 800)},
        {leftThirty, Rect(100, 50, 300, 800)}, // 0.3 of the width on the left ...
        {leftHalf, Rect(100, 50, 500, 800)},
        {leftSeventy, Rect(100, 50, 670, 800)},
        {leftThreeQuarters, Rect(100, 50, 750, 800)},
        {leftFullWidth, f},
        {rightQuarter, Rect(850, 50, 250, 800)},
        {rightThirty, Rect(770, 50, 330, 800)}, // ... but 0.33 on the right
        {rightHalf, Rect(600, 50, 500, 800)},
        {rightSeventy, Rect(430, 50, 670, 800)},
        {rightThreeQuarters, Rect(350, 50, 750, 800)},
        {rightFullWidth, f},
        {centerHalf, Rect(350, 50, 500, 800)},
        {centerSeventy, Rect(265, 50, 670, 800)},
        {centerThreeQuarters, Rect(225, 50, 750, 800)},
        {topHalf, Rect(100, 450, 1000, 400)},
        {bottomHalf, Rect(100, 50, 1000, 400)},
        {fullscreen, f},
    };
    static_assert(std::size(table) == 19);
    for (const auto& [state, rect] : table) EXPECT_EQ(rectForPositionState(state, f), rect) << static_cast<int>(state);
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
