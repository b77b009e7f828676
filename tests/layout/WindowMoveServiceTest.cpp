#include "LayoutScene.h"

namespace zentaris::testing {
namespace {

using Strings = std::vector<std::string>;

class WindowMover : public LayoutScene {
protected:
    void SetUp() override {
        desktop.addScreen({0, 0, 1440, 900}, Rect{0, 0, 1440, 875});
        window = desktop.addWindow({100, 100, 800, 500});
        desktop.focus(window);
        desktop.accessibility().clearCalls();
    }
    WindowMoveService& mover() { return service().moveService(); }
    Strings writes() const { return desktop.accessibility().writesAndPauses(window); }

    AXUIElement window;
};

// Positions are top-left-origin: the screen's top edge is at 900.
TEST_F(WindowMover, aLowerHalfSlotTravelsThroughTheUpperHalfWhileHidden) {
    EXPECT_TRUE(mover().moveWindow(window, false, false, {0, 0, 1440, 437.5}));
    EXPECT_EQ(writes(), (Strings{"set AXHidden true", "set AXPosition (0, 25)", "set AXSize 1440x437.5",
                                 "set AXPosition (1, 463.5)", "set AXSize 1438x435.5", "set AXHidden false"}));
    EXPECT_EQ(frameOf(window), (Rect{1, 1, 1438, 435.5}));
    EXPECT_TRUE(desktop.mainQueue().sleeps().empty());
}

TEST_F(WindowMover, anUpperHalfSlotIsOneStepWithAPause) {
    EXPECT_TRUE(mover().moveWindow(window, false, false, {0, 437.5, 1440, 437.5}));
    EXPECT_EQ(writes(), (Strings{"set AXPosition (1, 26)", "set AXSize 1438x435.5", "sleep 0.02"}));
}

struct IntermediateCase {
    Rect slot;
    Rect intermediate; // in screen coordinates
};

class WindowMoverIntermediate : public WindowMover, public ::testing::WithParamInterface<IntermediateCase> {};

TEST_P(WindowMoverIntermediate, picksTheUpperRectangleByTheSlotWidth) {
    mover().moveWindow(window, false, false, GetParam().slot);
    const auto& calls = desktop.accessibility().calls();
    auto firstPosition = std::find_if(calls.begin(), calls.end(),
                                      [](const auto& c) { return c.name == "AXPosition"; });
    ASSERT_NE(firstPosition, calls.end());
    const auto& expected = GetParam().intermediate;
    EXPECT_EQ(std::get<Point>(*firstPosition->value), (Point{expected.minX(), 900 - expected.maxY()}));
    EXPECT_EQ(std::get<platform::Size>(*(firstPosition + 1)->value), expected.size);
}

INSTANTIATE_TEST_SUITE_P(
    LowerSlots, WindowMoverIntermediate,
    ::testing::Values(IntermediateCase{{0, 0, 720, 437.5}, {0, 437.5, 720, 437.5}},       // bottom-left quarter
                      IntermediateCase{{720, 0, 720, 437.5}, {720, 437.5, 720, 437.5}},   // bottom-right quarter
                      IntermediateCase{{0, 0, 480, 437.5}, {1, 437.5, 478, 435.5}}));     // other: raised

TEST_F(WindowMover, aWindowAlreadyHiddenStaysHidden) {
    desktop.accessibility().setAttribute(window, "AXHidden", true);
    mover().moveWindow(window, false, false, {0, 0, 1440, 437.5});
    EXPECT_EQ(writes().front(), "set AXPosition (0, 25)");
    EXPECT_EQ(writes().back(), "set AXSize 1438x435.5");
    EXPECT_TRUE(desktop.isHidden(window));
}

TEST_F(WindowMover, anUnreadableHiddenFlagCountsAsShown) {
    desktop.accessibility().failReads(window, "AXHidden");
    mover().moveWindow(window, false, false, {0, 0, 1440, 437.5});
    EXPECT_EQ(writes().front(), "set AXHidden true");
    EXPECT_EQ(writes().back(), "set AXHidden false");
}

TEST_F(WindowMover, directAndSkipDelayMovesAreOneStep) {
    EXPECT_TRUE(mover().moveWindow(window, false, true, {0, 0, 1440, 437.5}));
    EXPECT_EQ(writes(), (Strings{"set AXPosition (1, 463.5)", "set AXSize 1438x435.5", "sleep 0.02"}));
    desktop.accessibility().clearCalls();
    EXPECT_TRUE(mover().moveWindow(window, true, false, {0, 0, 1440, 437.5}));
    EXPECT_EQ(writes(), (Strings{"set AXPosition (1, 463.5)", "set AXSize 1438x435.5"}));
}

TEST_F(WindowMover, aSlotCentredOffEveryScreenIsNotApplied) {
    EXPECT_FALSE(mover().moveWindow(window, false, false, {3000, 0, 500, 500}));
    EXPECT_TRUE(writes().empty());
}

TEST_F(WindowMover, aWindowThatVanishesMidwayFailsAndIsStillShownAgain) {
    // Hidden read and write, the upper-half position; then it is gone.
    desktop.accessibility().vanishAfterCalls(window, 3);
    EXPECT_FALSE(mover().moveWindow(window, false, false, {0, 0, 1440, 437.5}));
    const auto& calls = desktop.accessibility().calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().describe(), "set AXHidden false");
    EXPECT_EQ(calls.back().result, platform::AXError::invalidUIElement);
}

TEST_F(WindowMover, aGoneWindowIsAFailureButAnAdjustedOneIsNot) {
    desktop.accessibility().setMinimumSize(window, {900, 600});
    EXPECT_TRUE(mover().setWindowFrame(window, true, {0, 0, 400, 300}));
    EXPECT_EQ(frameOf(window).size, (platform::Size{900, 600}));

    desktop.accessibility().refuseWrites(window, "AXPosition");
    EXPECT_TRUE(mover().setWindowFrame(window, true, {10, 10, 1000, 700}));

    desktop.accessibility().remove(window);
    EXPECT_FALSE(mover().setWindowFrame(window, true, {10, 10, 1000, 700}));

    // Placed, then closed before it was sized.
    const auto closing = desktop.addWindow({100, 100, 800, 500});
    desktop.accessibility().vanishAfterCalls(closing, 1);
    EXPECT_FALSE(mover().setWindowFrame(closing, true, {10, 10, 1000, 700}));
}

TEST_F(WindowMover, withoutScreensNothingIsTouched) {
    desktop.screens().setScreens({});
    EXPECT_FALSE(mover().setWindowFrame(window, false, {0, 0, 100, 100}));
    EXPECT_TRUE(writes().empty());
}

TEST_F(WindowMover, movingTheFocusedWindowNeedsOne) {
    EXPECT_TRUE(mover().moveFocusedWindow({0, 437.5, 720, 437.5}));
    EXPECT_EQ(frameOf(window), (Rect{1, 438.5, 718, 435.5}));
    desktop.clearFocus();
    EXPECT_FALSE(mover().moveFocusedWindow({0, 437.5, 720, 437.5}));
}

} // namespace
} // namespace zentaris::testing
