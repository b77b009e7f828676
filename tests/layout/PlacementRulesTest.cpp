#include "layout/PlacementRules.h"

#include "LayoutScene.h"

namespace zentaris {
namespace {

using platform::Rect;
using Kind = MovePlacement::Kind;

const auto balanced = columnFractions(ThreeColumnStyle::balanced);
const auto classic = columnFractions(ThreeColumnStyle::classic);

struct MoveCase {
    const char* name;
    RelativeFrame frame; // x, y, width, height
    ColumnFractions columns;
    MovePlacement placement;
};

class MovePlacementRules : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MovePlacementRules, recogniseTheKindOfPlace) {
    EXPECT_EQ(placementForMove(GetParam().frame, GetParam().columns), GetParam().placement);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MovePlacementRules,
    ::testing::Values(
        MoveCase{"whole", {0, 0, 1, 1}, balanced, {Kind::wholeArea}},
        MoveCase{"leftColumnBalanced", {0.001, 0, 0.3, 1}, balanced, {Kind::threeColumn, 0}},
        MoveCase{"leftColumnClassicIsWidthClass", {0.001, 0, 0.3, 1}, classic, {Kind::leftColumn, 0, 0.3}},
        MoveCase{"middleColumn", {0.3, 0, 0.4, 1}, balanced, {Kind::threeColumn, 1}},
        MoveCase{"rightColumnClassic", {0.75, 0, 0.25, 1}, classic, {Kind::threeColumn, 2}},
        MoveCase{"fortyUnderClassicIsNoClass", {0.3, 0, 0.4, 1}, classic, {Kind::scaled}},
        MoveCase{"rightThirty", {0.7, 0, 0.3, 1}, classic, {Kind::rightThirty}},
        MoveCase{"rightSeventy", {0.3, 0, 0.7, 1}, balanced, {Kind::rightSeventy}},
        MoveCase{"rightHalf", {0.5, 0, 0.5, 1}, balanced, {Kind::rightHalf}},
        // Size hints took a few pixels off a slot touching no side edge, and it stayed centred there.
        MoveCase{"middleColumnShrunkByHints", {0.305, 0.014, 0.392, 0.9875}, balanced, {Kind::threeColumn, 1}},
        MoveCase{"centredHalfIsScaled", {0.25, 0, 0.5, 1}, balanced, {Kind::scaled}},
        MoveCase{"leftHalf", {0.01, 0, 0.51, 1}, balanced, {Kind::leftColumn, 0, 0.5}},
        MoveCase{"leftSeventy", {0, 0, 0.69, 1}, balanced, {Kind::leftColumn, 0, 0.7}},
        MoveCase{"widthJustInsideClass", {0, 0, 0.319, 1}, classic, {Kind::leftColumn, 0, 0.3}},
        MoveCase{"widthJustOutsideClass", {0, 0, 0.321, 1}, classic, {Kind::scaled}},
        MoveCase{"heightAtBoundIsNotFull", {0, 0, 1, 0.98}, balanced, {Kind::scaled}},
        MoveCase{"topHalf", {0, 0.5, 1, 0.5}, balanced, {Kind::topHalf}},
        MoveCase{"bottomHalfAtBound", {0, 0.48, 1, 0.5}, balanced, {Kind::bottomHalf}},
        MoveCase{"topRightQuarter", {0.5, 0.5, 0.5, 0.5}, balanced, {Kind::quarter, 1}},
        MoveCase{"topLeftQuarter", {0.2, 0.5, 0.5, 0.5}, balanced, {Kind::quarter, 0}},
        MoveCase{"bottomLeftQuarter", {0, 0, 0.5, 0.5}, balanced, {Kind::quarter, 2}},
        MoveCase{"xAtBoundIsBottomRight", {0.48, 0.5, 0.5, 0.5}, balanced, {Kind::quarter, 3}},
        MoveCase{"halfHeightJustInside", {0, 0, 0.5, 0.519}, balanced, {Kind::quarter, 2}},
        MoveCase{"halfHeightJustOutside", {0, 0, 0.5, 0.521}, balanced, {Kind::scaled}},
        MoveCase{"halfHeightSixtyWide", {0, 0, 0.6, 0.5}, balanced, {Kind::scaled}}),
    [](const auto& info) { return std::string(info.param.name); });

struct SwapCase {
    const char* name;
    RelativeFrame frame;
    ColumnFractions columns;
    std::optional<int> remembered;
    Rect placed; // in (0, 0, 1000, 800)
};

class SwapPlacementRules : public ::testing::TestWithParam<SwapCase> {};

TEST_P(SwapPlacementRules, placeOnTheOtherArea) {
    const auto remembered = GetParam().remembered;
    EXPECT_EQ(placementForSwap(GetParam().frame, {0, 0, 1000, 800}, GetParam().columns, [&] { return remembered; }),
              GetParam().placed);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SwapPlacementRules,
    ::testing::Values(
        SwapCase{"whole", {0, 0, 1, 1}, balanced, 2, {0, 0, 1000, 800}},
        SwapCase{"rememberedWinsOverShape", {0.01, 0, 0.45, 1}, balanced, 0, {0, 0, 300, 800}},
        SwapCase{"rememberedTakesCurrentStyle", {0.01, 0, 0.45, 1}, classic, 0, {0, 0, 250, 800}},
        SwapCase{"rememberedRight", {0.01, 0, 0.45, 1}, balanced, 2, {700, 0, 300, 800}},
        SwapCase{"recognisedMiddle", {0.3, 0, 0.4, 1}, balanced, std::nullopt, {300, 0, 400, 800}},
        SwapCase{"fortyUnderClassicScaled", {0.3, 0.001, 0.4, 0.99}, classic, std::nullopt, {300, 0.8, 400, 792}},
        SwapCase{"centredHalf", {0.25, 0, 0.5, 1}, balanced, std::nullopt, {250, 0, 500, 800}},
        SwapCase{"centredHalfShrunkByHints", {0.254, 0.014, 0.492, 0.9875}, balanced, std::nullopt, {250, 0, 500, 800}},
        SwapCase{"rightHalf", {0.5, 0, 0.5, 1}, balanced, std::nullopt, {500, 0, 500, 800}},
        SwapCase{"thirtyKeepsItsLeftEdge", {0.4, 0, 0.3, 1}, balanced, std::nullopt, {400, 0, 300, 800}},
        SwapCase{"rightThirty", {0.7, 0, 0.3, 1}, classic, std::nullopt, {700, 0, 300, 800}},
        SwapCase{"rightSeventy", {0.3, 0, 0.7, 1}, balanced, std::nullopt, {300, 0, 700, 800}},
        SwapCase{"leftThirtyClassic", {0.01, 0, 0.3, 1}, classic, std::nullopt, {0, 0, 300, 800}},
        SwapCase{"topHalf", {0, 0.5, 1, 0.5}, balanced, std::nullopt, {0, 400, 1000, 400}},
        SwapCase{"bottomHalf", {0, 0, 1, 0.5}, balanced, std::nullopt, {0, 0, 1000, 400}},
        SwapCase{"quarterAtBound", {0.48, 0.5, 0.5, 0.5}, balanced, std::nullopt, {500, 0, 500, 400}},
        SwapCase{"topLeftQuarter", {0, 0.5, 0.5, 0.5}, balanced, std::nullopt, {0, 400, 500, 400}},
        SwapCase{"scaled", {0.1, 0.2, 0.6, 0.5}, balanced, std::nullopt, {100, 160, 600, 400}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SwapPlacementRulesMemory, isAskedOnlyForFullHeightWindowsNarrowerThanTheScreen) {
    int asked = 0;
    auto remembered = [&]() -> std::optional<int> {
        ++asked;
        return std::nullopt;
    };
    placementForSwap({0, 0, 1, 1}, {0, 0, 1000, 800}, balanced, remembered);
    placementForSwap({0, 0.5, 0.5, 0.5}, {0, 0, 1000, 800}, balanced, remembered);
    EXPECT_EQ(asked, 0);
    placementForSwap({0, 0, 0.5, 1}, {0, 0, 1000, 800}, balanced, remembered);
    EXPECT_EQ(asked, 1);
}

TEST(RelativeFrameTest, measuresAgainstTheUsableAreaWithTheGap) {
    // Accessibility frame of a window filling the left column of (0, 0, 1000, 800) with gap 2; P = 800.
    auto r = relativeFrame({1, 1, 298, 798}, 800, {0, 0, 1000, 800}, 2);
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(r->x, 0.001);
    EXPECT_DOUBLE_EQ(r->y, 0.00125);
    EXPECT_DOUBLE_EQ(r->width, 0.3);
    EXPECT_DOUBLE_EQ(r->height, 1.0);
    EXPECT_EQ(relativeFrame({1, 1, 298, 798}, 800, {0, 0, 0, 800}, 2), std::nullopt);
    EXPECT_EQ(relativeFrame({1, 1, 298, 798}, 800, {0, 0, 1000, 0}, 2), std::nullopt);
}

} // namespace
} // namespace zentaris
