// The default shortcuts of one screen, pressed on the real program: single-window steps, the
// two-arrow quarters, centre and full screen, arrange-all of two and three windows, drag mode.

#include "ZentarisSession.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>

namespace zentaris::testing {
namespace {

using Clock = std::chrono::steady_clock;

const PixelRect screenArea{0, 0, 1920, 1080};

Slot slot(double fx, double fy, double fw, double fh) { return fractionOf(screenArea, fx, fy, fw, fh); }

// Top-left origin, so "top" is y = 0.
const Slot whole = slot(0, 0, 1, 1);
const Slot leftHalf = slot(0, 0, 0.5, 1);
const Slot rightHalf = slot(0.5, 0, 0.5, 1);
const Slot topHalf = slot(0, 0, 1, 0.5);
const Slot bottomHalf = slot(0, 0.5, 1, 0.5);
const Slot topLeft = slot(0, 0, 0.5, 0.5);
const Slot topRight = slot(0.5, 0, 0.5, 0.5);
const Slot bottomLeft = slot(0, 0.5, 0.5, 0.5);
const Slot bottomRight = slot(0.5, 0.5, 0.5, 0.5);

// Each test starts its own display, two terminals and the program: a start costs about half a
// second, and the tests stay independent of each other's window states.
class SingleScreen : public ::testing::Test {
protected:
    void SetUp() override {
        if (!endToEndToolsAvailable()) GTEST_SKIP() << "Xvfb, openbox, xterm, xdotool, xrandr or the program is missing";
        session_ = std::make_unique<ZentarisSession>();
        first_ = session_->openTerminal("Terminal 1", 100, 100);
        second_ = session_->openTerminal("Terminal 2", 700, 400);
        ASSERT_TRUE(session_->startProgram(first_, screenArea)) << "the program's shortcuts never answered";
    }

    ZentarisSession& session() { return *session_; }

    // Presses `chord` and expects `window` to reach `target`.
    void expectStep(const std::string& chord, xcb_window_t window, const Slot& target) {
        session().press({chord});
        EXPECT_TRUE(session().waitForSlot(window, target, screenArea)) << "after " << chord;
    }

    std::unique_ptr<ZentarisSession> session_;
    xcb_window_t first_ = 0, second_ = 0;
};

TEST_F(SingleScreen, TheFirstStartStoresTheTwentyOneDefaultShortcuts) {
    // Virtual key code and modifiers: Option+Command 2304, Shift+Option+Command 2816, Shift+Command 768.
    const std::map<std::string, std::pair<int, int>> expected{
        {"leftColumn", {123, 2304}},       {"rightColumn", {124, 2304}},          {"upColumn", {126, 2304}},
        {"downColumn", {125, 2304}},       {"centerColumn", {8, 2304}},           {"fullscreen", {3, 2304}},
        {"splitVertical", {18, 2304}},     {"splitHorizontal", {19, 2304}},       {"split7030", {20, 2304}},
        {"split3070", {21, 2304}},         {"threeColumns", {23, 2304}},          {"threeWindowTop", {22, 2304}},
        {"threeWindowBottom", {26, 2304}}, {"threeWindowLeft", {28, 2304}},       {"threeWindowRight", {25, 2304}},
        {"quartetMode", {29, 2304}},       {"moveToNextScreen", {124, 2816}},     {"moveToPreviousScreen", {123, 2816}},
        {"swapWithNextScreen", {126, 2816}}, {"swapWithPreviousScreen", {125, 2816}}, {"toggleDragMode", {2, 768}},
    };
    const auto values = nlohmann::json::parse(readFile(session().defaultsFile()))["values"];
    std::map<std::string, std::pair<int, int>> stored;
    for (const auto& [key, entry] : values.items()) {
        const std::string prefix = "GlobalShortcuts_";
        if (key.rfind(prefix, 0) != 0) continue;
        const auto shortcut = nlohmann::json::parse(entry["value"].get<std::string>());
        stored[key.substr(prefix.size())] = {shortcut["carbonKeyCode"].get<int>(), shortcut["carbonModifiers"].get<int>()};
    }
    EXPECT_EQ(stored, expected);
}

TEST_F(SingleScreen, AnArrowStepWaitsForASecondArrowThenCyclesTheWidths) {
    session().focus(second_);
    const auto before = session().screen().outerFrame(second_);
    session().press({"super+alt+Left"});
    const auto pressed = Clock::now();
    const auto early = session().screen().outerFrame(second_);
    // Only conclusive when this look came well inside the 0.2 s window.
    if (Clock::now() - pressed < std::chrono::milliseconds(120)) {
        EXPECT_EQ(early, before) << "the step came before the second-arrow window closed";
    }
    EXPECT_TRUE(session().waitForSlot(second_, slot(0, 0, 0.25, 1), screenArea));

    // Each press more than 0.2 s after the last and within 2 s: the next width.
    for (const Slot& width : {slot(0, 0, 0.3, 1), leftHalf, slot(0, 0, 0.67, 1), slot(0, 0, 0.75, 1), whole,
                              slot(0, 0, 0.25, 1)}) {
        expectStep("super+alt+Left", second_, width);
    }
    // A right arrow leaves the left cycle.
    for (const Slot& width : {slot(0.75, 0, 0.25, 1), slot(0.67, 0, 0.33, 1), rightHalf, slot(0.33, 0, 0.67, 1),
                              slot(0.25, 0, 0.75, 1), whole, slot(0.75, 0, 0.25, 1)}) {
        expectStep("super+alt+Right", second_, width);
    }

    // A pause longer than 2 s starts the cycle again.
    expectStep("super+alt+Left", second_, slot(0, 0, 0.25, 1));
    expectStep("super+alt+Left", second_, slot(0, 0, 0.3, 1));
    pauseFor(2.2);
    expectStep("super+alt+Left", second_, slot(0, 0, 0.25, 1));
}

TEST_F(SingleScreen, UpAndDownToggleTheTopAndBottomHalves) {
    session().focus(second_);
    expectStep("super+alt+Up", second_, topHalf);
    expectStep("super+alt+Up", second_, bottomHalf);
    expectStep("super+alt+Down", second_, topHalf);
    expectStep("super+alt+Down", second_, bottomHalf);
}

TEST_F(SingleScreen, TwoArrowsTogetherGiveAQuarterAndNoStep) {
    session().focus(second_);
    const struct {
        std::vector<std::string> chords;
        Slot quarter;
    } cases[] = {
        {{"super+alt+Left", "super+alt+Up"}, topLeft},
        {{"super+alt+Up", "super+alt+Right"}, topRight},
        {{"super+alt+Down", "super+alt+Left"}, bottomLeft},
        {{"super+alt+Right", "super+alt+Down"}, bottomRight},
    };
    for (const auto& c : cases) {
        session().press(c.chords);
        EXPECT_TRUE(session().waitForSlot(second_, c.quarter, screenArea)) << c.chords[0] << " " << c.chords[1];
        // Neither arrow makes a single step afterwards.
        EXPECT_TRUE(session().staysPut(second_, 0.35)) << c.chords[0] << " " << c.chords[1];
    }
    // Two arrows that name no corner do nothing at all.
    session().press({"super+alt+Left", "super+alt+Right"});
    EXPECT_TRUE(session().staysPut(second_, 0.4));
}

TEST_F(SingleScreen, CentreCyclesAndFullScreenFillsTheUsableArea) {
    session().focus(first_);
    expectStep("super+alt+c", first_, slot(0.25, 0, 0.5, 1));
    expectStep("super+alt+c", first_, slot(0.165, 0, 0.67, 1));
    expectStep("super+alt+c", first_, slot(0.125, 0, 0.75, 1));
    expectStep("super+alt+c", first_, whole);
    expectStep("super+alt+c", first_, slot(0.25, 0, 0.5, 1));
    expectStep("super+alt+f", first_, whole);
    expectStep("super+alt+c", first_, slot(0.25, 0, 0.5, 1));
}

TEST_F(SingleScreen, TheWindowGapSeparatesNeighboursAndTheScreenEdges) {
    session().press({"super+alt+1"});
    ASSERT_TRUE(session().waitForSlot(first_, leftHalf, screenArea));
    ASSERT_TRUE(session().waitForSlot(second_, rightHalf, screenArea));
    const auto left = *session().screen().outerFrame(first_);
    const auto right = *session().screen().outerFrame(second_);
    EXPECT_EQ(left.x, 1);
    EXPECT_EQ(left.y, 1);
    EXPECT_EQ(right.maxX(), 1919);
    EXPECT_EQ(right.y, 1);
    EXPECT_LE(left.maxX(), 959);
    EXPECT_GE(right.x, 961);
}

TEST_F(SingleScreen, DragModeShortcutShowsItsFeedback) {
    ASSERT_FALSE(session().screen().overlayShown("Zentaris"));
    session().press({"super+shift+d"});
    bool shown = false;
    for (int i = 0; i < 100 && !shown; ++i) {
        shown = session().screen().overlayShown("Zentaris");
        pauseFor(0.01);
    }
    EXPECT_TRUE(shown);
}

TEST_F(SingleScreen, ArrangeAllOfTwoWindowsAndItsRotation) {
    const struct {
        std::string chord;
        Slot first, second;
    } cases[] = {
        {"super+alt+1", leftHalf, rightHalf},
        {"super+alt+1", rightHalf, leftHalf}, // again within 2 s: every window one slot on
        {"super+alt+2", topHalf, bottomHalf},
        {"super+alt+3", slot(0, 0, 0.7, 1), slot(0.7, 0, 0.3, 1)},
        {"super+alt+4", slot(0, 0, 0.3, 1), slot(0.3, 0, 0.7, 1)},
    };
    for (const auto& c : cases) {
        session().press({c.chord});
        EXPECT_TRUE(session().waitForSlot(first_, c.first, screenArea)) << c.chord;
        EXPECT_TRUE(session().waitForSlot(second_, c.second, screenArea)) << c.chord;
    }
}

TEST_F(SingleScreen, ArrangeAllOfThreeWindows) {
    const auto third = session().openTerminal("Terminal 3", 300, 200);
    const struct {
        std::string chord;
        Slot first, second, third;
    } cases[] = {
        {"super+alt+5", slot(0, 0, 0.3, 1), slot(0.3, 0, 0.4, 1), slot(0.7, 0, 0.3, 1)},
        {"super+alt+5", slot(0.3, 0, 0.4, 1), slot(0.7, 0, 0.3, 1), slot(0, 0, 0.3, 1)},
        {"super+alt+6", topHalf, bottomLeft, bottomRight},
        {"super+alt+7", topLeft, topRight, bottomHalf},
        {"super+alt+8", leftHalf, bottomRight, topRight},
        {"super+alt+9", bottomLeft, topLeft, rightHalf},
        {"super+alt+0", topLeft, topRight, bottomLeft},
    };
    for (const auto& c : cases) {
        session().press({c.chord});
        EXPECT_TRUE(session().waitForSlot(first_, c.first, screenArea)) << c.chord;
        EXPECT_TRUE(session().waitForSlot(second_, c.second, screenArea)) << c.chord;
        EXPECT_TRUE(session().waitForSlot(third, c.third, screenArea)) << c.chord;
    }
}

TEST_F(SingleScreen, TooManyWindowsArrangesTheFirstAndShowsTheOverlay) {
    const auto third = session().openTerminal("Terminal 3", 300, 200);
    const auto thirdBefore = session().screen().outerFrame(third);
    session().press({"super+alt+1"});
    EXPECT_TRUE(session().waitForSlot(first_, leftHalf, screenArea));
    EXPECT_TRUE(session().waitForSlot(second_, rightHalf, screenArea));
    EXPECT_EQ(session().screen().outerFrame(third), thirdBefore);
    EXPECT_TRUE(session().screen().overlayShown("Zentaris"));
}

TEST_F(SingleScreen, ShortcutsAnswerWithNumLockOn) {
    session().press({"Num_Lock"});
    expectStep("super+alt+c", first_, slot(0.25, 0, 0.5, 1));
    session().press({"super+alt+Up", "super+alt+Left"});
    EXPECT_TRUE(session().waitForSlot(first_, topLeft, screenArea));
    session().press({"Num_Lock"});
}

TEST(ShortcutSwitches, AShortcutSwitchedOffDoesNothingAndTheOthersStillWork) {
    if (!endToEndToolsAvailable()) GTEST_SKIP() << "Xvfb, openbox, xterm, xdotool, xrandr or the program is missing";
    ZentarisSession::Options options;
    // {"splitVertical":false}, stored as data.
    options.defaults["individualShortcutStates"] = {{"type", "data"}, {"value", "eyJzcGxpdFZlcnRpY2FsIjpmYWxzZX0="}};
    ZentarisSession session(options);
    const auto first = session.openTerminal("Terminal 1", 100, 100);
    const auto second = session.openTerminal("Terminal 2", 700, 400);
    ASSERT_TRUE(session.startProgram(first, screenArea)) << "the program's shortcuts never answered";

    const auto secondBefore = session.screen().outerFrame(second);
    session.press({"super+alt+1"});
    EXPECT_TRUE(session.staysPut(first, 0.5));
    EXPECT_EQ(session.screen().outerFrame(second), secondBefore);

    session.press({"super+alt+2"});
    EXPECT_TRUE(session.waitForSlot(first, topHalf, screenArea));
    EXPECT_TRUE(session.waitForSlot(second, bottomHalf, screenArea));
}

} // namespace
} // namespace zentaris::testing
