#include "AppTestSupport.h"

using namespace zentaris;
using namespace zentaris::testing;
using platform::Rect;

namespace {

constexpr std::uint32_t leftArrow = 123, rightArrow = 124, downArrow = 125, upArrow = 126;

// One 1000 x 800 screen with no gap, and a focused window.
struct LayoutCommandsTest : AppFixture {
    platform::AXUIElement window;

    LayoutCommandsTest() {
        desktop.addScreen({0, 0, 1000, 800});
        desktop.defaults().set("windowGap", 0.0);
        window = desktop.addWindow({100, 100, 300, 300}, "focused");
        desktop.focus(window);
        launch();
        desktop.mainQueue().runPending();
    }
    Rect frame() { return desktop.frameOf(window).value(); }
    void wait(double seconds) { desktop.mainQueue().advance(seconds); }
};

} // namespace

TEST_F(LayoutCommandsTest, ArrowStepsWaitForASecondArrowThenCycleWidths) {
    press(leftArrow, optionCommand);
    EXPECT_EQ(frame(), Rect(100, 100, 300, 300)) << "nothing moves before the two-arrow window closes";
    wait(0.2);
    EXPECT_EQ(frame(), Rect(0, 0, 250, 800));
    wait(0.5);
    press(leftArrow, optionCommand);
    wait(0.25);
    EXPECT_EQ(frame(), Rect(0, 0, 300, 800));
    wait(0.5);
    press(leftArrow, optionCommand);
    wait(0.25);
    EXPECT_EQ(frame(), Rect(0, 0, 500, 800));
    wait(0.5);
    press(rightArrow, optionCommand);
    wait(0.25);
    EXPECT_EQ(frame(), Rect(750, 0, 250, 800)) << "another direction starts its own cycle";
    wait(3);
    press(leftArrow, optionCommand);
    wait(0.25);
    EXPECT_EQ(frame(), Rect(0, 0, 250, 800)) << "after a long pause the cycle starts again";
}

TEST_F(LayoutCommandsTest, TwoArrowsTogetherPickAQuarterAndNoSingleStep) {
    press(leftArrow, optionCommand);
    wait(0.1);
    press(upArrow, optionCommand);
    EXPECT_EQ(frame(), Rect(0, 400, 500, 400));
    wait(1);
    EXPECT_EQ(frame(), Rect(0, 400, 500, 400)) << "neither arrow steps on its own";

    press(downArrow, optionCommand);
    press(rightArrow, optionCommand);
    EXPECT_EQ(frame(), Rect(500, 0, 500, 400));

    press(leftArrow, optionCommand);
    press(leftArrow, optionCommand);
    wait(1);
    EXPECT_EQ(frame(), Rect(500, 0, 500, 400)) << "the same arrow twice does nothing";
}

TEST_F(LayoutCommandsTest, CentreAndFullScreenShortcuts) {
    for (Rect expected : {Rect(250, 0, 500, 800), Rect(165, 0, 670, 800), Rect(125, 0, 750, 800), Rect(0, 0, 1000, 800),
                          Rect(250, 0, 500, 800)}) {
        press(8, optionCommand); // C
        EXPECT_EQ(frame(), expected);
        wait(0.5);
    }
    press(3, optionCommand); // F
    EXPECT_EQ(frame(), Rect(0, 0, 1000, 800));
}

TEST_F(LayoutCommandsTest, TheStepCycleLastsTwoSecondsAndBelongsToOneWindow) {
    const Rect centreHalf(250, 0, 500, 800), centreSeventy(165, 0, 670, 800);
    // Each move pauses 0.02 s after the step is timed.
    press(8, optionCommand); // C
    wait(1.97);
    press(8, optionCommand);
    EXPECT_EQ(frame(), centreSeventy) << "1.99 s later: the cycle goes on";
    wait(1.99);
    press(8, optionCommand);
    EXPECT_EQ(frame(), centreHalf) << "2.01 s later: it starts again";

    auto other = desktop.addWindow({600, 100, 200, 200}, "other");
    desktop.focus(other);
    wait(0.5);
    press(8, optionCommand);
    EXPECT_EQ(desktop.frameOf(other), centreHalf) << "another window starts its own cycle";
    desktop.focus(window);
    wait(0.5);
    press(8, optionCommand);
    EXPECT_EQ(frame(), centreHalf) << "and coming back starts again too";
}

TEST_F(LayoutCommandsTest, ScreenShortcutsWithThreeScreensTellNextFromPrevious) {
    desktop.addScreen({1000, 0, 1000, 800});
    desktop.addScreen({2000, 0, 1000, 800});
    constexpr std::uint32_t shiftOptionCommand = 0x200 | optionCommand;
    press(leftArrow, shiftOptionCommand); // to the previous screen, round to the last
    EXPECT_EQ(frame(), Rect(2100, 100, 300, 300));
    press(leftArrow, shiftOptionCommand);
    EXPECT_EQ(frame(), Rect(1100, 100, 300, 300));
    press(rightArrow, shiftOptionCommand); // to the next screen
    EXPECT_EQ(frame(), Rect(2100, 100, 300, 300));
    press(rightArrow, shiftOptionCommand);
    EXPECT_EQ(frame(), Rect(100, 100, 300, 300));

    auto second = desktop.addWindow({1100, 100, 300, 300}, "second");
    auto third = desktop.addWindow({2100, 100, 300, 300}, "third");
    press(upArrow, shiftOptionCommand); // swap with the next screen: 0 and 1
    EXPECT_EQ(frame(), Rect(1100, 100, 300, 300));
    EXPECT_EQ(desktop.frameOf(second), Rect(100, 100, 300, 300));
    EXPECT_EQ(desktop.frameOf(third), Rect(2100, 100, 300, 300));
    press(downArrow, shiftOptionCommand); // the focused window is on 1 now: swap 1 with 0, not 2
    EXPECT_EQ(frame(), Rect(100, 100, 300, 300));
    EXPECT_EQ(desktop.frameOf(second), Rect(1100, 100, 300, 300));
    EXPECT_EQ(desktop.frameOf(third), Rect(2100, 100, 300, 300));
}

TEST_F(LayoutCommandsTest, SwitchedOffShortcutsDoNothingAndRecordingBlocksOnlyArrowsAndDragMode) {
    auto& settings = ShortcutSettings::shared();
    settings.setIndividualState("centerColumn", false);
    press(8, optionCommand);
    EXPECT_EQ(frame(), Rect(100, 100, 300, 300));
    settings.setIndividualState("centerColumn", true);

    settings.setShortcutsEnabled(false);
    press(3, optionCommand);
    press(leftArrow, optionCommand);
    wait(1);
    EXPECT_EQ(frame(), Rect(100, 100, 300, 300));
    settings.setShortcutsEnabled(true);

    ASSERT_TRUE(app->startRecordingShortcut(ShortcutNames::fullscreen()));
    press(leftArrow, optionCommand);
    press(2, 0x200 | 0x100); // the drag-mode switch
    wait(1);
    EXPECT_EQ(frame(), Rect(100, 100, 300, 300));
    EXPECT_TRUE(app->isDragAndDropEnabled().value());
    press(3, optionCommand);
    EXPECT_EQ(frame(), Rect(0, 0, 1000, 800)) << "other shortcuts still run while recording";
}

TEST_F(LayoutCommandsTest, DragModeShortcutFlipsTheSwitchShowsFeedbackAndRebuildsTheMenu) {
    const int builds = shell.menuBuilds;
    press(2, 0x200 | 0x100);
    EXPECT_FALSE(app->isDragAndDropEnabled().value());
    EXPECT_EQ(shell.dragModeFeedback, (std::vector<bool>{false}));
    EXPECT_EQ(shell.menuBuilds, builds + 1);
    EXPECT_FALSE(shell.menu.items.empty());
}

TEST_F(LayoutCommandsTest, ArrangeAllRotatesWithinTwoSecondsAndReportsTooManyWindows) {
    auto second = desktop.addWindow({500, 100, 200, 200}, "second");
    auto third = desktop.addWindow({600, 300, 200, 200}, "third");
    // The fake lists windows by application in the order they were added.
    app->arrangeAllWindows(LayoutType::threeColumn, 3);
    EXPECT_EQ(frame(), Rect(0, 0, 300, 800));
    EXPECT_EQ(desktop.frameOf(second), Rect(300, 0, 400, 800));
    EXPECT_EQ(desktop.frameOf(third), Rect(700, 0, 300, 800));
    wait(1);
    app->arrangeAllWindows(LayoutType::threeColumn, 3);
    EXPECT_EQ(frame(), Rect(300, 0, 400, 800)) << "a repeat within 2 s shifts every window one slot";
    EXPECT_EQ(desktop.frameOf(third), Rect(0, 0, 300, 800));
    wait(1.5);
    app->arrangeAllWindows(LayoutType::threeColumn, 3);
    EXPECT_EQ(frame(), Rect(700, 0, 300, 800));
    wait(2.5);
    app->arrangeAllWindows(LayoutType::threeColumn, 3);
    EXPECT_EQ(frame(), Rect(0, 0, 300, 800)) << "a pause starts again at the first slot";
    EXPECT_TRUE(shell.tooManyWindows.empty());

    app->arrangeAllWindows(LayoutType::splitVertical, 2);
    EXPECT_EQ(shell.tooManyWindows, (std::vector<std::pair<std::int64_t, std::int64_t>>{{2, 3}}));
    EXPECT_EQ(frame(), Rect(0, 0, 500, 800));
    EXPECT_EQ(desktop.frameOf(third), Rect(700, 0, 300, 800)) << "windows beyond the slots stay where they are";
}

TEST_F(LayoutCommandsTest, LayoutShortcutArrangesTheWindowsOfTheFocusedScreen) {
    auto other = desktop.addWindow({600, 200, 200, 200}, "other");
    press(18, optionCommand); // 1: vertical split
    EXPECT_EQ(frame(), Rect(0, 0, 500, 800));
    EXPECT_EQ(desktop.frameOf(other), Rect(500, 0, 500, 800));
}
