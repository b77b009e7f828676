// Our own windows as a person meets them: the tray menu, after which the shortcuts are the
// program's alone again; the settings window, which is never arranged by shortcuts pressed while
// it has the focus, whose start-at-login switch is what puts an autostart entry in place, and to
// which the alert of a change that could not be saved belongs.

#include "ZentarisSession.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

namespace zentaris::testing {
namespace {

using Clock = std::chrono::steady_clock;

const PixelRect screenArea{0, 0, 1920, 1080};

class OwnWindows : public ::testing::Test {
protected:
    void SetUp() override {
        if (!endToEndToolsAvailable() || !programAvailable("trayer")) {
            GTEST_SKIP() << "Xvfb, openbox, xterm, xdotool, xrandr, trayer or the program is missing";
        }
        session_ = std::make_unique<ZentarisSession>();
        session_->display().spawn({"trayer", "--edge", "top", "--align", "right", "--widthtype", "request", "--height",
                                   "24", "--transparent", "false"});
        first_ = session_->openTerminal("Terminal 1", 100, 100);
        second_ = session_->openTerminal("Terminal 2", 700, 400);
        ASSERT_TRUE(session_->startProgram(first_, screenArea)) << "the program's shortcuts never answered";
    }

    bool openMenu() { return session_->openTrayMenu(); }

    // Chooses "Preferences..." from the tray menu and answers the window.
    std::optional<xcb_window_t> openPreferences() {
        if (!openMenu()) return std::nullopt;
        auto& screen = session_->screen();
        // From no row, Up picks the last (Quit); the next Up the row above the separator.
        session_->press({"Up", "Up", "Return"});
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        while (Clock::now() < deadline) {
            if (auto window = screen.clientTitled("Settings")) {
                if (screen.outerFrame(*window)) return window;
            }
            pauseFor(0.05);
        }
        return std::nullopt;
    }

    ZentarisSession& session() { return *session_; }

    std::unique_ptr<ZentarisSession> session_;
    xcb_window_t first_ = 0, second_ = 0;
};

TEST_F(OwnWindows, ShortcutsPressedInTheSettingsWindowLeaveItWhereItIs) {
    const auto settings = openPreferences();
    ASSERT_TRUE(settings) << "Preferences did not open from the tray menu";
    session().focus(*settings);
    ASSERT_EQ(session().screen().activeWindow(), *settings);
    const auto before = session().screen().outerFrame(*settings);
    ASSERT_TRUE(before);

    const std::vector<std::vector<std::string>> presses{
        {"super+alt+Left"}, {"super+alt+Up"}, {"super+alt+f"}, {"super+alt+c"}, {"super+alt+Left", "super+alt+Up"}};
    for (const auto& chords : presses) {
        session().press(chords);
        // Longer than the wait for a second arrow.
        EXPECT_TRUE(session().staysPut(*settings, 0.5)) << chords.front();
    }
    EXPECT_EQ(session().screen().activeWindow(), *settings);

    // The presses do arrive: arranging all windows, pressed here too, moves the terminals.
    session().press({"super+alt+1"});
    const Slot left = fractionOf(screenArea, 0, 0, 0.5, 1), right = fractionOf(screenArea, 0.5, 0, 0.5, 1);
    const auto halves = [&](xcb_window_t a, xcb_window_t b) {
        return session().waitForSlot(a, left, screenArea, 0.05) && session().waitForSlot(b, right, screenArea, 0.05);
    };
    bool arranged = false;
    for (const auto deadline = Clock::now() + std::chrono::seconds(5); !arranged && Clock::now() < deadline;) {
        arranged = halves(first_, second_) || halves(second_, first_);
    }
    EXPECT_TRUE(arranged) << "the terminals side by side, in either order";
    EXPECT_EQ(session().screen().outerFrame(*settings), before);
}

TEST_F(OwnWindows, ClosedTrayMenuGivesTheShortcutsBackToTheProgram) {
    ASSERT_TRUE(openMenu()) << "the tray menu did not open";
    session().press({"Escape"});
    ASSERT_TRUE(waitUntil([&] { return !session().screen().keyboardGrabbed(); }, 5)) << "the menu stayed open";
    session().focus(first_);
    // Super is the fourth modifier and Alt the first on the private display's keyboard.
    EXPECT_TRUE(session().screen().keyGrabbed(XK_Left, XCB_MOD_MASK_4 | XCB_MOD_MASK_1))
        << "the chord would reach the terminal as well";
    session().press({"super+alt+Left"});
    EXPECT_FALSE(session().staysPut(first_, 3)) << "the program moves the terminal, which filled the screen";
}

TEST_F(OwnWindows, OnlyTheStartAtLoginSwitchPutsAnAutostartEntryInPlace) {
    const auto entry = session().configHome() / "autostart" / "zentaris.desktop";
    EXPECT_FALSE(std::filesystem::exists(entry)) << "a plain start leaves none";
    const auto settings = openPreferences();
    ASSERT_TRUE(settings) << "Preferences did not open from the tray menu";
    session().focus(*settings);
    // From the selected sidebar entry past the rest of the sidebar and the General page's tutorial
    // button, two pickers and right-button switch, to the Start at Login switch.
    session().press(std::vector<std::string>(11, "Tab"));
    session().press({"space"});
    EXPECT_TRUE(waitUntil([&] { return std::filesystem::exists(entry); }, 5));
}

TEST_F(OwnWindows, AFailedSaveIsToldInAnAlertThatBelongsToTheSettingsWindow) {
    // From now on every save fails, as root too: a file stands where the settings folder was.
    const auto folder = session().configHome() / "zentaris";
    std::filesystem::rename(folder, session().configHome() / "zentaris.moved");
    writeFile(folder, "not a folder");
    const auto settings = openPreferences();
    ASSERT_TRUE(settings) << "Preferences did not open from the tray menu";

    // Where the window manager put the window is saved as it opens, and is not.
    auto& screen = session().screen();
    std::optional<xcb_window_t> alert;
    ASSERT_TRUE(waitUntil([&] {
        for (auto window : screen.clientsOfClass("zentaris")) {
            if (window != *settings && screen.viewable(window)) alert = window;
        }
        return alert.has_value();
    }, 15)) << "no alert told of the failed save";
    EXPECT_EQ(screen.transientFor(*alert), settings);
    EXPECT_TRUE(screen.inState(*alert, "_NET_WM_STATE_MODAL"));
}

} // namespace
} // namespace zentaris::testing
