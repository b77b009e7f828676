// One Zentaris per user and display, and a desktop without a tray: starting the program again
// brings the running one's settings forward instead of making a second one, a killed program
// leaves nothing that blocks the next start, and without a tray the program says how to reach it.

#include "ZentarisSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <functional>
#include <sys/wait.h>

namespace zentaris::testing {
namespace {

using Clock = std::chrono::steady_clock;

const PixelRect screenArea{0, 0, 1920, 1080};
const Slot whole = fractionOf(screenArea, 0, 0, 1, 1);

const char* const trayerCommand[] = {"trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                                     "--height", "24", "--transparent", "false"};

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

class SingleInstance : public ::testing::Test {
protected:
    void SetUp() override {
        if (!endToEndToolsAvailable() || !programAvailable("trayer")) {
            GTEST_SKIP() << "Xvfb, openbox, xterm, xdotool, xrandr, trayer or the program is missing";
        }
        session_ = std::make_unique<ZentarisSession>();
        terminal_ = session_->openTerminal("Terminal 1", 100, 100);
    }

    void startTray() { session_->display().spawn({std::begin(trayerCommand), std::end(trayerCommand)}); }

    // Starts the program with its standard output and error going to a file of this test.
    pid_t start(const std::string& log) {
        const auto path = session_->configHome() / log;
        return session_->display().spawn({"sh", "-c",
                                          "exec env XDG_CONFIG_HOME='" + session_->configHome().string() + "' '" +
                                              ZENTARIS_BINARY + "' >'" + path.string() + "' 2>&1"});
    }
    std::string output(const std::string& log) {
        const auto path = session_->configHome() / log;
        return std::filesystem::exists(path) ? readFile(path) : std::string();
    }

    // Presses ⌥⌘F on `window` until it fills the screen: the shortcuts answer.
    bool answersShortcuts(xcb_window_t window) {
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        while (Clock::now() < deadline) {
            session_->focus(window); // the program may bring its settings forward meanwhile
            session_->press({"super+alt+f"});
            if (session_->waitForSlot(window, whole, screenArea, 0.5)) return true;
        }
        return false;
    }

    // Our icons docked in a tray: the only small windows of ours that are mapped.
    int dockedIcons() {
        const auto windows = session_->screen().viewableWindowsOfClass("zentaris");
        return static_cast<int>(std::count_if(windows.begin(), windows.end(),
                                              [](const PixelRect& box) { return box.width <= 64 && box.height <= 64; }));
    }

    // The settings window is mapped, active and above every other window but the panels.
    bool settingsInFront() {
        return waitUntil([&] {
            const auto settings = session_->screen().clientTitled("Settings");
            return settings && session_->screen().activeWindow() == settings &&
                   session_->screen().topmostClient() == settings;
        }, 15);
    }

    // The settings window is mapped on the workspace in view, active, and nothing the server stacks
    // above it covers any of it.
    ::testing::AssertionResult settingsInView() {
        auto& screen = session_->screen();
        std::string last = "no settings window";
        const bool seen = waitUntil([&] {
            const auto settings = screen.clientTitled("Settings");
            if (!settings) return false;
            const auto workspace = screen.workspaceOf(*settings);
            const auto current = screen.currentWorkspace();
            const auto covering = screen.windowsAbove(*settings);
            last = "mapped " + std::to_string(screen.viewable(*settings)) + ", on workspace " +
                   (workspace ? std::to_string(*workspace) : "-") + " of " + (current ? std::to_string(*current) : "-") +
                   ", active " + std::to_string(screen.activeWindow() == settings) + ", covered by " +
                   std::to_string(covering.size()) + " windows";
            return screen.viewable(*settings) && workspace == current && screen.activeWindow() == settings &&
                   covering.empty();
        }, 15);
        return seen ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << last;
    }

    // The settings window is on screen: the only large window of ours that is viewable.
    bool settingsShown() {
        const auto windows = session_->screen().viewableWindowsOfClass("zentaris");
        return std::any_of(windows.begin(), windows.end(), [](const PixelRect& box) { return box.width > 64; });
    }

    std::unique_ptr<ZentarisSession> session_;
    xcb_window_t terminal_ = 0;
};

TEST_F(SingleInstance, StartsAtOnceLeaveOneProgramAndALaterStartBringsItsSettingsForward) {
    startTray();
    // Two starts at the same moment, as a login's autostart and a user's click may be.
    const pid_t first = start("first.log");
    const pid_t second = start("second.log");
    std::optional<int> firstEnded, secondEnded;
    ASSERT_TRUE(waitUntil([&] {
        if (!firstEnded) firstEnded = exitStatus(first, 0);
        if (!secondEnded) secondEnded = exitStatus(second, 0);
        return firstEnded || secondEnded;
    }, 30)) << "both starts keep running";
    ASSERT_FALSE(firstEnded && secondEnded) << "neither start keeps running";
    const std::string endedLog = firstEnded ? "first.log" : "second.log";
    EXPECT_EQ(firstEnded.value_or(secondEnded.value_or(-1)), 0) << output(endedLog);
    EXPECT_EQ(occurrences(output(endedLog), "already running"), 1u) << output(endedLog);
    const pid_t running = firstEnded ? second : first;

    // The start that lost asked the other to show its settings.
    EXPECT_TRUE(settingsInFront()) << "the settings window is not mapped and in front";
    ASSERT_TRUE(answersShortcuts(terminal_)) << "the running program's shortcuts never answered";
    EXPECT_FALSE(exitStatus(running, 0)) << "the program that holds the display keeps running";
    EXPECT_TRUE(waitUntil([&] { return dockedIcons() == 1; }, 15))
        << dockedIcons() << " icons docked in the tray";

    // The user starts it again over a terminal: the running one's settings window comes forward.
    session_->focus(terminal_);
    ASSERT_EQ(session_->screen().activeWindow(), terminal_);
    const pid_t again = start("again.log");
    const auto status = exitStatus(again, 30);
    ASSERT_TRUE(status) << "the later start keeps running";
    EXPECT_EQ(*status, 0) << output("again.log");
    EXPECT_EQ(occurrences(output("again.log"), "already running"), 1u) << output("again.log");
    EXPECT_TRUE(settingsInFront()) << "the settings window is not mapped and in front";
    EXPECT_EQ(dockedIcons(), 1);
    EXPECT_FALSE(exitStatus(running, 0));
}

TEST_F(SingleInstance, ALaterStartRestoresTheSettingsWindowTheUserMinimised) {
    ASSERT_TRUE(session_->startProgram(terminal_, screenArea)) << "the program's shortcuts never answered";
    ASSERT_EQ(exitStatus(start("open.log"), 30), 0) << output("open.log");
    ASSERT_TRUE(settingsInFront()) << "the settings window is not mapped and in front";

    const auto settings = session_->screen().clientTitled("Settings");
    ASSERT_TRUE(settings);
    session_->display().run({"xdotool", "windowminimize", std::to_string(*settings)});
    ASSERT_TRUE(waitUntil([&] { return !settingsShown(); }, 15)) << "the settings window was never minimised";

    ASSERT_EQ(exitStatus(start("again.log"), 30), 0) << output("again.log");
    EXPECT_TRUE(settingsInFront()) << "the minimised settings window was not brought back";
    EXPECT_TRUE(settingsShown());
}

TEST_F(SingleInstance, ALaterStartShowsTheSettingsWindowAboveTheTutorialAndOnTheWorkspaceInView) {
    // The tutorial opens by itself at this start: it floats above other windows and is larger.
    auto values = nlohmann::json::parse(readFile(session_->defaultsFile()));
    values["values"]["hasCompletedOnboarding"]["value"] = false;
    writeFile(session_->defaultsFile(), values.dump());
    const pid_t program = start("program.log");
    auto& screen = session_->screen();
    ASSERT_TRUE(waitUntil([&] {
        const auto tutorial = screen.clientTitled("Zentaris Onboarding");
        return tutorial && screen.viewable(*tutorial) && screen.activeWindow() == tutorial;
    }, 30)) << "the tutorial never opened: " << output("program.log");

    ASSERT_EQ(exitStatus(start("open.log"), 30), 0) << output("open.log");
    EXPECT_TRUE(settingsInView()) << "with the tutorial open";
    const auto tutorial = screen.clientTitled("Zentaris Onboarding");
    ASSERT_TRUE(tutorial);
    EXPECT_TRUE(screen.viewable(*tutorial)) << "the tutorial was hidden";
    // Turned to again, it floats as before.
    EXPECT_FALSE(screen.inState(*tutorial, "_NET_WM_STATE_ABOVE"));
    session_->focus(*tutorial);
    EXPECT_TRUE(waitUntil([&] { return screen.inState(*tutorial, "_NET_WM_STATE_ABOVE"); }, 15))
        << "the tutorial no longer floats";

    // The settings window left on a second workspace while the user works on the first.
    const auto settings = screen.clientTitled("Settings");
    ASSERT_TRUE(settings);
    const std::string id = std::to_string(*settings);
    session_->display().run({"wmctrl", "-n", "2"});
    session_->display().run({"wmctrl", "-i", "-r", id, "-t", "1"});
    session_->display().run({"wmctrl", "-s", "0"});
    ASSERT_TRUE(waitUntil([&] { return screen.workspaceOf(*settings) == 1u && !screen.viewable(*settings); }, 15))
        << "the settings window never went to the second workspace";
    ASSERT_EQ(screen.currentWorkspace(), 0u);

    ASSERT_EQ(exitStatus(start("again.log"), 30), 0) << output("again.log");
    EXPECT_TRUE(settingsInView()) << "from another workspace";
    EXPECT_EQ(screen.currentWorkspace(), 0u) << "the user was taken to another workspace";

    // Put on every workspace, it stays on every one when brought forward over a window of the second.
    constexpr std::uint32_t everyWorkspace = 0xFFFFFFFF;
    session_->display().run({"xdotool", "set_desktop_for_window", id, "-1"});
    session_->display().run({"wmctrl", "-s", "1"});
    const auto second = session_->openTerminal("Terminal 2", 300, 300);
    session_->focus(second);
    ASSERT_TRUE(waitUntil([&] {
        return screen.workspaceOf(*settings) == everyWorkspace && screen.currentWorkspace() == 1u &&
               screen.activeWindow() == second;
    }, 15)) << "the settings window never went onto every workspace behind a terminal of the second";
    ASSERT_EQ(exitStatus(start("every.log"), 30), 0) << output("every.log");
    EXPECT_TRUE(settingsInFront()) << "on every workspace";
    EXPECT_EQ(screen.workspaceOf(*settings), everyWorkspace) << "taken off the other workspaces";
    EXPECT_EQ(screen.currentWorkspace(), 1u);
    EXPECT_FALSE(exitStatus(program, 0)) << output("program.log");
}

TEST_F(SingleInstance, AfterTheProgramIsKilledTheNextStartRuns) {
    ASSERT_TRUE(session_->startProgram(terminal_, screenArea)) << "the program's shortcuts never answered";
    const pid_t killed = session_->programPid();
    ASSERT_EQ(::kill(killed, SIGKILL), 0);
    ASSERT_TRUE(exitStatus(killed, 10));

    const pid_t next = start("next.log");
    EXPECT_TRUE(answersShortcuts(terminal_)) << "the next start never answered: " << output("next.log");
    EXPECT_FALSE(exitStatus(next, 0)) << output("next.log");
    EXPECT_EQ(output("next.log").find("already running"), std::string::npos) << output("next.log");
}

TEST_F(SingleInstance, WithoutATrayItSaysHowToReachItAndDocksWhenATrayStarts) {
    const pid_t program = start("program.log");
    ASSERT_TRUE(answersShortcuts(terminal_)) << "the shortcuts never answered: " << output("program.log");
    EXPECT_EQ(occurrences(output("program.log"), "no system tray"), 1u) << output("program.log");
    EXPECT_NE(output("program.log").find("start Zentaris again"), std::string::npos) << output("program.log");
    EXPECT_EQ(dockedIcons(), 0);
    session_->press({"super+alt+Left"});
    EXPECT_TRUE(session_->waitForSlot(terminal_, fractionOf(screenArea, 0, 0, 0.25, 1), screenArea));

    startTray();
    EXPECT_TRUE(waitUntil([&] { return dockedIcons() == 1; }, 20)) << "the icon never reached the tray";
    EXPECT_FALSE(exitStatus(program, 0));
}

} // namespace
} // namespace zentaris::testing
