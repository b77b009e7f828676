#include "LayoutScene.h"

#include <functional>

namespace zentaris::testing {
namespace {

// Screen 0 at the left, screen 1 at the right, no gap, so slots land exactly.
class LayoutCommands : public LayoutScene {
protected:
    void SetUp() override {
        setGap(0);
        desktop.addScreen({0, 0, 1000, 800});
        desktop.addScreen({1000, 0, 1000, 800});
        window = desktop.addWindow({1100, 100, 300, 200});
        desktop.focus(window);
    }
    WindowLayoutService& layout() { return service().layoutService(); }

    AXUIElement window;
};

struct SlotCase {
    const char* name;
    std::function<void(WindowLayoutService&)> apply;
    Rect slot; // on screen 1
};

class SlotOperations : public LayoutCommands, public ::testing::WithParamInterface<SlotCase> {};

TEST_P(SlotOperations, moveTheFocusedWindowOnItsOwnScreen) {
    GetParam().apply(layout());
    EXPECT_EQ(frameOf(window), GetParam().slot);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SlotOperations,
    ::testing::Values(
        SlotCase{"quarter3", [](auto& l) { l.applyQuarter(3); }, {1500, 0, 500, 400}},
        SlotCase{"column2", [](auto& l) { l.applyThreeColumn(2); }, {1700, 0, 300, 800}},
        SlotCase{"split7030First", [](auto& l) { l.applySplit7030(false); }, {1000, 0, 700, 800}},
        SlotCase{"split3070Second", [](auto& l) { l.applySplit3070(true); }, {1300, 0, 700, 800}},
        SlotCase{"halfBottom", [](auto& l) { l.applyHalf(true, true); }, {1000, 0, 1000, 400}},
        SlotCase{"halfRight", [](auto& l) { l.applyHalf(false, true); }, {1500, 0, 500, 800}},
        SlotCase{"threeWindowKind1Slot2", [](auto& l) { l.applyThreeWindow(1, 2); }, {1000, 0, 1000, 400}},
        SlotCase{"threeWindowKind2Slot1", [](auto& l) { l.applyThreeWindow(2, 1); }, {1500, 400, 500, 400}},
        SlotCase{"verticalLeftSlot2", [](auto& l) { l.applyThreeWindowVerticalLeft(2); }, {1500, 0, 500, 400}},
        SlotCase{"verticalRightSlot1", [](auto& l) { l.applyThreeWindowVerticalRight(1); }, {1000, 0, 500, 400}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LayoutCommands, indicesOutsideTheListFailWithoutMoving) {
    EXPECT_FALSE(layout().applyQuarter(4));
    EXPECT_FALSE(layout().applyThreeColumn(-1));
    layout().applyThreeWindow(4, 0);
    layout().applyThreeWindow(0, 3);
    layout().applyThreeWindowVerticalRight(3);
    EXPECT_TRUE(desktop.accessibility().writes(window).empty());
}

TEST_F(LayoutCommands, theTargetScreenFallsBackToThePointerThenTheMainScreen) {
    EXPECT_EQ(layout().targetScreen()->frame, (Rect{1000, 0, 1000, 800}));
    desktop.clearFocus();
    desktop.screens().setMainScreen(1);
    desktop.setPointer({500, 500});
    EXPECT_EQ(layout().targetScreen()->frame, (Rect{0, 0, 1000, 800})) << "the pointer's screen before the main one";
    desktop.setPointer({-500, 500});
    EXPECT_EQ(layout().targetScreen()->frame, (Rect{1000, 0, 1000, 800}));
    EXPECT_FALSE(layout().applyHalf(false, false)); // a screen, but no window to move
}

TEST_F(LayoutCommands, framesForLayoutUseTheTargetScreenOrAFixedArea) {
    EXPECT_EQ(layout().framesForLayout(LayoutType::splitVertical),
              (std::vector<Rect>{{1000, 0, 500, 800}, {1500, 0, 500, 800}}));
    desktop.screens().setScreens({});
    EXPECT_EQ(layout().framesForLayout(LayoutType::splitVertical),
              (std::vector<Rect>{{0, 0, 1280, 1600}, {1280, 0, 1280, 1600}}));
    EXPECT_FALSE(layout().applyQuarter(0));
}

} // namespace
} // namespace zentaris::testing
