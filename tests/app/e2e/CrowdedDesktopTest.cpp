// What the program sees of a desktop beyond well-behaved terminals: a client that does not name its
// process is stepped, arranged and dragged like any other window, and a dock that changes its strut
// after it was mapped narrows the area the next command fills.

#include "ZentarisSession.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace zentaris::testing {
namespace {

const PixelRect screenArea{0, 0, 1920, 1080};

class CrowdedDesktop : public ::testing::Test {
protected:
    void SetUp() override {
        if (!endToEndToolsAvailable()) GTEST_SKIP() << "Xvfb, openbox, xterm, xdotool, xrandr or the program is missing";
        session_ = std::make_unique<ZentarisSession>();
        terminal_ = session_->openTerminal("Terminal", 100, 100);
        ASSERT_TRUE(session_->startProgram(terminal_, screenArea)) << "the program's shortcuts never answered";
    }

    // Starts the test client with these options and waits until the window manager has framed it.
    xcb_window_t openClient(const std::string& title, std::vector<std::string> options) {
        options.insert(options.begin(), {ZENTARIS_TEST_CLIENT, "--title", title});
        session_->display().spawn(options);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            if (auto window = session_->screen().clientTitled(title)) {
                auto frame = session_->screen().outerFrame(*window);
                if (frame && frame->width > 400) return *window;
            }
            pauseFor(0.02);
        }
        throw std::runtime_error("the client \"" + title + "\" did not appear");
    }

    std::unique_ptr<ZentarisSession> session_;
    xcb_window_t terminal_ = 0;
};

TEST_F(CrowdedDesktop, AClientThatDoesNotNameItsProcessIsSteppedArrangedAndDragged) {
    auto& session = *session_;
    const auto anonymous = openClient("Anonymous", {"--no-pid"});
    session.focus(anonymous);
    session.press({"super+alt+f"});
    EXPECT_TRUE(session.waitForSlot(anonymous, fractionOf(screenArea, 0, 0, 1, 1), screenArea)) << "full screen";
    session.press({"super+alt+Left"});
    EXPECT_TRUE(session.waitForSlot(anonymous, fractionOf(screenArea, 0, 0, 0.25, 1), screenArea)) << "left step";

    // Arrange-all puts both windows side by side, whichever half each takes.
    session.press({"super+alt+1"});
    auto halves = [&] {
        const auto a = session.screen().outerFrame(anonymous), t = session.screen().outerFrame(terminal_);
        return a && t && a->width < 1000 && t->width < 1000 && a->width > 900 && t->width > 900 && a->x != t->x;
    };
    bool arranged = false;
    for (int i = 0; i < 150 && !arranged; ++i, pauseFor(0.02)) arranged = halves();
    EXPECT_TRUE(arranged) << "arrange-all left a window out";

    // A Super drag by the title bar drops it into the right half.
    session.press({"super+alt+c"});
    ASSERT_TRUE(session.waitForSlot(anonymous, fractionOf(screenArea, 0.25, 0, 0.5, 1), screenArea, 3) ||
                session.screen().outerFrame(anonymous).has_value());
    const auto frame = *session.screen().outerFrame(anonymous);
    auto& display = session.display();
    const int startX = frame.x + frame.width / 2, startY = frame.y + 8;
    ASSERT_EQ(display.run({"xdotool", "mousemove", std::to_string(startX), std::to_string(startY)}), 0);
    ASSERT_EQ(display.run({"xdotool", "mousedown", "1"}), 0);
    pauseFor(0.05);
    const int steps = 12;
    const int dx = (1440 - startX) / steps, dy = (540 - startY) / steps;
    for (int i = 0; i < steps; ++i) {
        if (i == 3) {
            ASSERT_EQ(display.run({"xdotool", "keydown", "super"}), 0);
        }
        ASSERT_EQ(display.run({"xdotool", "mousemove_relative", "--", std::to_string(dx), std::to_string(dy)}), 0);
        pauseFor(0.03);
    }
    pauseFor(0.2);
    ASSERT_EQ(display.run({"xdotool", "mouseup", "1", "keyup", "super"}), 0);
    EXPECT_TRUE(session.waitForSlot(anonymous, fractionOf(screenArea, 0.5, 0, 0.5, 1), screenArea)) << "drag to the right half";
}

TEST_F(CrowdedDesktop, ADockThatChangesItsStrutAfterMappingIsNoticed) {
    auto& session = *session_;
    const auto dock = openClient("Dock", {"--strut-bottom", "40"});
    (void)dock;
    session.focus(terminal_);
    session.press({"super+alt+f"});
    EXPECT_TRUE(session.waitForSlot(terminal_, Slot{0, 0, 1920, 1040}, screenArea)) << "the first strut";

    // The dock now reserves 100 pixels: what the window manager and the program both learn from
    // the property alone.
    const auto id = std::to_string(*session.screen().clientTitled("Dock"));
    ASSERT_EQ(session.display().run({"xprop", "-id", id, "-f", "_NET_WM_STRUT_PARTIAL", "32c", "-set", "_NET_WM_STRUT_PARTIAL",
                                     "0,0,0,100,0,0,0,0,0,0,0,1919"}),
              0);
    pauseFor(0.2);
    session.press({"super+alt+c"});
    session.press({"super+alt+f"});
    EXPECT_TRUE(session.waitForSlot(terminal_, Slot{0, 0, 1920, 980}, screenArea)) << "the changed strut";
}

} // namespace
} // namespace zentaris::testing
