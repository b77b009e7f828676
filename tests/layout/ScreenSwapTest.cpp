#include "LayoutScene.h"

namespace zentaris::testing {
namespace {

class ScreenSwap : public LayoutScene {
protected:
    void SetUp() override {
        desktop.addScreen({0, 0, 1000, 800});
        desktop.addScreen({1000, 0, 1000, 800});
    }
};

TEST_F(ScreenSwap, exchangesTheWindowsOfTwoScreensAndLeavesAThirdAlone) {
    desktop.addScreen({2000, 0, 1000, 800});
    auto leftHalf = desktop.addWindow({1, 1, 498, 798});
    auto topRight = desktop.addWindow({1501, 401, 498, 398});
    auto elsewhere = desktop.addWindow({2100, 100, 400, 300});
    desktop.focus(leftHalf);
    desktop.accessibility().clearCalls();

    service().swapWithNextScreen();

    EXPECT_EQ(frameOf(leftHalf), (Rect{1001, 1, 498, 798}));
    EXPECT_EQ(frameOf(topRight), (Rect{501, 401, 498, 398}));
    EXPECT_EQ(frameOf(elsewhere), (Rect{2100, 100, 400, 300}));
    EXPECT_TRUE(desktop.accessibility().writes(elsewhere).empty());
    EXPECT_EQ(desktop.mainQueue().sleeps().size(), 2u);
}

TEST_F(ScreenSwap, withOneEmptyScreenEverythingMovesOneWay) {
    auto a = desktop.addWindow({100, 100, 400, 300});
    auto b = desktop.addWindow({0, 0, 1000, 800});
    service().swapScreens(0, 1);
    EXPECT_EQ(frameOf(a), (Rect{1101, 101, 400, 300}));
    EXPECT_EQ(frameOf(b), (Rect{1001, 1, 998, 798}));
}

TEST_F(ScreenSwap, aRememberedColumnSurvivesNarrowingByHand) {
    auto window = desktop.addWindow({100, 100, 400, 300});
    desktop.focus(window);
    ASSERT_TRUE(service().applyThreeColumnAndRemember(0));
    desktop.setFrame(window, {1, 1, 198, 798});
    settings.setThreeColumnStyle(ThreeColumnStyle::classic);
    service().swapScreens(0, 1);
    EXPECT_EQ(frameOf(window), (Rect{1001, 1, 248, 798}));
}

TEST_F(ScreenSwap, invalidPairsDoNothing) {
    auto window = desktop.addWindow({100, 100, 400, 300});
    desktop.accessibility().clearCalls();
    service().swapScreens(0, 0);
    service().swapScreens(-1, 1);
    service().swapScreens(0, 2);
    EXPECT_TRUE(desktop.accessibility().writes(window).empty());
    desktop.screens().setScreens({desktop.screens().screens().front()});
    service().swapWithNextScreen();
    service().swapWithPreviousScreen();
    EXPECT_TRUE(desktop.accessibility().writes(window).empty());
}

TEST_F(ScreenSwap, withNoFocusedWindowTheMainScreenIsSwappedWithItsNeighbour) {
    desktop.addScreen({2000, 0, 1000, 800});
    desktop.screens().setMainScreen(1);
    auto onFirst = desktop.addWindow({100, 100, 400, 300});
    auto onSecond = desktop.addWindow({1100, 100, 400, 300});
    auto onThird = desktop.addWindow({2100, 100, 400, 300});
    desktop.clearFocus();

    service().swapWithNextScreen();
    EXPECT_EQ(frameOf(onFirst), (Rect{100, 100, 400, 300}));
    EXPECT_EQ(frameOf(onSecond).minX(), 2101);
    EXPECT_EQ(frameOf(onThird).minX(), 1101);

    service().swapWithPreviousScreen();
    EXPECT_EQ(frameOf(onFirst).minX(), 1101);
    EXPECT_EQ(frameOf(onThird).minX(), 102);
}

TEST_F(ScreenSwap, withTwoScreensNextAndPreviousSwapTheSamePair) {
    auto window = desktop.addWindow({100, 100, 400, 300});
    service().swapWithPreviousScreen();
    EXPECT_EQ(frameOf(window).minX(), 1101);
    service().swapWithNextScreen();
    EXPECT_EQ(frameOf(window).minX(), 102);
}

TEST_F(ScreenSwap, unreadableWindowsStayPut) {
    auto window = desktop.addWindow({100, 100, 400, 300});
    desktop.accessibility().failReads(window, "AXSize");
    desktop.accessibility().clearCalls();
    service().swapScreens(0, 1);
    EXPECT_TRUE(desktop.accessibility().writes(window).empty());
}

} // namespace
} // namespace zentaris::testing
