// What the backend keeps between reads is dropped when the desktop changes under it. On a bare
// server the test itself plays the window manager: it lists the clients and never rewrites the
// root's work area, so no change of the root hides one the backend missed.
#include "StandInWindowManager.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

using platform::AXUIElement;
using platform::Point;
using platform::Rect;
using zentaris::testing::clientPid;
using zentaris::testing::letEventsArrive;
using zentaris::testing::StandInWindowManager;
using zentaris::testing::X11Session;

namespace {

// The named monitor set up again with the primary flag, which the others lose; then the server
// tells of a change of its output, as it does when a monitor is plugged in (RandR events).
void makePrimary(X11Session& session, const std::string& name, const std::string& geometry, const std::string& output) {
    ASSERT_EQ(session.display().run({"xrandr", "--delmonitor", name}), 0);
    ASSERT_EQ(session.display().run({"xrandr", "--setmonitor", "*" + name, geometry, output}), 0);
    ASSERT_EQ(session.display().run({"xrandr", "--output", "screen", "--primary"}), 0);
    ASSERT_EQ(session.display().run({"xrandr", "--output", "screen", "--noprimary"}), 0);
}

std::vector<xcb_window_t> windowsOf(X11Session& session, pid_t pid) {
    auto& ax = session.accessibility();
    std::vector<xcb_window_t> ids;
    auto windows = ax.copyAttributeValue(ax.createApplication(pid), "AXWindows").as<std::vector<AXUIElement>>();
    for (const auto& window : windows.value_or(std::vector<AXUIElement>{})) {
        EXPECT_EQ(window.pid, pid);
        ids.push_back(static_cast<xcb_window_t>(window.id));
    }
    return ids;
}

std::optional<AXUIElement> onlyWindowOf(X11Session& session, pid_t pid) {
    std::optional<AXUIElement> window;
    session.waitUntil([&] {
        auto& ax = session.accessibility();
        auto windows = ax.copyAttributeValue(ax.createApplication(pid), "AXWindows").as<std::vector<AXUIElement>>();
        if (windows && windows->size() == 1) window = windows->front();
        return window.has_value();
    });
    return window;
}

} // namespace

TEST(X11DesktopChanges, ADockThatChangesItsStrutChangesTheUsableArea) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb");
    X11Session session({.windowManager = {}});
    StandInWindowManager wm(session);
    // The root's work area says the whole screen, and keeps saying it.
    wm.setOnRoot("_NET_WORKAREA", XCB_ATOM_CARDINAL, {0, 0, 1920, 1080});
    auto& screens = session.desktop().screens();
    ASSERT_EQ(screens.screens().front().visibleFrame, Rect(0, 0, 1920, 1080));

    // A dock mapped after the start: 30 pixels along the bottom, then 60.
    const auto dock = wm.manage(Rect(0, 1050, 1920, 30), {0, 0, 0, 30, 0, 0, 0, 0, 0, 0, 0, 1919});
    EXPECT_TRUE(session.waitUntil([&] { return screens.screens().front().visibleFrame == Rect(0, 30, 1920, 1050); }))
        << "a new dock's strut";
    letEventsArrive(session);
    wm.set(dock, "_NET_WM_STRUT_PARTIAL", XCB_ATOM_CARDINAL, {0, 0, 0, 60, 0, 0, 0, 0, 0, 0, 0, 1919});
    EXPECT_TRUE(session.waitUntil([&] { return screens.screens().front().visibleFrame == Rect(0, 60, 1920, 1020); }))
        << "the strut it changed";
}

TEST(X11DesktopChanges, TheDesktopsOwnWorkAreaOfTheOneMonitorKeepsOutAPanelWithoutAStrut) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb");
    X11Session session({.windowManager = {}});
    StandInWindowManager wm(session);
    wm.setOnRoot("_NET_CURRENT_DESKTOP", XCB_ATOM_CARDINAL, {0});
    wm.setOnRoot("_NET_WORKAREA", XCB_ATOM_CARDINAL, {0, 0, 1920, 1080});
    // A panel of 30 pixels along the bottom that reserves no strut, then one of 24 along the top.
    wm.setOnRoot("_GTK_WORKAREAS_D0", XCB_ATOM_CARDINAL, {0, 0, 1920, 1050});
    auto& screens = session.desktop().screens();
    EXPECT_TRUE(session.waitUntil([&] { return screens.screens().front().visibleFrame == Rect(0, 30, 1920, 1050); }))
        << screens.screens().front().visibleFrame.minY();
    wm.setOnRoot("_GTK_WORKAREAS_D0", XCB_ATOM_CARDINAL, {0, 24, 1920, 1056});
    EXPECT_TRUE(session.waitUntil([&] { return screens.screens().front().visibleFrame == Rect(0, 0, 1920, 1056); }));
}

TEST(X11DesktopChanges, AWorkspaceSwitchThatLeavesTheWorkAreasAsTheyWereIsNoScreenChange) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb");
    X11Session session({.windowManager = {}});
    StandInWindowManager wm(session);
    wm.setOnRoot("_NET_NUMBER_OF_DESKTOPS", XCB_ATOM_CARDINAL, {2});
    wm.setOnRoot("_NET_CURRENT_DESKTOP", XCB_ATOM_CARDINAL, {0});
    wm.setOnRoot("_NET_WORKAREA", XCB_ATOM_CARDINAL, {0, 0, 1920, 1050, 0, 0, 1920, 1050});
    auto& screens = session.desktop().screens();
    ASSERT_TRUE(session.waitUntil([&] { return screens.screens().front().visibleFrame == Rect(0, 30, 1920, 1050); }));
    int notifications = 0;
    auto token = screens.observeScreenParameters([&] { ++notifications; });
    // The window manager writes both again at each switch, whether they changed or not.
    auto switchTo = [&](std::uint32_t desktop, std::uint32_t panel) {
        wm.setOnRoot("_NET_CURRENT_DESKTOP", XCB_ATOM_CARDINAL, {desktop});
        wm.setOnRoot("_NET_WORKAREA", XCB_ATOM_CARDINAL, {0, 0, 1920, 1080 - panel, 0, 0, 1920, 1080 - panel});
        letEventsArrive(session);
        EXPECT_TRUE(session.waitUntil([&] { return screens.screens().front().visibleFrame.minY() == panel; }));
        session.queue().advance(1);
    };
    switchTo(1, 30);
    EXPECT_EQ(notifications, 0);
    switchTo(0, 40);
    EXPECT_EQ(notifications, 1) << "a taller panel";
    switchTo(1, 40);
    EXPECT_EQ(notifications, 1);
}

TEST(X11DesktopChanges, TheNextMoveFollowsTheWindowManagersNewListOfHints) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb");
    X11Session session({.windowManager = {}});
    StandInWindowManager wm(session);
    const xcb_atom_t moveResize = wm.atom("_NET_MOVERESIZE_WINDOW");
    wm.setOnRoot("_NET_SUPPORTED", XCB_ATOM_ATOM, {moveResize});
    wm.manage(Rect(50, 50, 400, 300));
    wm.redirect();
    auto window = onlyWindowOf(session, clientPid);
    ASSERT_TRUE(window);

    session.setFrame(*window, Rect(100, 100, 300, 200));
    auto requests = wm.received(session);
    EXPECT_EQ(requests.messages, std::vector<xcb_atom_t>{moveResize});
    EXPECT_TRUE(requests.configures.empty());

    // Another window manager took over, and it does not know the message.
    wm.setOnRoot("_NET_SUPPORTED", XCB_ATOM_ATOM, {wm.atom("_NET_ACTIVE_WINDOW")});
    letEventsArrive(session);
    session.setFrame(*window, Rect(200, 150, 300, 200));
    requests = wm.received(session);
    EXPECT_TRUE(requests.messages.empty());
    EXPECT_EQ(requests.configures, std::vector<Rect>{Rect(200, 150, 300, 200)});

    // And back.
    wm.setOnRoot("_NET_SUPPORTED", XCB_ATOM_ATOM, {moveResize});
    letEventsArrive(session);
    session.setFrame(*window, Rect(250, 150, 300, 200));
    requests = wm.received(session);
    EXPECT_EQ(requests.messages, std::vector<xcb_atom_t>{moveResize});
    EXPECT_TRUE(requests.configures.empty());
}

TEST(X11DesktopChanges, FramesAndThePointerReadRightAfterAMonitorChangeUseTheNewMonitors) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "xrandr", "xdotool");
    X11Session session({.windowManager = {}});
    StandInWindowManager wm(session);
    ASSERT_EQ(session.display().run({"xrandr", "--setmonitor", "*left", "960/254x1080/286+0+0", "screen"}), 0);
    ASSERT_EQ(session.display().run({"xrandr", "--setmonitor", "right", "960/254x1080/286+960+0", "none"}), 0);
    wm.manage(Rect(300, 200, 400, 300));
    auto window = onlyWindowOf(session, clientPid);
    ASSERT_TRUE(window);
    ASSERT_EQ(session.display().run({"xdotool", "mousemove", "1000", "500"}), 0);
    auto& screens = session.desktop().screens();
    ASSERT_EQ(screens.screens().size(), 2u);
    ASSERT_EQ(screens.screens().front().frame, Rect(0, 0, 960, 1080));
    EXPECT_EQ(session.frameOf(*window), Rect(300, 200, 400, 300));
    EXPECT_EQ(screens.mouseLocation(), (Point{1000, 580}));

    // The right monitor becomes the primary one, and the monitors are not listed again before
    // the next reads: both count from its top left corner now.
    makePrimary(session, "right", "960/254x1080/286+960+0", "none");
    letEventsArrive(session);
    EXPECT_EQ(session.frameOf(*window), Rect(-660, 200, 400, 300));
    EXPECT_EQ(screens.mouseLocation(), (Point{40, 580}));

    // The pointer first, then a frame.
    makePrimary(session, "left", "960/254x1080/286+0+0", "screen");
    letEventsArrive(session);
    EXPECT_EQ(screens.mouseLocation(), (Point{1000, 580}));
    EXPECT_EQ(session.frameOf(*window), Rect(300, 200, 400, 300));
}

TEST(X11DesktopChanges, EachApplicationListsItsOwnWindowsTopmostFirstAsTheStackChanges) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb");
    X11Session session({.windowManager = {}});
    StandInWindowManager wm(session);
    constexpr pid_t other = 4343;
    const auto lower = wm.manage(Rect(0, 0, 300, 200));
    const auto elsewhere = wm.manage(Rect(100, 100, 300, 200), {}, other);
    const auto upper = wm.manage(Rect(200, 200, 300, 200));
    const auto dock = wm.manage(Rect(0, 1050, 1920, 30), {0, 0, 0, 30, 0, 0, 0, 0, 0, 0, 0, 1919});
    ASSERT_TRUE(session.waitUntil([&] { return windowsOf(session, other).size() == 1; }));
    EXPECT_EQ(windowsOf(session, clientPid), (std::vector<xcb_window_t>{upper, lower})) << "a dock is no window to arrange";
    EXPECT_EQ(windowsOf(session, other), std::vector<xcb_window_t>{elsewhere});
    EXPECT_TRUE(windowsOf(session, 5000).empty());

    wm.stackBottomToTop({upper, dock, elsewhere, lower});
    EXPECT_TRUE(session.waitUntil([&] { return windowsOf(session, clientPid) == std::vector<xcb_window_t>{lower, upper}; }));
    EXPECT_EQ(windowsOf(session, other), std::vector<xcb_window_t>{elsewhere});
}

TEST(X11DesktopChanges, FramesKeptFromOneCommandToTheNextFollowEveryMoveOfTheWindowOrItsFrame) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb");
    X11Session session({.windowManager = {}});
    StandInWindowManager wm(session);
    const auto client = wm.manage(Rect(0, 0, 400, 300));
    const auto frame = wm.frame(client, Rect(100, 100, 410, 330), 5, 25);
    auto window = onlyWindowOf(session, clientPid);
    ASSERT_TRUE(window);
    auto frameAfterEvents = [&] {
        letEventsArrive(session);
        return session.frameOf(*window);
    };
    ASSERT_EQ(frameAfterEvents(), Rect(100, 100, 410, 330));

    wm.configure(frame, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, {700, 50});
    EXPECT_EQ(frameAfterEvents(), Rect(700, 50, 410, 330)) << "the frame moved, the client with it";
    // A border the manager keeps invisible, five pixels on three sides: the client plus the rest.
    wm.set(client, "_NET_FRAME_EXTENTS", XCB_ATOM_CARDINAL, {0, 0, 25, 0});
    EXPECT_EQ(frameAfterEvents(), Rect(705, 50, 400, 325)) << "new decorations";
    wm.configure(client, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, {300, 200});
    EXPECT_EQ(frameAfterEvents(), Rect(705, 50, 300, 225)) << "the client resized inside its frame";
    // Sides the frame does not bear out (a higher title bar): what the frame window shows counts.
    wm.set(client, "_NET_FRAME_EXTENTS", XCB_ATOM_CARDINAL, {5, 5, 40, 5});
    EXPECT_EQ(frameAfterEvents(), Rect(700, 50, 410, 330)) << "declared sides the frame does not bear out";

    // A new frame elsewhere: the old one no longer holds the client, the new one is followed.
    const auto newFrame = wm.frame(client, Rect(200, 300, 410, 330), 5, 25);
    EXPECT_EQ(frameAfterEvents(), Rect(200, 300, 410, 330)) << "a new frame";
    wm.configure(newFrame, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, {900, 400});
    EXPECT_EQ(frameAfterEvents(), Rect(900, 400, 410, 330)) << "the new frame moved";
    wm.configure(frame, XCB_CONFIG_WINDOW_X, {0});
    EXPECT_EQ(frameAfterEvents(), Rect(900, 400, 410, 330)) << "the old frame moved";

    // The next command starts before the loop has read the news: it reads it first.
    wm.configure(newFrame, XCB_CONFIG_WINDOW_X, {800});
    session.queue().runPending();
    EXPECT_EQ(session.frameOf(*window), Rect(800, 400, 410, 330)) << "a move not read yet when the command starts";
}

TEST(X11DesktopChanges, WindowsKeptFromOneCommandToTheNextFollowTheirPropertiesAndCostNothingMore) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb");
    X11Session session({.windowManager = {}});
    StandInWindowManager wm(session);
    std::vector<xcb_window_t> windows;
    for (int i = 0; i < 40; ++i) windows.push_back(wm.manage(Rect(10 * i, 10 * i, 300, 200)));
    ASSERT_TRUE(session.waitUntil([&] { return windowsOf(session, clientPid).size() == 40; }));
    auto& ax = session.accessibility();
    auto minimised = [&](xcb_window_t window) {
        return ax.copyAttributeValue(AXUIElement{AXUIElement::Kind::window, clientPid, window}, "AXMinimized").as<bool>();
    };
    auto listAllFrames = [&] {
        for (auto window : windowsOf(session, clientPid)) session.frameOf(AXUIElement{AXUIElement::Kind::window, clientPid, window});
    };
    listAllFrames();
    letEventsArrive(session);
    const auto before = StandInWindowManager::requestNumber(session);
    listAllFrames();
    EXPECT_LT(StandInWindowManager::requestNumber(session) - before, 20u) << "40 windows read again, though nothing changed";

    // Each property that decides what is listed, changed by another client.
    wm.set(windows[0], "_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM, {wm.atom("_NET_WM_WINDOW_TYPE_DOCK")});
    wm.set(windows[1], "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL, {1});
    wm.setOnRoot("_NET_CURRENT_DESKTOP", XCB_ATOM_CARDINAL, {0});
    wm.set(windows[2], "_NET_WM_STATE", XCB_ATOM_ATOM, {wm.atom("_NET_WM_STATE_HIDDEN")});
    wm.set(windows[3], "WM_STATE", wm.atom("WM_STATE"), {3, XCB_WINDOW_NONE});
    wm.set(windows[4], "_NET_WM_PID", XCB_ATOM_CARDINAL, {4343});
    // Sticky by its state, whatever workspace its number names: on every one.
    wm.set(windows[6], "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL, {1});
    wm.set(windows[6], "_NET_WM_STATE", XCB_ATOM_ATOM, {wm.atom("_NET_WM_STATE_STICKY")});
    letEventsArrive(session);
    const auto listed = windowsOf(session, clientPid);
    for (int i : {0, 1, 4}) EXPECT_EQ(std::count(listed.begin(), listed.end(), windows[i]), 0) << "window " << i;
    EXPECT_EQ(std::count(listed.begin(), listed.end(), windows[6]), 1) << "sticky";
    EXPECT_EQ(listed.size(), 37u);
    EXPECT_EQ(windowsOf(session, 4343), std::vector<xcb_window_t>{windows[4]});
    EXPECT_EQ(minimised(windows[2]), true);
    EXPECT_EQ(minimised(windows[3]), true);
    EXPECT_EQ(minimised(windows[5]), false);
}
