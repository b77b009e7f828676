#include "LayoutScene.h"

namespace zentaris::testing {
namespace {

// Two screens side by side with no panels; the primary's top edge is at 800.
class Coordinator : public LayoutScene {
protected:
    void SetUp() override {
        desktop.addScreen({0, 0, 1000, 800});
        desktop.addScreen({1000, 0, 1000, 800});
        app = desktop.addApplication("Editor");
    }
    AXUIElement focusedWindowAt(Rect frame, const std::string& title = "notes") {
        auto window = desktop.addWindow(app, frame, title);
        desktop.focus(window);
        return window;
    }

    platform::RunningApplication app;
};

TEST_F(Coordinator, threeColumnCommandsRememberTheColumnUnderTheWindowKey) {
    auto window = focusedWindowAt({100, 100, 400, 300});
    EXPECT_TRUE(service().applyThreeColumnAndRemember(2));
    EXPECT_EQ(frameOf(window), (Rect{701, 1, 298, 798}));
    const auto key = service().windowKey(window);
    ASSERT_TRUE(key);
    EXPECT_EQ(service().layoutIntentCache().at(*key), LayoutIntent::threeColumnRight);

    EXPECT_TRUE(service().applyThreeColumnAndRemember(0));
    EXPECT_EQ(service().layoutIntentCache().at(*key), LayoutIntent::threeColumnLeft);
    EXPECT_EQ(service().layoutIntentCache().size(), 1u);

    EXPECT_FALSE(service().applyThreeColumnAndRemember(3));
    EXPECT_EQ(service().layoutIntentCache().at(*key), LayoutIntent::threeColumnLeft);
}

TEST_F(Coordinator, aColumnForAVanishedWindowIsNotRemembered) {
    auto window = focusedWindowAt({100, 100, 400, 300});
    // The focused-window and frame reads of the target screen, then the window is gone.
    desktop.accessibility().vanishAfterCalls(window, 2);
    EXPECT_FALSE(service().applyThreeColumnAndRemember(1));
    EXPECT_TRUE(service().layoutIntentCache().empty());
}

TEST_F(Coordinator, windowKeysJoinProcessAndTitle) {
    auto first = desktop.addWindow(app, {0, 0, 100, 100}, "same");
    auto second = desktop.addWindow(app, {0, 0, 100, 100}, "same");
    auto other = desktop.addWindow(app, {0, 0, 100, 100}, "other");
    const auto pid = std::to_string(app.processIdentifier);
    EXPECT_EQ(service().windowKey(first), service().windowKey(second));
    EXPECT_NE(service().windowKey(first), service().windowKey(other));
    EXPECT_EQ(service().windowKey(first)->rfind(pid + "-", 0), 0u);

    desktop.accessibility().failReads(first, "AXTitle");
    desktop.accessibility().setAttribute(second, "AXTitle", 4.0);
    EXPECT_EQ(service().windowKey(first), pid);
    EXPECT_EQ(service().windowKey(second), pid);

    desktop.accessibility().remove(other);
    EXPECT_EQ(service().windowKey(other), std::nullopt);
}

TEST_F(Coordinator, movingToAnotherScreenParksThenPlacesTheSameKindOfSlot) {
    auto window = focusedWindowAt({1, 1, 298, 798}); // the left column, gap included
    desktop.accessibility().clearCalls();
    service().moveFocusedWindowToScreen(1);
    EXPECT_EQ(frameOf(window), (Rect{1001, 1, 298, 798}));
    // Parked in the top-left quarter without a pause, then placed with one.
    const auto writes = desktop.accessibility().writesAndPauses(window);
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(writes[0], "set AXPosition (1001, 1)");
    EXPECT_EQ(writes[1], "set AXSize 498x398");
    EXPECT_EQ(desktop.mainQueue().sleeps(), (std::vector<double>{0.02}));
}

TEST_F(Coordinator, withThreeScreensNextAndPreviousGoOppositeWaysAndWrap) {
    desktop.addScreen({2000, 0, 1000, 800});
    auto window = focusedWindowAt({1, 1, 298, 798});
    const struct {
        void (WindowManagementService::*move)();
        double x;
    } steps[] = {
        {&WindowManagementService::moveFocusedWindowToPreviousScreen, 2001},
        {&WindowManagementService::moveFocusedWindowToPreviousScreen, 1001},
        {&WindowManagementService::moveFocusedWindowToNextScreen, 2001},
        {&WindowManagementService::moveFocusedWindowToNextScreen, 1},
    };
    for (const auto& step : steps) {
        (service().*step.move)();
        EXPECT_EQ(frameOf(window), (Rect{step.x, 1, 298, 798}));
    }
}

TEST_F(Coordinator, aWindowMovedToItsOwnScreenComesBackToItsSlot) {
    auto window = focusedWindowAt({501, 1, 498, 798}); // right half
    service().moveFocusedWindowToScreen(0);
    EXPECT_EQ(frameOf(window), (Rect{501, 1, 498, 798}));
}

TEST_F(Coordinator, anUnrecognisedWindowKeepsItsProportions) {
    auto window = focusedWindowAt({100, 100, 400, 300});
    service().moveFocusedWindowToNextScreen();
    EXPECT_EQ(frameOf(window), (Rect{1101, 101, 400, 300}));
    service().moveFocusedWindowToPreviousScreen();
    // The relative position is measured without taking the gap off, so each trip shifts by half of it.
    EXPECT_EQ(frameOf(window), (Rect{102, 102, 400, 300}));
}

TEST_F(Coordinator, aLowerQuarterGoesToTheSameQuarterThroughTheUpperHalf) {
    auto window = focusedWindowAt({1, 1, 498, 398});
    service().moveFocusedWindowToScreen(1);
    EXPECT_EQ(frameOf(window), (Rect{1001, 1, 498, 398}));
    EXPECT_FALSE(desktop.isHidden(window));
}

TEST_F(Coordinator, movesThatCannotStartDoNothing) {
    auto window = focusedWindowAt({3000, 100, 400, 300}); // centre on no screen
    desktop.accessibility().clearCalls();
    service().moveFocusedWindowToScreen(0);
    service().moveFocusedWindowToNextScreen();
    service().moveFocusedWindowToScreen(-1);
    service().moveFocusedWindowToScreen(2);
    EXPECT_TRUE(desktop.accessibility().writes(window).empty());

    desktop.setFrame(window, {100, 100, 400, 300});
    desktop.screens().setScreens({desktop.screens().screens().front()});
    service().moveFocusedWindowToNextScreen();
    service().moveFocusedWindowToPreviousScreen();
    EXPECT_TRUE(desktop.accessibility().writes(window).empty());
}

TEST_F(Coordinator, aZeroSizedUsableAreaIsNotMeasured) {
    desktop.screens().setScreens({{{0, 0, 1000, 800}, {0, 0, 0, 0}, std::nullopt, ""},
                                  {{1000, 0, 1000, 800}, {1000, 0, 1000, 800}, std::nullopt, ""}});
    auto window = focusedWindowAt({100, 100, 400, 300});
    desktop.accessibility().clearCalls();
    service().moveFocusedWindowToScreen(1);
    EXPECT_TRUE(desktop.accessibility().writes(window).empty());
}

} // namespace
} // namespace zentaris::testing
