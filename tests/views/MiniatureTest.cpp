#include "views/HoverTransition.h"
#include "views/MiniatureSlots.h"
#include "views/SimpleLayoutPreviewView.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace zentaris;

namespace {

struct SlotCase {
    LayoutType layout;
    std::vector<MiniatureSlot> expected;
};

} // namespace

TEST(MiniatureSlots, EveryLayoutAt80By24) {
    const std::vector<SlotCase> cases = {
        {LayoutType::threeColumn, {{4, 4, 16, 16, 0}, {24, 4, 32, 16, 0.1}, {60, 4, 16, 16, 0.2}}},
        {LayoutType::quartet, {{4, 4, 34, 6, 0}, {42, 4, 34, 6, 0.1}, {4, 14, 34, 6, 0.2}, {42, 14, 34, 6, 0.3}}},
        {LayoutType::splitVertical, {{4, 4, 34, 16, 0}, {42, 4, 34, 16, 0.1}}},
        {LayoutType::splitHorizontal, {{4, 4, 72, 6, 0}, {4, 14, 72, 6, 0.1}}},
        {LayoutType::threeWindowTop, {{4, 3, 72, 7, 0}, {4, 14, 34, 7, 0.1}, {42, 14, 34, 7, 0.2}}},
        {LayoutType::threeWindowBottom, {{4, 3, 34, 7, 0}, {42, 3, 34, 7, 0.1}, {4, 14, 72, 7, 0.2}}},
        {LayoutType::split7030, {{4, 4, 48, 16, 0}, {56, 4, 20, 16, 0.1}}},
        {LayoutType::split3070, {{4, 4, 20, 16, 0}, {28, 4, 48, 16, 0.1}}},
        {LayoutType::threeWindowLeft, {{4, 4, 34, 16, 0}, {42, 4, 34, 6, 0.1}, {42, 14, 34, 6, 0.2}}},
        {LayoutType::threeWindowRight, {{4, 4, 34, 6, 0}, {4, 14, 34, 6, 0.1}, {42, 4, 34, 16, 0.2}}},
    };
    for (const auto& [layout, want] : cases) {
        const auto got = miniatureSlots(layout, 80, 24);
        ASSERT_EQ(got.size(), want.size()) << rawValue(layout);
        for (std::size_t i = 0; i < got.size(); ++i) {
            const auto& [x, y, width, height, delay] = want[i];
            EXPECT_EQ(std::tie(got[i].x, got[i].y, got[i].width, got[i].height), std::tie(x, y, width, height))
                << rawValue(layout) << " slot " << i;
            EXPECT_NEAR(got[i].delay, delay, 1e-9) << rawValue(layout) << " slot " << i;
        }
    }
}

TEST(HoverTransition, WaitsForItsDelayThenEasesAndTurnsBackFromWhereItStands) {
    HoverTransition transition(0.1, 0.2);
    EXPECT_DOUBLE_EQ(transition.value(5.0), 0.0);
    EXPECT_TRUE(transition.isSettled(5.0));

    transition.setTarget(true, 10.0);
    EXPECT_DOUBLE_EQ(transition.value(10.05), 0.0) << "still inside the delay";
    EXPECT_NEAR(transition.value(10.2), 0.5, 1e-6) << "half way along a symmetric curve";
    EXPECT_LT(transition.value(10.13), 0.25) << "eases in";
    EXPECT_DOUBLE_EQ(transition.value(10.3), 1.0);
    EXPECT_TRUE(transition.isSettled(10.3));

    transition.setTarget(true, 11.0);
    EXPECT_TRUE(transition.isSettled(11.0)) << "the same target restarts nothing";

    transition.setTarget(false, 20.0);
    transition.setTarget(true, 20.2); // back again half way
    const double halfWay = 0.5;
    EXPECT_NEAR(transition.value(20.25), halfWay, 1e-6) << "holds during the new delay";
    EXPECT_GT(transition.value(20.4), halfWay);
    EXPECT_DOUBLE_EQ(transition.value(20.5), 1.0);
}

TEST(SimpleLayoutPreviewView, SlotsLightUpAndFadeOneAfterAnother) {
    SimpleLayoutPreviewView preview(LayoutType::quartet, 80, 24);
    preview.setParentHovered(true, 0.0);
    // At 0.25 s: the first slot is done, the second and third are on their way, the fourth has not started.
    EXPECT_DOUBLE_EQ(preview.slotProgress(0, 0.25), 1.0);
    EXPECT_GT(preview.slotProgress(1, 0.25), preview.slotProgress(2, 0.25));
    EXPECT_GT(preview.slotProgress(2, 0.25), 0.0);
    EXPECT_DOUBLE_EQ(preview.slotProgress(3, 0.25), 0.0);
    EXPECT_TRUE(preview.isAnimating(0.45));
    EXPECT_FALSE(preview.isAnimating(0.5));

    preview.setParentHovered(false, 1.0);
    EXPECT_DOUBLE_EQ(preview.slotProgress(0, 1.25), 0.0) << "fades back in the same order";
    EXPECT_DOUBLE_EQ(preview.slotProgress(3, 1.25), 1.0);
}

TEST(SimpleLayoutPreviewView, GrowsWhileThePointerIsOverIt) {
    SimpleLayoutPreviewView preview(LayoutType::splitVertical, 80, 24);
    EXPECT_DOUBLE_EQ(preview.scale(0.0), 1.0);
    preview.setLocallyHovered(true, 0.0);
    EXPECT_NEAR(preview.scale(0.1), 1.025, 1e-6);
    EXPECT_DOUBLE_EQ(preview.scale(0.2), 1.05);
    EXPECT_FALSE(preview.isParentHovered()) << "the row's hover is the menu's business";
}
