// Moves and swaps between two monitors (two halves of one Xvfb screen, made with
// `xrandr --setmonitor`), and the re-fit after the monitors change.

#include "ZentarisSession.h"

#include <gtest/gtest.h>

#include <memory>

namespace zentaris::testing {
namespace {

const PixelRect leftScreen{0, 0, 960, 1080};
const PixelRect rightScreen{960, 0, 960, 1080};
const std::vector<std::vector<std::string>> twoMonitors{{"Left", "960/254x1080/286+0+0", "screen"},
                                                        {"Right", "960/254x1080/286+960+0", "none"}};

class TwoScreens : public ::testing::Test {
protected:
    void SetUp() override {
        if (!endToEndToolsAvailable()) GTEST_SKIP() << "Xvfb, openbox, xterm, xdotool, xrandr or the program is missing";
        session_ = std::make_unique<ZentarisSession>(ZentarisSession::Options{.monitors = twoMonitors});
        ASSERT_EQ(session_->screen().monitors(), (std::vector<PixelRect>{leftScreen, rightScreen}));
        onLeft_ = session_->openTerminal("Terminal 1", 100, 100);
        onRight_ = session_->openTerminal("Terminal 2", 1200, 100);
        ASSERT_TRUE(session_->startProgram(onLeft_, leftScreen)) << "the program's shortcuts never answered";
    }

    ZentarisSession& session() { return *session_; }

    std::unique_ptr<ZentarisSession> session_;
    xcb_window_t onLeft_ = 0, onRight_ = 0;
};

TEST_F(TwoScreens, MovingToTheNextOrPreviousScreenKeepsTheKindOfSlot) {
    const Slot wholeLeft = fractionOf(leftScreen, 0, 0, 1, 1);
    const Slot wholeRight = fractionOf(rightScreen, 0, 0, 1, 1);
    session().press({"super+shift+alt+Right"});
    EXPECT_TRUE(session().waitForSlot(onLeft_, wholeRight, rightScreen));
    session().press({"super+shift+alt+Right"}); // past the last screen: back to the first
    EXPECT_TRUE(session().waitForSlot(onLeft_, wholeLeft, leftScreen));

    session().press({"super+alt+Up", "super+alt+Right"});
    ASSERT_TRUE(session().waitForSlot(onLeft_, fractionOf(leftScreen, 0.5, 0, 0.5, 0.5), leftScreen));
    session().press({"super+shift+alt+Left"});
    EXPECT_TRUE(session().waitForSlot(onLeft_, fractionOf(rightScreen, 0.5, 0, 0.5, 0.5), rightScreen));

    for (double width : {0.25, 0.3, 0.5}) {
        session().press({"super+alt+Left"});
        ASSERT_TRUE(session().waitForSlot(onLeft_, fractionOf(rightScreen, 0, 0, width, 1), rightScreen));
    }
    session().press({"super+shift+alt+Left"});
    EXPECT_TRUE(session().waitForSlot(onLeft_, fractionOf(leftScreen, 0, 0, 0.5, 1), leftScreen));
}

TEST_F(TwoScreens, SwappingExchangesTheWindowsOfBothScreens) {
    const Slot wholeLeft = fractionOf(leftScreen, 0, 0, 1, 1);
    const Slot wholeRight = fractionOf(rightScreen, 0, 0, 1, 1);
    session().focus(onRight_);
    session().press({"super+alt+Right", "super+alt+Down"});
    ASSERT_TRUE(session().waitForSlot(onRight_, fractionOf(rightScreen, 0.5, 0.5, 0.5, 0.5), rightScreen));

    session().focus(onLeft_);
    session().press({"super+shift+alt+Up"});
    EXPECT_TRUE(session().waitForSlot(onLeft_, wholeRight, rightScreen));
    EXPECT_TRUE(session().waitForSlot(onRight_, fractionOf(leftScreen, 0.5, 0.5, 0.5, 0.5), leftScreen));

    session().press({"super+shift+alt+Down"});
    EXPECT_TRUE(session().waitForSlot(onLeft_, wholeLeft, leftScreen));
    EXPECT_TRUE(session().waitForSlot(onRight_, fractionOf(rightScreen, 0.5, 0.5, 0.5, 0.5), rightScreen));
}

TEST(MonitorChange, AWindowAcrossBothNewScreensIsPulledInsideOne) {
    if (!endToEndToolsAvailable()) GTEST_SKIP() << "Xvfb, openbox, xterm, xdotool, xrandr or the program is missing";
    ZentarisSession session;
    const PixelRect whole{0, 0, 1920, 1080};
    const auto window = session.openTerminal("Terminal 1", 100, 100);
    ASSERT_TRUE(session.startProgram(window, whole)) << "the program's shortcuts never answered";
    // Right 70: its centre lies well inside what becomes the right screen.
    for (double left : {0.75, 0.67, 0.5, 0.33}) {
        session.press({"super+alt+Right"});
        ASSERT_TRUE(session.waitForSlot(window, fractionOf(whole, left, 0, 1 - left, 1), whole));
    }

    session.setMonitors(twoMonitors);
    // Fitted to the right screen, the gap included.
    PixelRect frame;
    for (int i = 0; i < 300; ++i) {
        frame = session.screen().outerFrame(window).value_or(PixelRect{});
        if (frame.x >= rightScreen.x && frame.maxX() <= rightScreen.maxX()) break; // position and size both applied
        pauseFor(0.01);
    }
    EXPECT_EQ(frame.x, rightScreen.x + 1) << frame;
    EXPECT_LE(frame.maxX(), rightScreen.maxX() - 1) << frame;
}

} // namespace
} // namespace zentaris::testing
