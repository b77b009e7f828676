#include "platform/x11/FrameExtents.h"

#include "X11BackendFixture.h"
#include "platform/x11/X11Properties.h"
#include "platform/x11/X11Reply.h"

#include <gtest/gtest.h>

#include <limits>

using platform::Rect;
using platform::Size;
using platform::x11::FrameExtents;
using platform::x11::ProtocolRect;

TEST(FrameExtents, SidesBeyondAQuarterOfTheMonitorAreMadeUp) {
    const Size monitor{1920, 1080};
    EXPECT_EQ(platform::x11::plausibleFrameExtents({1, 1, 20, 5}, monitor), (FrameExtents{1, 1, 20, 5}));
    EXPECT_EQ(platform::x11::plausibleFrameExtents({480, 480, 270, 270}, monitor), (FrameExtents{480, 480, 270, 270}));
    EXPECT_EQ(platform::x11::plausibleFrameExtents({1, 1, 20}, monitor), std::nullopt);
    EXPECT_EQ(platform::x11::plausibleFrameExtents({481, 0, 0, 0}, monitor), std::nullopt);
    EXPECT_EQ(platform::x11::plausibleFrameExtents({0, 0, 0, 271}, monitor), std::nullopt);
    EXPECT_EQ(platform::x11::plausibleFrameExtents({5000, 5000, 5000, 5000}, monitor), std::nullopt);
    EXPECT_EQ(platform::x11::plausibleFrameExtents({0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, monitor), std::nullopt);
}

TEST(FrameExtents, TheFrameWindowAroundItsClientGivesTheSides) {
    const Size monitor{1920, 1080};
    const Rect frame(100, 50, 402, 325);
    EXPECT_EQ(platform::x11::extentsAround(Rect(101, 70, 400, 300), frame, monitor), (FrameExtents{1, 1, 20, 5}));
    EXPECT_EQ(platform::x11::extentsAround(frame, frame, monitor), (FrameExtents{}));
    // A client reaching beyond its frame is no frame of it; nor a side beyond a quarter of the monitor.
    EXPECT_EQ(platform::x11::extentsAround(Rect(99, 70, 400, 300), frame, monitor), std::nullopt);
    EXPECT_EQ(platform::x11::extentsAround(Rect(101, 70, 400, 306), frame, monitor), std::nullopt);
    EXPECT_EQ(platform::x11::extentsAround(Rect(101, 70, 400, 300), Rect(100, -300, 402, 675), monitor), std::nullopt);
}

TEST(FrameExtents, RequestsPlaceTheShadowedFrameAndSizeTheClientWithinTheProtocol) {
    const FrameExtents decoration{1, 1, 20, 5}, none{}, shadow{10, 10, 8, 12};
    // The frame's corner at the target, the client less its decorations and border.
    EXPECT_EQ(platform::x11::clientRequestFor(Rect(960, 0, 960, 1080), decoration, none, 1), (ProtocolRect{960, 0, 956, 1053}));
    // A shadowed window: the frame starts before the visible edge and the client includes the shadow.
    EXPECT_EQ(platform::x11::clientRequestFor(Rect(0, 0, 400, 300), none, shadow, 0), (ProtocolRect{-10, -8, 420, 320}));
    // Smaller than its decorations: one pixel.
    EXPECT_EQ(platform::x11::clientRequestFor(Rect(0, 0, 1, 1), decoration, none, 0), (ProtocolRect{0, 0, 1, 1}));
    EXPECT_EQ(platform::x11::clientRequestFor(Rect(-32768, 32767, 65535, 1), none, none, 0), (ProtocolRect{-32768, 32767, 65535, 1}));

    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (const Rect& beyond : {Rect(-32769, 0, 400, 300), Rect(0, 32768, 400, 300), Rect(0, 0, 65536, 300),
                               Rect(0, 0, 400, 1e300), Rect(nan, 0, 400, 300), Rect(0, 0, inf, 300)}) {
        EXPECT_EQ(platform::x11::clientRequestFor(beyond, none, none, 0), std::nullopt)
            << beyond.minX() << " " << beyond.minY() << " " << beyond.width() << " " << beyond.height();
    }
}

namespace {

// The window manager's frame of a client, read from the window tree: nothing a client can forge.
std::optional<Rect> frameWindowGeometry(platform::x11::X11Connection& connection, xcb_window_t client) {
    using platform::x11::waitForReply;
    auto* c = connection.xcb();
    for (xcb_window_t window = client;;) {
        auto tree = waitForReply(c, xcb_query_tree_reply, xcb_query_tree(c, window));
        if (!tree) return std::nullopt;
        if (tree->parent == connection.root()) {
            auto geometry = waitForReply(c, xcb_get_geometry_reply, xcb_get_geometry(c, window));
            if (!geometry) return std::nullopt;
            return Rect(geometry->x, geometry->y, geometry->width + 2 * geometry->border_width,
                        geometry->height + 2 * geometry->border_width);
        }
        window = tree->parent;
    }
}

} // namespace

TEST(FrameExtents, MadeUpDecorationsGiveWayToTheFrameTheWindowManagerDrew) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox");
    zentaris::testing::X11Session session;
    auto& connection = session.desktop().connection();
    const pid_t pid = session.launchClient({"--cardinals", "_NET_FRAME_EXTENTS", "5000,5000,5000,5000"});
    const auto window = session.waitForWindow(pid);
    ASSERT_TRUE(window);
    const auto client = static_cast<xcb_window_t>(window->id);
    ASSERT_TRUE(session.waitUntil([&] {
        platform::x11::PendingProperty declared(connection, client, connection.ewmh()->_NET_FRAME_EXTENTS, XCB_ATOM_CARDINAL, 4);
        const auto values = declared.values32();
        return values && !values->empty() && values->front() == 5000;
    })) << "the client overwrote the window manager's extents";

    for (const Rect& target : {Rect(0, 0, 1920, 1080), Rect(960, 540, 960, 540)}) {
        session.setFrame(*window, target);
        EXPECT_EQ(session.waitForFrame(*window, target), target);
        EXPECT_EQ(frameWindowGeometry(connection, client), target) << "the frame on screen";
    }
    session.terminate(pid);
}
