// What the pointer is on: the title bar the window manager draws above a client, and the window
// under a point, which is the topmost there as the server stacks the windows and never one the
// window manager minimised but kept on screen, nor one unmapped that it still lists.
#include "StandInWindowManager.h"

#include "platform/x11/StackingOrder.h"
#include "platform/x11/X11Properties.h"

using platform::AXError;
using platform::AXUIElement;
using platform::Point;
using platform::Rect;
using platform::Size;
using zentaris::testing::clientPid;
using zentaris::testing::letEventsArrive;
using zentaris::testing::StandInWindowManager;
using zentaris::testing::X11Session;

namespace {

std::vector<AXUIElement> childrenOf(X11Session& session, const AXUIElement& window) {
    return session.accessibility().copyAttributeValue(window, "AXChildren").as<std::vector<AXUIElement>>().value_or(
        std::vector<AXUIElement>{});
}

// The title bar's frame, or none when the window has no title bar child.
std::optional<Rect> titleBarOf(X11Session& session, const AXUIElement& window) {
    auto& ax = session.accessibility();
    const auto children = childrenOf(session, window);
    if (children.size() != 1) return std::nullopt;
    const auto& bar = children.front();
    EXPECT_EQ(ax.copyAttributeValue(bar, "AXRole").as<std::string>(), "AXToolbar");
    EXPECT_EQ(ax.copyAttributeValue(bar, "AXParent").as<AXUIElement>(), window);
    auto position = ax.copyAttributeValue(bar, "AXPosition").as<Point>();
    auto size = ax.copyAttributeValue(bar, "AXSize").as<Size>();
    if (!position || !size) return std::nullopt;
    return Rect(*position, *size);
}

// The top of _NET_FRAME_EXTENTS as the window manager wrote it.
std::optional<double> declaredTop(X11Session& session, const AXUIElement& window) {
    auto& connection = session.desktop().connection();
    platform::x11::PendingProperty extents(connection, static_cast<xcb_window_t>(window.id),
                                           connection.ewmh()->_NET_FRAME_EXTENTS, XCB_ATOM_CARDINAL, 4);
    auto values = extents.values32();
    if (!values || values->size() != 4) return std::nullopt;
    return (*values)[2];
}

AXUIElement windowOf(xcb_window_t window) { return {AXUIElement::Kind::window, clientPid, window}; }

std::optional<AXUIElement> windowAt(X11Session& session, Point point) {
    auto& ax = session.accessibility();
    AXUIElement hit;
    if (ax.copyElementAtPosition(ax.createSystemWide(), point.x, point.y, hit) != AXError::success) return std::nullopt;
    return hit;
}

} // namespace

TEST(X11WindowUnderPointer, ADecoratedWindowsTitleBarSpansTheTopOfItsFrameAsTallAsTheDecorationAboveTheClient) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox");
    X11Session session;
    auto& ax = session.accessibility();
    const pid_t decorated = session.launchClient({});
    const pid_t undecorated = session.launchClient({"--gtk-extents", "20", "20", "15", "25"});
    auto window = session.waitForWindow(decorated);
    auto plain = session.waitForWindow(undecorated);
    ASSERT_TRUE(window && plain);
    session.setFrame(*window, Rect(600, 300, 500, 400));
    ASSERT_EQ(session.waitForFrame(*window, Rect(600, 300, 500, 400)), Rect(600, 300, 500, 400));

    const auto top = declaredTop(session, *window);
    ASSERT_TRUE(top && *top > 0) << "openbox draws a title bar";
    EXPECT_EQ(titleBarOf(session, *window), Rect(600, 300, 500, *top));
    platform::ProcessId owner = 0;
    EXPECT_EQ(ax.getPid(childrenOf(session, *window).front(), owner), AXError::success);
    EXPECT_EQ(owner, decorated);

    // A client-side-decorated window: nothing drawn above it by the window manager.
    EXPECT_TRUE(ax.copyAttributeValue(*plain, "AXChildren").ok());
    EXPECT_TRUE(childrenOf(session, *plain).empty());

    // The title bar goes with its window.
    const auto bar = childrenOf(session, *window).front();
    session.terminate(decorated);
    ASSERT_TRUE(session.waitUntil([&] { return !ax.copyAttributeValue(*window, "AXPosition").ok(); }));
    EXPECT_FALSE(ax.copyAttributeValue(*window, "AXChildren").ok());
    EXPECT_FALSE(ax.copyAttributeValue(bar, "AXSize").ok());
}

TEST(X11WindowUnderPointer, TheTitleBarIsWhatTheWindowManagersFrameHoldsAboveTheClientWhateverTheClientClaims) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb");
    X11Session session({.windowManager = {}});
    StandInWindowManager wm(session);
    // A title bar taller than most: 40 pixels above the client, 4 on the other sides.
    const auto client = wm.manage(Rect(0, 0, 300, 200));
    wm.frame(client, Rect(200, 100, 408, 344), 4, 40);
    const auto bare = wm.manage(Rect(900, 100, 300, 200));
    letEventsArrive(session);
    EXPECT_EQ(titleBarOf(session, windowOf(client)), Rect(200, 100, 408, 40));
    EXPECT_TRUE(childrenOf(session, windowOf(bare)).empty()) << "a window nobody decorates";

    // The client overwrites the manager's word with a made-up top; the frame still holds 40.
    wm.set(client, "_NET_FRAME_EXTENTS", XCB_ATOM_CARDINAL, {4, 4, 5000, 4});
    letEventsArrive(session);
    EXPECT_EQ(titleBarOf(session, windowOf(client)), Rect(200, 100, 408, 40));

    // A window the manager does not decorate but keeps a border around: 1 pixel on every side.
    const auto bordered = wm.manage(Rect(0, 0, 300, 200));
    wm.frame(bordered, Rect(200, 600, 302, 202), 1, 1);
    letEventsArrive(session);
    EXPECT_TRUE(childrenOf(session, windowOf(bordered)).empty()) << "a border is no title bar";
}

TEST(X11WindowUnderPointer, TheWindowUnderAPointIsTheTopmostThereAsTheServerStacksThemWhateverTheManagersList) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb");
    // Some window managers put the client into an inner window of the frame, two windows below it.
    for (const bool nested : {false, true}) {
        SCOPED_TRACE(nested ? "client two windows below its frame" : "client in its frame");
        X11Session session({.windowManager = {}});
        StandInWindowManager wm(session);
        const auto older = wm.manage(Rect(0, 0, 600, 400));
        const auto newer = wm.manage(Rect(0, 0, 600, 400));
        const auto olderFrame = wm.frame(older, Rect(100, 100, 608, 424), 4, 20, nested);
        wm.frame(newer, Rect(300, 200, 608, 424), 4, 20, nested);
        letEventsArrive(session);
        const Point overBoth{400, 300};
        ASSERT_EQ(windowAt(session, overBoth), windowOf(newer));
        EXPECT_EQ(session.frameOf(windowOf(older)), Rect(100, 100, 608, 424));
        EXPECT_EQ(titleBarOf(session, windowOf(older)), Rect(100, 100, 608, 20));

        // The older frame raised; the manager's list keeps the order the windows were made in.
        wm.configure(olderFrame, XCB_CONFIG_WINDOW_STACK_MODE, {XCB_STACK_MODE_ABOVE});
        letEventsArrive(session);
        EXPECT_EQ(windowAt(session, overBoth), windowOf(older));

        // A window the manager did not frame is its own top-level: made last, it is above both,
        // though the list puts it at the bottom.
        const auto unframed = wm.manage(Rect(350, 250, 200, 200));
        wm.stackBottomToTop({unframed, newer, older});
        letEventsArrive(session);
        EXPECT_EQ(windowAt(session, overBoth), windowOf(unframed));
    }
}

TEST(X11WindowUnderPointer, ARaisedWindowIsAboveTheOtherWhereTheyOverlap) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb");
    X11Session session({.windowManager = {}});
    StandInWindowManager wm(session);
    const auto lower = wm.manage(Rect(0, 0, 600, 400));
    const auto upper = wm.manage(Rect(300, 200, 600, 400));
    letEventsArrive(session);
    const Point overBoth{350, 250};
    auto& ax = session.accessibility();
    // Without a window manager to ask, the server raises it.
    ASSERT_EQ(ax.performAction(windowOf(lower), "AXRaise"), AXError::success);
    EXPECT_TRUE(session.waitUntil([&] { return windowAt(session, overBoth) == windowOf(lower); }));

    // A window manager that restacks as asked, and gives the focus without raising.
    wm.setOnRoot("_NET_SUPPORTED", XCB_ATOM_ATOM, {wm.atom("_NET_ACTIVE_WINDOW"), wm.atom("_NET_RESTACK_WINDOW")});
    wm.redirect();
    letEventsArrive(session);
    ASSERT_EQ(ax.performAction(windowOf(upper), "AXRaise"), AXError::success);
    EXPECT_TRUE(session.waitUntil([&] {
        for (const auto& restack : wm.received(session).restacks)
            wm.configure(restack.window, XCB_CONFIG_WINDOW_STACK_MODE, {restack.mode});
        return windowAt(session, overBoth) == windowOf(upper);
    }));
}

TEST(X11WindowUnderPointer, WhereTheServerCannotTellTheManagersListDecides) {
    using platform::x11::serverStackingTopmostFirst;
    // The root's children bottom to top: frame 10, an unmanaged window, frame 30.
    const std::vector<xcb_window_t> rootChildren{10, 99, 30};
    // The list topmost first: a window of no known top-level, two tabs of frame 10, one of frame 30,
    // one whose top-level has gone.
    const std::vector<std::optional<xcb_window_t>> topLevels{std::nullopt, 10, 10, 30, 77};
    EXPECT_EQ(serverStackingTopmostFirst(topLevels, rootChildren), (std::vector<std::size_t>{3, 1, 2, 0, 4}));
    EXPECT_EQ(serverStackingTopmostFirst({10, 10, 10}, rootChildren), (std::vector<std::size_t>{0, 1, 2}));
}

TEST(X11WindowUnderPointer, AMinimisedWindowKeptMappedOrAListedWindowUnmappedIsNeverTheOneUnderThePointer) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb");
    X11Session session({.windowManager = {}});
    StandInWindowManager wm(session);
    const auto lower = wm.manage(Rect(0, 0, 600, 400));
    const auto upper = wm.manage(Rect(300, 200, 600, 400));
    wm.stackBottomToTop({lower, upper});
    letEventsArrive(session);
    const Point overBoth{350, 250};
    ASSERT_EQ(windowAt(session, overBoth), windowOf(upper));

    // Minimised the EWMH way, or the ICCCM way, and left mapped where it was.
    wm.set(upper, "_NET_WM_STATE", XCB_ATOM_ATOM, {wm.atom("_NET_WM_STATE_HIDDEN")});
    letEventsArrive(session);
    EXPECT_EQ(windowAt(session, overBoth), windowOf(lower)) << "_NET_WM_STATE_HIDDEN";
    EXPECT_EQ(windowAt(session, {850, 550}), std::nullopt) << "only the minimised window is there";

    wm.set(upper, "_NET_WM_STATE", XCB_ATOM_ATOM, {});
    letEventsArrive(session);
    ASSERT_EQ(windowAt(session, overBoth), windowOf(upper)) << "restored";
    constexpr std::uint32_t iconicState = 3;
    wm.set(upper, "WM_STATE", wm.atom("WM_STATE"), {iconicState, XCB_WINDOW_NONE});
    letEventsArrive(session);
    EXPECT_EQ(windowAt(session, overBoth), windowOf(lower)) << "WM_STATE Iconic";

    // Normal again, then unmapped by its client while the manager still lists it.
    constexpr std::uint32_t normalState = 1;
    wm.set(upper, "WM_STATE", wm.atom("WM_STATE"), {normalState, XCB_WINDOW_NONE});
    letEventsArrive(session);
    ASSERT_EQ(windowAt(session, overBoth), windowOf(upper)) << "restored";
    wm.unmap(upper);
    letEventsArrive(session);
    EXPECT_EQ(windowAt(session, overBoth), windowOf(lower)) << "unmapped";
}

TEST(X11WindowUnderPointer, APressIsOnThisProgramsOwnWindowByItsFrameAndOnNoneOnceTheWindowIsGone) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb");
    X11Session session({.windowManager = {}});
    StandInWindowManager wm(session);
    const auto theirs = wm.manage(Rect(0, 0, 600, 400));
    const auto ours = wm.manage(Rect(700, 0, 300, 300), {}, ::getpid());
    const auto theirFrame = wm.frame(theirs, Rect(0, 0, 600, 420), 0, 20);
    const auto ourFrame = wm.frame(ours, Rect(700, 0, 300, 320), 0, 20);
    letEventsArrive(session);
    auto& windows = session.accessibility();
    EXPECT_FALSE(windows.isPopupOrOwnWindow(theirFrame));
    EXPECT_TRUE(windows.isPopupOrOwnWindow(ourFrame));

    // Gone between the press and the question: a press on nothing, which a drag may still follow.
    wm.destroy(theirFrame);
    letEventsArrive(session);
    EXPECT_FALSE(windows.isPopupOrOwnWindow(theirFrame));
}
