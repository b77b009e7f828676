#include "layout/LayoutType.h"
#include "layout/SlotGeometry.h"

#include "LayoutScene.h"

#include <gtest/gtest.h>

namespace zentaris {
namespace {

using platform::Rect;

struct LayoutCase {
    LayoutType layout;
    ThreeColumnStyle style;
    std::vector<Rect> slots;
};

class FramesForLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(FramesForLayout, givesTheOrderedSlotsInTheArea) {
    const Rect area{100, 50, 1200, 800};
    EXPECT_EQ(framesForLayoutInRect(GetParam().layout, area, GetParam().style), GetParam().slots);
}

const auto balanced = ThreeColumnStyle::balanced;
INSTANTIATE_TEST_SUITE_P(
    AllLayouts, FramesForLayout,
    ::testing::Values(
        LayoutCase{LayoutType::threeColumn, balanced, {{100, 50, 360, 800}, {460, 50, 480, 800}, {940, 50, 360, 800}}},
        LayoutCase{LayoutType::threeColumn, ThreeColumnStyle::classic,
                   {{100, 50, 300, 800}, {400, 50, 600, 800}, {1000, 50, 300, 800}}},
        LayoutCase{LayoutType::quartet, balanced,
                   {{100, 450, 600, 400}, {700, 450, 600, 400}, {100, 50, 600, 400}, {700, 50, 600, 400}}},
        LayoutCase{LayoutType::splitVertical, balanced, {{100, 50, 600, 800}, {700, 50, 600, 800}}},
        LayoutCase{LayoutType::splitHorizontal, balanced, {{100, 450, 1200, 400}, {100, 50, 1200, 400}}},
        LayoutCase{LayoutType::threeWindowTop, balanced,
                   {{100, 450, 1200, 400}, {100, 50, 600, 400}, {700, 50, 600, 400}}},
        LayoutCase{LayoutType::threeWindowBottom, balanced,
                   {{100, 450, 600, 400}, {700, 450, 600, 400}, {100, 50, 1200, 400}}},
        LayoutCase{LayoutType::split7030, balanced, {{100, 50, 840, 800}, {940, 50, 360, 800}}},
        LayoutCase{LayoutType::split3070, balanced, {{100, 50, 360, 800}, {460, 50, 840, 800}}},
        LayoutCase{LayoutType::threeWindowLeft, balanced,
                   {{100, 50, 600, 800}, {700, 50, 600, 400}, {700, 450, 600, 400}}},
        LayoutCase{LayoutType::threeWindowRight, balanced,
                   {{100, 50, 600, 400}, {100, 450, 600, 400}, {700, 50, 600, 800}}}));

TEST(LayoutTypeTest, storedRawValuesRoundTripAndOthersAreRejected) {
    for (auto layout : allLayoutTypes) EXPECT_EQ(layoutTypeFromRaw(rawValue(layout)), layout);
    EXPECT_EQ(rawValue(LayoutType::threeWindowRight), 9);
    EXPECT_EQ(layoutTypeFromRaw(-1), std::nullopt);
    EXPECT_EQ(layoutTypeFromRaw(10), std::nullopt);
}

} // namespace
} // namespace zentaris
