// What the backend keeps between reads is dropped when the desktop changes under it. On a bare
// server the test itself plays the window manager: it lists the clients and never rewrites the
// root's work area, so no change of the root hides one the backend missed.
#include "X11BackendFixture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

using platform::AXUIElement;
using platform::Point;
using platform::Rect;
using zentaris::testing::X11Session;

namespace {

constexpr std::uint32_t normalState = 1;
constexpr pid_t clientPid = 4242;

class StandInWindowManager {
public:
    explicit StandInWindowManager(X11Session& session) : c_(xcb_connect(session.display().name().c_str(), nullptr)) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
    }
    ~StandInWindowManager() { xcb_disconnect(c_); }

    xcb_atom_t atom(const char* name) {
        auto* reply = xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t value = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return value;
    }
    void set(xcb_window_t window, const char* name, xcb_atom_t type, const std::vector<std::uint32_t>& values) {
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, window, atom(name), type, 32, static_cast<std::uint32_t>(values.size()),
                            values.data());
        xcb_flush(c_);
    }
    void setOnRoot(const char* name, xcb_atom_t type, const std::vector<std::uint32_t>& values) { set(root_, name, type, values); }

    // A mapped window of another application, managed as far as the backend can tell; a dock
    // when it reserves a strut (_NET_WM_STRUT_PARTIAL).
    xcb_window_t manage(const Rect& frame, const std::vector<std::uint32_t>& strut = {}, pid_t pid = clientPid) {
        const xcb_window_t window = xcb_generate_id(c_);
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, window, root_, static_cast<std::int16_t>(frame.minX()),
                          static_cast<std::int16_t>(frame.minY()), static_cast<std::uint16_t>(frame.width()),
                          static_cast<std::uint16_t>(frame.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0,
                          nullptr);
        set(window, "_NET_WM_PID", XCB_ATOM_CARDINAL, {static_cast<std::uint32_t>(pid)});
        if (!strut.empty()) {
            set(window, "_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM, {atom("_NET_WM_WINDOW_TYPE_DOCK")});
            set(window, "_NET_WM_STRUT_PARTIAL", XCB_ATOM_CARDINAL, strut);
        }
        set(window, "WM_STATE", atom("WM_STATE"), {normalState, XCB_WINDOW_NONE});
        xcb_map_window(c_, window);
        managed_.push_back(window);
        setOnRoot("_NET_CLIENT_LIST", XCB_ATOM_WINDOW, managed_);
        setOnRoot("_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW, managed_);
        return window;
    }
    void stackBottomToTop(const std::vector<std::uint32_t>& windows) { setOnRoot("_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW, windows); }

    // Puts the client into a new frame window at `frame`, the client at (left, top) inside it, and
    // says so in _NET_FRAME_EXTENTS; the frame window.
    xcb_window_t frame(xcb_window_t client, const Rect& frame, std::uint32_t left, std::uint32_t top) {
        const xcb_window_t window = xcb_generate_id(c_);
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, window, root_, static_cast<std::int16_t>(frame.minX()),
                          static_cast<std::int16_t>(frame.minY()), static_cast<std::uint16_t>(frame.width()),
                          static_cast<std::uint16_t>(frame.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0,
                          nullptr);
        xcb_reparent_window(c_, client, window, static_cast<std::int16_t>(left), static_cast<std::int16_t>(top));
        const std::uint32_t size[] = {static_cast<std::uint32_t>(frame.width()) - 2 * left,
                                      static_cast<std::uint32_t>(frame.height()) - top - left};
        xcb_configure_window(c_, client, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
        xcb_map_window(c_, window);
        set(client, "_NET_FRAME_EXTENTS", XCB_ATOM_CARDINAL, {left, left, top, left});
        return window;
    }
    void configure(xcb_window_t window, std::uint16_t mask, const std::vector<std::uint32_t>& values) {
        xcb_configure_window(c_, window, mask, values.data());
        // Done by the server when this returns.
        std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
    }
    // A no-op request on the backend's connection: its number tells how many went before it.
    static unsigned int requestNumber(X11Session& session) {
        return xcb_no_operation(session.desktop().connection().xcb()).sequence;
    }

    // From now on requests to configure other clients' windows come here instead of being carried out.
    void redirect() {
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT;
        xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(c_);
    }
    // What reached the stand-in since the last call: the type of each client message and, for a
    // configure request, its frame.
    struct Requests {
        std::vector<xcb_atom_t> messages;
        std::vector<Rect> configures;
    };
    Requests received(X11Session& session) {
        Requests requests;
        session.waitUntil([&] {
            while (auto* event = xcb_poll_for_event(c_)) {
                const auto type = event->response_type & ~0x80;
                if (type == XCB_CLIENT_MESSAGE) {
                    requests.messages.push_back(reinterpret_cast<xcb_client_message_event_t*>(event)->type);
                } else if (type == XCB_CONFIGURE_REQUEST) {
                    const auto* r = reinterpret_cast<xcb_configure_request_event_t*>(event);
                    requests.configures.emplace_back(r->x, r->y, r->width, r->height);
                }
                std::free(event);
            }
            return !requests.messages.empty() || !requests.configures.empty();
        }, 2);
        return requests;
    }

private:
    xcb_connection_t* c_;
    xcb_window_t root_;
    std::vector<std::uint32_t> managed_;
};

// A turn of the loop with nothing asked: the events that arrived are seen.
void letEventsArrive(X11Session& session) { session.waitUntil([] { return false; }, 0.2); }

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
    wm.configure(client, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, {300, 200});
    EXPECT_EQ(frameAfterEvents(), Rect(700, 50, 310, 230)) << "the client resized inside its frame";
    wm.set(client, "_NET_FRAME_EXTENTS", XCB_ATOM_CARDINAL, {5, 5, 40, 5});
    EXPECT_EQ(frameAfterEvents(), Rect(700, 35, 310, 245)) << "new decorations";

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
    letEventsArrive(session);
    const auto listed = windowsOf(session, clientPid);
    for (int i : {0, 1, 4}) EXPECT_EQ(std::count(listed.begin(), listed.end(), windows[i]), 0) << "window " << i;
    EXPECT_EQ(listed.size(), 37u);
    EXPECT_EQ(windowsOf(session, 4343), std::vector<xcb_window_t>{windows[4]});
    EXPECT_EQ(minimised(windows[2]), true);
    EXPECT_EQ(minimised(windows[3]), true);
    EXPECT_EQ(minimised(windows[5]), false);
}
