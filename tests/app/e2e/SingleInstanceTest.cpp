// One Zentaris per user and display, and a desktop without a tray: starting the program again
// brings the running one's settings forward instead of making a second one, a killed program
// leaves nothing that blocks the next start, and without a tray the program says how to reach it.

#include "ZentarisSession.h"

#include <xcb/xcb_icccm.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <functional>
#include <string_view>
#include <sys/wait.h>

namespace zentaris::testing {
namespace {

using Clock = std::chrono::steady_clock;

const PixelRect screenArea{0, 0, 1920, 1080};
const Slot whole = fractionOf(screenArea, 0, 0, 1, 1);

const char* const trayerCommand[] = {"trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                                     "--height", "24", "--transparent", "false"};

bool waitUntil(const std::function<bool()>& done, double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (Clock::now() > deadline) return false;
        pauseFor(0.05);
    }
    return true;
}

// The exit status once `pid` has ended, nothing while it still runs after `seconds`.
std::optional<int> exitStatus(pid_t pid, double seconds) {
    std::optional<int> status;
    waitUntil([&] {
        int raw = 0;
        if (::waitpid(pid, &raw, WNOHANG) != pid) return false;
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        return true;
    }, seconds);
    return status;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// What the desktop shows of our program, seen through a plain connection of the test's own.
class ProgramWindows {
public:
    explicit ProgramWindows(const std::string& display) : connection_(xcb_connect(display.c_str(), nullptr)) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    }
    ~ProgramWindows() { xcb_disconnect(connection_); }

    // Our icons docked in a tray: mapped windows of our class inside another window that the
    // window manager does not manage as a client of its own.
    int dockedIcons() {
        const auto clients = windowList("_NET_CLIENT_LIST", root_);
        int count = 0;
        visit(root_, [&](xcb_window_t window, xcb_window_t parent) {
            if (parent == root_ || std::find(clients.begin(), clients.end(), window) != clients.end()) return;
            if (isOurs(window) && viewable(window)) ++count;
        });
        return count;
    }

    // Whether `client` is mapped, active and stacked above every other client but the panels.
    bool inFront(xcb_window_t client) {
        const auto active = windowList("_NET_ACTIVE_WINDOW", root_);
        if (active.empty() || active.front() != client || !viewable(client)) return false;
        auto stacking = windowList("_NET_CLIENT_LIST_STACKING", root_);
        std::erase_if(stacking, [&](xcb_window_t window) { return isPanel(window); });
        return !stacking.empty() && stacking.back() == client;
    }

    std::optional<xcb_window_t> ourClientNamed(const std::string& title) {
        for (auto window : windowList("_NET_CLIENT_LIST", root_)) {
            if (isOurs(window) && name(window) == title) return window;
        }
        return std::nullopt;
    }

private:
    template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

    xcb_atom_t atom(const char* name) {
        Reply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(connection_, xcb_intern_atom(connection_, 0, std::strlen(name), name), nullptr), &std::free);
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    std::vector<std::uint32_t> windowList(const char* property, xcb_window_t window, xcb_atom_t type = XCB_ATOM_WINDOW) {
        Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(connection_, xcb_get_property(connection_, 0, window, atom(property), type, 0, 4096),
                                   nullptr),
            &std::free);
        if (!reply || reply->format != 32) return {};
        const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
        return {values, values + xcb_get_property_value_length(reply.get()) / 4};
    }

    void visit(xcb_window_t window, const std::function<void(xcb_window_t, xcb_window_t)>& each) {
        Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr),
                                           &std::free);
        if (!tree) return;
        const auto* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            each(children[i], window);
            visit(children[i], each);
        }
    }

    bool isPanel(xcb_window_t window) {
        const auto types = windowList("_NET_WM_WINDOW_TYPE", window, XCB_ATOM_ATOM);
        return std::find(types.begin(), types.end(), atom("_NET_WM_WINDOW_TYPE_DOCK")) != types.end();
    }

    bool isOurs(xcb_window_t window) {
        // WM_CLASS starts with the instance name and its NUL; compared as bytes, since a client
        // may leave the NULs out.
        constexpr std::string_view ours("zentaris\0", 9);
        Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(connection_,
                                   xcb_get_property(connection_, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 4), nullptr),
            &std::free);
        if (!reply || reply->format != 8) return false;
        const std::string_view value(static_cast<const char*>(xcb_get_property_value(reply.get())),
                                     static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
        return value.starts_with(ours);
    }

    bool viewable(xcb_window_t window) {
        Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window), nullptr), &std::free);
        return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    }

    std::string name(xcb_window_t window) {
        xcb_icccm_get_text_property_reply_t text;
        if (!xcb_icccm_get_wm_name_reply(connection_, xcb_icccm_get_wm_name(connection_, window), &text, nullptr)) return {};
        std::string result(text.name, text.name_len);
        xcb_icccm_get_text_property_reply_wipe(&text);
        return result;
    }

    xcb_connection_t* connection_;
    xcb_window_t root_;
};

class SingleInstance : public ::testing::Test {
protected:
    void SetUp() override {
        if (!endToEndToolsAvailable() || !programAvailable("trayer")) {
            GTEST_SKIP() << "Xvfb, openbox, xterm, xdotool, xrandr, trayer or the program is missing";
        }
        session_ = std::make_unique<ZentarisSession>();
        windows_ = std::make_unique<ProgramWindows>(session_->display().name());
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

    bool settingsInFront() {
        return waitUntil([&] {
            const auto settings = windows_->ourClientNamed("Settings");
            return settings && windows_->inFront(*settings);
        }, 15);
    }

    std::unique_ptr<ZentarisSession> session_;
    std::unique_ptr<ProgramWindows> windows_;
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
    EXPECT_TRUE(waitUntil([&] { return windows_->dockedIcons() == 1; }, 15))
        << windows_->dockedIcons() << " icons docked in the tray";

    // The user starts it again over a terminal: the running one's settings window comes forward.
    session_->focus(terminal_);
    ASSERT_EQ(session_->screen().activeWindow(), terminal_);
    const pid_t again = start("again.log");
    const auto status = exitStatus(again, 30);
    ASSERT_TRUE(status) << "the later start keeps running";
    EXPECT_EQ(*status, 0) << output("again.log");
    EXPECT_EQ(occurrences(output("again.log"), "already running"), 1u) << output("again.log");
    EXPECT_TRUE(settingsInFront()) << "the settings window is not mapped and in front";
    EXPECT_EQ(windows_->dockedIcons(), 1);
    EXPECT_FALSE(exitStatus(running, 0));
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
    EXPECT_EQ(windows_->dockedIcons(), 0);
    session_->press({"super+alt+Left"});
    EXPECT_TRUE(session_->waitForSlot(terminal_, fractionOf(screenArea, 0, 0, 0.25, 1), screenArea));

    startTray();
    EXPECT_TRUE(waitUntil([&] { return windows_->dockedIcons() == 1; }, 20)) << "the icon never reached the tray";
    EXPECT_FALSE(exitStatus(program, 0));
}

} // namespace
} // namespace zentaris::testing
