// The layout engine driving real windows: every slot of every layout, under two window managers.
#include "X11LayoutEngine.h"

#include "layout/WindowScreenLookup.h"
#include "support/TemporaryDirectory.h"

#include <chrono>
#include <cmath>
#include <csignal>
#include <optional>
#include <thread>

using platform::AXUIElement;
using platform::Rect;
using zentaris::LayoutType;
using zentaris::testing::X11Session;
using Engine = zentaris::testing::X11LayoutEngine;

namespace {

// The accessibility frame a slot should give: the slot less the 2-point default gap, flipped at
// the primary screen's top edge and rounded to whole pixels.
Rect expectedFrame(const Rect& slot, double primaryTop) {
    const Rect gapped(slot.minX() + 1, slot.minY() + 1, slot.width() - 2, slot.height() - 2);
    const double x0 = std::round(gapped.minX()), x1 = std::round(gapped.maxX());
    const double y0 = std::round(primaryTop - gapped.maxY()), y1 = std::round(primaryTop - gapped.minY());
    return {x0, y0, x1 - x0, y1 - y0};
}

struct Client {
    const char* name;
    std::vector<std::string> argv;
    bool exact; // false: size hints forbid some sizes
};

// Moves the window into every slot of every layout on the screen's usable area and checks
// where it lands.
void driveEverySlot(X11Session& session, Engine& engine, const AXUIElement& window, const Client& client) {
    const auto screen = session.desktop().screens().screens().front();
    const double top = screen.frame.maxY();
    const Rect usable = screen.visibleFrame;
    const Rect usableAx(usable.minX(), top - usable.maxY(), usable.width(), usable.height());
    for (auto layout : zentaris::allLayoutTypes) {
        const auto slots = engine.service.layoutService().framesForLayout(layout);
        for (std::size_t i = 0; i < slots.size(); ++i) {
            SCOPED_TRACE(std::string(client.name) + ", layout " + std::to_string(zentaris::rawValue(layout)) + ", slot " +
                         std::to_string(i));
            ASSERT_TRUE(engine.service.moveService().moveWindow(window, false, false, slots[i]));
            const Rect expected = expectedFrame(slots[i], top);
            if (client.exact) {
                EXPECT_EQ(session.waitForFrame(window, expected), expected);
                continue;
            }
            auto applied = session.waitForFrame(window, *session.frameOf(window));
            ASSERT_TRUE(applied);
            // Never off the usable area; on the slot's edges that lie on the area's edges.
            EXPECT_GE(applied->minX(), usableAx.minX());
            EXPECT_LE(applied->maxX(), usableAx.maxX());
            EXPECT_GE(applied->minY(), usableAx.minY());
            EXPECT_LE(applied->maxY(), usableAx.maxY());
            if (expected.minX() - usableAx.minX() <= 1) {
                EXPECT_EQ(applied->minX(), expected.minX());
            } else if (usableAx.maxX() - expected.maxX() <= 1) {
                EXPECT_EQ(applied->maxX(), expected.maxX());
            }
            if (expected.minY() - usableAx.minY() <= 1) {
                EXPECT_EQ(applied->minY(), expected.minY());
            } else if (usableAx.maxY() - expected.maxY() <= 1) {
                EXPECT_EQ(applied->maxY(), expected.maxY());
            }
        }
    }
}

// The window of a new test client, once the window manager has focused it: it does so some time
// after framing it, and a person presses a shortcut on the window they see focused.
std::optional<AXUIElement> launchFocusedClient(X11Session& session) {
    const pid_t pid = session.launchClient({});
    auto window = session.waitForWindow(pid);
    if (!window) return std::nullopt;
    auto& ax = session.accessibility();
    const bool focused = session.waitUntil(
        [&] { return ax.copyAttributeValue(ax.createApplication(pid), "AXFocusedWindow").as<AXUIElement>() == window; });
    if (!focused) return std::nullopt;
    return window;
}

// Stops a process and lets it go on after a while; it goes on at the latest when this is dropped,
// so that a failing test never leaves it stopped.
class PausedProcess {
public:
    PausedProcess(pid_t pid, std::chrono::milliseconds pause) : pid_(pid) {
        ::kill(pid_, SIGSTOP);
        resumer_ = std::jthread([pid, pause] {
            std::this_thread::sleep_for(pause);
            ::kill(pid, SIGCONT);
        });
    }
    ~PausedProcess() {
        resumer_.join();
        ::kill(pid_, SIGCONT);
    }
    PausedProcess(const PausedProcess&) = delete;
    PausedProcess& operator=(const PausedProcess&) = delete;

private:
    pid_t pid_;
    std::jthread resumer_;
};

} // namespace

TEST(X11Layout, EverySlotOfEveryLayoutLandsWhereItShould) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox", "xterm");
    X11Session session;
    Engine engine(session);
    session.launchClient({"--strut-bottom", "40"});
    ASSERT_TRUE(session.waitUntil([&] { return session.desktop().screens().screens().front().visibleFrame.minY() == 40; }, 5));
    const Client clients[] = {
        {"decorated client", {ZENTARIS_TEST_CLIENT}, true},
        {"Qt window", {ZENTARIS_TEST_QT_CLIENT}, true},
        {"xterm", {"xterm"}, false},
        {"client with a minimum size", {ZENTARIS_TEST_CLIENT, "--min-size", "1000", "600"}, false},
    };
    for (const auto& client : clients) {
        const pid_t pid = session.launch(client.argv);
        auto window = session.waitForWindow(pid);
        ASSERT_TRUE(window) << client.name;
        driveEverySlot(session, engine, *window, client);
        session.terminate(pid);
    }
}

TEST(X11Layout, TheFocusedWindowMovesToTheOtherScreenAndAMaximisedOneIsPlaced) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox", "xrandr");
    X11Session session;
    ASSERT_EQ(session.display().run({"xrandr", "--setmonitor", "*left", "960/254x1080/286+0+0", "screen"}), 0);
    ASSERT_EQ(session.display().run({"xrandr", "--setmonitor", "right", "960/254x1080/286+960+0", "none"}), 0);
    Engine engine(session);
    const auto window = launchFocusedClient(session);
    ASSERT_TRUE(window);
    session.changeState(*window, true, "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ");
    // The state shows before the window manager has changed the decorations and the size.
    ASSERT_EQ(session.waitForFrame(*window, Rect(0, 0, 960, 1080)), Rect(0, 0, 960, 1080));
    ASSERT_TRUE(engine.service.layoutService().applyHalf(false, false));
    EXPECT_EQ(session.waitForFrame(*window, Rect(1, 1, 478, 1078)), Rect(1, 1, 478, 1078));

    engine.service.moveFocusedWindowToNextScreen();
    auto frame = session.waitForFrame(*window, Rect(961, 1, 478, 1078));
    EXPECT_EQ(frame, Rect(961, 1, 478, 1078));
}

TEST(X11Layout, OnMonitorsAboveOneAnotherTheFocusedWindowsScreenIsTheOneItLiesOn) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox", "xrandr");
    X11Session session;
    // The primary monitor below the other: the upper one lies at negative accessibility y.
    ASSERT_EQ(session.display().run({"xrandr", "--setmonitor", "upper", "1920/508x540/143+0+0", "screen"}), 0);
    ASSERT_EQ(session.display().run({"xrandr", "--setmonitor", "*lower", "1920/508x540/143+0+540", "none"}), 0);
    auto& screens = session.desktop().screens();
    ASSERT_TRUE(session.waitUntil([&] { return screens.screens().size() == 2; }, 5));
    Engine engine(session);
    const auto window = launchFocusedClient(session);
    ASSERT_TRUE(window);
    // A window on each monitor, its screen (in screen coordinates, y upwards) and its left half.
    struct Case {
        Rect frame, screen, leftHalf;
    };
    const Case cases[] = {{Rect(100, -440, 400, 200), Rect(0, 540, 1920, 540), Rect(1, -539, 958, 538)},
                          {Rect(1400, 160, 400, 200), Rect(0, 0, 1920, 540), Rect(1, 1, 958, 538)}};
    for (const auto& c : cases) {
        session.setFrame(*window, c.frame);
        ASSERT_EQ(session.waitForFrame(*window, c.frame), c.frame);
        const auto focused = engine.service.screenDetection().screenOfFocusedWindow();
        EXPECT_EQ(focused ? focused->frame : Rect(), c.screen);
        EXPECT_EQ(zentaris::screenOfWindow(engine.desktop, *window)->frame, c.screen);
        EXPECT_EQ(screens.mainScreen()->frame, c.screen);
        ASSERT_TRUE(engine.service.layoutService().applyHalf(false, false));
        EXPECT_EQ(session.waitForFrame(*window, c.leftHalf), c.leftHalf);
    }
}

TEST(X11Layout, AMaximisedWindowReachesTheHalfWhenTheWindowManagerIsSlow) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox");
    X11Session session;
    Engine engine(session);
    const auto window = launchFocusedClient(session);
    ASSERT_TRUE(window);
    const pid_t windowManager = session.display().processes().at(1);
    // Every pause is longer than the mover waits for the window manager to leave the maximised
    // state; how the late window manager's work interleaves with the move varies from run to run.
    for (const int pause : {450, 510, 570, 630, 690, 750}) {
        SCOPED_TRACE("window manager paused for " + std::to_string(pause) + " ms");
        const Rect before(600, 300, 400, 300);
        session.setFrame(*window, before);
        ASSERT_EQ(session.waitForFrame(*window, before), before);
        session.changeState(*window, true, "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ");
        ASSERT_EQ(session.waitForFrame(*window, Rect(0, 0, 1920, 1080)), Rect(0, 0, 1920, 1080));
        {
            const PausedProcess paused(windowManager, std::chrono::milliseconds(pause));
            EXPECT_TRUE(engine.service.layoutService().applyHalf(false, false));
        }
        EXPECT_EQ(session.waitForFrame(*window, Rect(1, 1, 958, 1078)), Rect(1, 1, 958, 1078));
    }
}

TEST(X11Layout, NothingDependsOnOpenbox) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "fluxbox");
    zentaris::testing::TemporaryDirectory home;
    X11Session session({.windowManager = {"env", "HOME=" + home.path().string(), "fluxbox"}});
    Engine engine(session);
    const pid_t pid = session.launchClient({});
    auto window = session.waitForWindow(pid);
    ASSERT_TRUE(window);
    const auto screen = session.desktop().screens().screens().front();
    const double top = screen.frame.maxY();
    for (auto layout : {LayoutType::quartet, LayoutType::splitVertical, LayoutType::threeColumn}) {
        for (const auto& slot : engine.service.layoutService().framesForLayout(layout)) {
            ASSERT_TRUE(engine.service.moveService().moveWindow(*window, false, false, slot));
            EXPECT_EQ(session.waitForFrame(*window, expectedFrame(slot, top)), expectedFrame(slot, top));
        }
    }
    session.changeState(*window, true, "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ");
    const Rect target(100, 100, 700, 500);
    session.setFrame(*window, target);
    EXPECT_EQ(session.waitForFrame(*window, target), target);
}
